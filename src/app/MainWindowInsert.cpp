// The insert tool of the main window: its tool button opens the insert dialog, and a press on
// the chart then inserts the chosen rows or columns. Also shows the refusals of size changes.
#include "MainWindow.h"

#include "ChartWidget.h"
#include "core/PatternDocument.h"
#include "editing/TActions.h"
#include "editing/ToolController.h"
#include "editing/ui/TFInsert.h"

#include <QAction>
#include <QActionGroup>
#include <QPainter>
#include <QToolBar>

namespace {

// A few cells of a chart with an empty column pushed in between, marked by arrows.
QIcon insertIcon()
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const QColor cell(0x20, 0x60, 0xC0), grid(0x80, 0x80, 0x80);
    for (int y = 0; y < 3; ++y) {
        for (int x : {0, 1, 3, 4}) {
            const QRect r(2 + x * 4, 8 + y * 4, 4, 4);
            p.fillRect(r, cell);
            p.setPen(grid);
            p.drawRect(r);
        }
    }
    p.setPen(QPen(QColor(0xC0, 0x20, 0x20), 1.5));
    p.drawLine(12, 2, 12, 22);
    p.drawLine(6, 4, 10, 4);
    p.drawLine(9, 2, 10, 4);
    p.drawLine(9, 6, 10, 4);
    p.drawLine(14, 4, 18, 4);
    p.drawLine(15, 2, 14, 4);
    p.drawLine(15, 6, 14, 4);
    return QIcon(pm);
}

} // namespace

void MainWindow::createInsertTool()
{
    auto* a = new QAction(this);
    a->setObjectName(QStringLiteral("ButtonInsert"));
    // Shown pressed while the next press inserts; the tool group's hint and enabled state.
    a->setProperty("hintKey", QStringLiteral("Insert row(s)/column(s)"));
    a->setProperty("toolMode", int(modInsert));
    a->setCheckable(true);
    a->setIcon(insertIcon());
    m_toolGroup->addAction(a);
    connect(a, &QAction::triggered, this, &MainWindow::ButtonInsertClick);
    m_toolBar->addAction(a);
    if (QWidget* w = m_toolBar->widgetForAction(a))
        w->setObjectName(a->objectName());

    // Messages come after the mouse event that caused them, so that its release is not lost
    // to the message box.
    connect(m_tools, &ToolController::refused, this,
            [this](const QString& text) { showMessage(QMessageBox::Warning, text); },
            Qt::QueuedConnection);
    connect(m_history, &TActions::replayFailed, this,
            [this](const QString& text) { showMessage(QMessageBox::Warning, text); },
            Qt::QueuedConnection);
    // Insertions, size changes and their undo change the scroll ranges.
    connect(&document(), &PatternDocument::designReset, m_chart, &ChartWidget::designChanged);
}

TFInsert* MainWindow::insertDialog()
{
    if (!m_insertDialog)
        m_insertDialog = new TFInsert(stitch(), this);
    return m_insertDialog;
}

void MainWindow::ButtonInsertClick()
{
    TFInsert* dialog = insertDialog();
    dialog->translateUi();
    if (dialog->exec() == QDialog::Accepted)
        m_tools->beginInsert(dialog->insertType(), dialog->amount());
    syncToolButtons();
}
