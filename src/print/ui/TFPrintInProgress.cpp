#include "TFPrintInProgress.h"

#include "core/TStitch.h"
#include "i18n/ui/Retranslate.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TFPrintInProgress::TFPrintInProgress(TStitch& stitch, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowStaysOnTopHint),
      m_stitch(stitch)
{
    setObjectName(QStringLiteral("FPrintInProgress"));
    // Captions by key, so that a change of language reaches this window too.
    setTextKey(this, QStringLiteral("Print In Progress"), m_stitch);
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("LabelPage"));
    m_pageBar = new QProgressBar(this);
    m_pageBar->setObjectName(QStringLiteral("ProgressPage"));
    m_backLabel = new QLabel(this);
    setTextKey(m_backLabel, QStringLiteral("Backstitches"), m_stitch);
    m_backLabel->setObjectName(QStringLiteral("LabelBack"));
    m_backBar = new QProgressBar(this);
    m_backBar->setObjectName(QStringLiteral("ProgressBack"));
    for (QProgressBar* bar : {m_pageBar, m_backBar}) {
        bar->setTextVisible(false);
        bar->setMinimumWidth(320);
    }
    m_cancel = new QPushButton(this);
    setTextKey(m_cancel, QStringLiteral("Cancel"), m_stitch);
    m_cancel->setObjectName(QStringLiteral("ButtonCancel"));
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        m_cancel->setEnabled(false);
        emit cancelled();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pageLabel);
    layout->addWidget(m_pageBar);
    layout->addWidget(m_backLabel);
    layout->addWidget(m_backBar);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    setModal(false);
}

void TFPrintInProgress::start(int pages)
{
    m_cancelled = false;
    m_cancel->setEnabled(true);
    m_pageBar->setRange(0, qMax(pages, 1));
    m_backBar->setRange(0, 1);
    m_backBar->setValue(0);
    setPage(0);
}

void TFPrintInProgress::setPage(int done)
{
    m_pageBar->setValue(qMin(done, m_pageBar->maximum()));
    const int shown = qMin(done + 1, m_pageBar->maximum());
    m_pageLabel->setText(m_stitch.translate(QStringLiteral("Page")) + QLatin1Char(' ')
                         + QString::number(shown) + QLatin1Char('/')
                         + QString::number(m_pageBar->maximum()));
}

void TFPrintInProgress::setBackStitches(int done, int total)
{
    m_backBar->setRange(0, qMax(total, 1));
    m_backBar->setValue(qMin(done, m_backBar->maximum()));
}

void TFPrintInProgress::reject()
{
    if (isVisible())
        m_cancel->click();
}
