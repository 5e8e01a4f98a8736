#include "THelpWindow.h"

#include "core/TStitch.h"
#include "i18n/HelpTopics.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// A text browser whose page links fall back to the English page when the current language
// has no page of that name.
class HelpBrowser : public QTextBrowser
{
public:
    HelpBrowser(TStitch& stitch, QWidget* parent) : QTextBrowser(parent), m_stitch(stitch) {}

    QVariant loadResource(int type, const QUrl& name) override
    {
        if (type == QTextDocument::HtmlResource && name.isLocalFile()
            && !QFileInfo(name.toLocalFile()).isFile()) {
            const QString fallback = helpPagePath(m_stitch, QFileInfo(name.toLocalFile()).fileName());
            if (!fallback.isEmpty())
                return QTextBrowser::loadResource(type, QUrl::fromLocalFile(fallback));
        }
        return QTextBrowser::loadResource(type, name);
    }

private:
    TStitch& m_stitch;
};

} // namespace

THelpWindow::THelpWindow(TStitch& stitch, QWidget* parent) : QDialog(parent), m_stitch(stitch)
{
    setObjectName(QStringLiteral("FHelp"));
    m_text = new HelpBrowser(stitch, this);
    m_text->setObjectName(QStringLiteral("HelpText"));
    m_text->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(this);
    m_contents = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    m_back = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    m_back->setObjectName(QStringLiteral("HelpBack"));
    m_back->setEnabled(false);
    m_close = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    m_close->setObjectName(QStringLiteral("HelpClose"));
    connect(m_contents, &QPushButton::clicked, this, [this] { showContext(kHelpContents); });
    connect(m_back, &QPushButton::clicked, m_text, &QTextBrowser::backward);
    connect(m_text, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* l = new QVBoxLayout(this);
    l->addWidget(m_text, 1);
    l->addWidget(buttons);
    resize(560, 480);
    translateUi();
}

void THelpWindow::translateUi()
{
    setWindowTitle(m_stitch.translate(QStringLiteral("Help")));
    m_contents->setText(m_stitch.translate(QStringLiteral("Contents")));
    m_back->setText(m_stitch.translate(QStringLiteral("Back")));
    m_close->setText(m_stitch.translate(QStringLiteral("Close")));
    if (!m_path.isEmpty() || m_context != 0)
        showContext(m_context);
}

void THelpWindow::showContext(int context)
{
    m_context = context;
    m_path = helpContextPath(m_stitch, context);
    if (m_path.isEmpty()) {
        m_text->clearHistory();
        m_text->setHtml(QStringLiteral("<p>%1</p>").arg(
            m_stitch.translate(QStringLiteral("There is no help for this topic yet.")).toHtmlEscaped()));
        return;
    }
    m_text->setSource(QUrl::fromLocalFile(m_path));
}

QString THelpWindow::title() const
{
    return m_text->documentTitle();
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
