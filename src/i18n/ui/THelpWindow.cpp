#include "THelpWindow.h"

#include "core/TStitch.h"
#include "i18n/HelpTopics.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

THelpWindow::THelpWindow(TStitch& stitch, QWidget* parent) : QDialog(parent), m_stitch(stitch)
{
    setObjectName(QStringLiteral("FHelp"));
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("HelpTitle"));
    QFont f = m_title->font();
    f.setBold(true);
    m_title->setFont(f);
    m_text = new QTextBrowser(this);
    m_text->setObjectName(QStringLiteral("HelpText"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(stitch.translate(QStringLiteral("Close")),
                                            QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("HelpClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* l = new QVBoxLayout(this);
    l->addWidget(m_title);
    l->addWidget(m_text, 1);
    l->addWidget(buttons);
    resize(420, 300);
}

void THelpWindow::showContext(int context)
{
    m_context = context;
    setWindowTitle(m_stitch.translate(QStringLiteral("Help")));
    const HelpTopic* topic = findHelpTopic(context);
    if (topic) {
        m_title->setText(m_stitch.translate(QString::fromLatin1(topic->title)));
        m_text->setPlainText(m_stitch.translate(QString::fromLatin1(topic->text)));
    } else {
        m_title->setText(m_stitch.translate(QStringLiteral("Help")));
        m_text->setPlainText(m_stitch.translate(QStringLiteral("There is no help for this topic yet.")));
    }
}

QString THelpWindow::title() const
{
    return m_title->text();
}

QString THelpWindow::text() const
{
    return m_text->toPlainText();
}

THelpWindow* showHelpContext(QWidget* parent, TStitch& stitch, int context)
{
    auto* w = parent ? parent->findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!w) {
        w = new THelpWindow(stitch, parent);
        w->setWindowModality(Qt::NonModal);
    }
    w->showContext(context);
    w->show();
    w->raise();
    return w;
}
