// The selection tool of the main window: Cut, Copy, Paste and Merge, the floating block's
// turns and mirrors, and the frame with the floating block drawn over the chart.
#include "MainWindow.h"

#include "ChartWidget.h"
#include "editing/ToolController.h"
#include "view/ChartView.h"
#include "view/SelectionLayer.h"

#include <QAction>
#include <QTimer>

namespace {

// The clipboard as the floating block shows it; the rasters are shared, not copied.
FloatingPicture pictureOf(const TClipboard& clip)
{
    FloatingPicture p;
    p.cells = clip.ClipCross;
    p.quarters = clip.ClipQuarter;
    p.empty = clip.background;
    p.backStitches = clip.ClipBackStitches;
    for (const auto& r : clip.ClipRhodes)
        for (TBackStitch s : r->stitches) {
            s.Color = r->color;
            p.rhodeStitches.append(s);
        }
    p.knots = clip.ClipFrenchKnots;
    return p;
}

Qt::CursorShape cursorFor(TDragState part)
{
    switch (part) {
    case dsMove: return Qt::SizeAllCursor;
    case dsLeft: case dsRight: return Qt::SizeHorCursor;
    case dsTop: case dsBottom: return Qt::SizeVerCursor;
    case dsTopLeft: case dsBottomRight: return Qt::SizeFDiagCursor;
    case dsTopRight: case dsBottomLeft: return Qt::SizeBDiagCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace

void MainWindow::updateSelectionCommands()
{
    // The full update repaints the chart: it runs only when a clipboard command changes state,
    // not for every step of a drag.
    const bool selecting = m_tools->mode() == modSelection;
    const TFloatingBlock& block = m_tools->floatingBlock();
    if (m_commandStates.cut != selecting || m_commandStates.paste != block.hasClipboard()
        || m_commandStates.merge != (selecting && block.floating()))
        UpdateGUI();
}

void MainWindow::createSelectionActions()
{
    m_selectionLayer = std::make_unique<SelectionLayer>();
    m_view->setSelectionOverlay(m_selectionLayer.get());

    // The floating block's turns and mirrors, in the tool bar beside the clipboard commands.
    const struct { const char* name; const char* hint; void (MainWindow::*click)(); } transforms[] = {
        {"ButtonRotateRight", "Rotate right", &MainWindow::ButtonRotateRightClick},
        {"ButtonRotateLeft", "Rotate left", &MainWindow::ButtonRotateLeftClick},
        {"ButtonMirrorHorz", "Mirror horizontal", &MainWindow::ButtonMirrorHorzClick},
        {"ButtonMirrorVert", "Mirror vertical", &MainWindow::ButtonMirrorVertClick},
    };
    for (const auto& t : transforms) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(t.name));
        a->setProperty("hintKey", QString::fromLatin1(t.hint));
        a->setEnabled(false);
        connect(a, &QAction::triggered, this, t.click);
    }

    connect(action(QStringLiteral("MenuCopy")), &QAction::triggered, this, &MainWindow::MenuCopyClick);
    connect(action(QStringLiteral("MenuCut")), &QAction::triggered, this, &MainWindow::MenuCutClick);
    connect(action(QStringLiteral("MenuPaste")), &QAction::triggered, this, &MainWindow::MenuPasteClick);
    QAction* merge = action(QStringLiteral("MenuMerge"));
    // Return merges too; the shortcut acts only while Merge is enabled.
    merge->setShortcuts({QKeySequence(QStringLiteral("Ctrl+M")), QKeySequence(Qt::Key_Return),
                         QKeySequence(Qt::Key_Enter)});
    connect(merge, &QAction::triggered, this, &MainWindow::MenuMergeClick);

    connect(m_tools, &ToolController::selectionChanged, this, &MainWindow::selectionFrameChanged);
    connect(m_tools, &ToolController::floatingBlockChanged, this, &MainWindow::floatingBlockChanged);
    connect(m_tools, &ToolController::frameHoverChanged, this, [this](TDragState part) {
        if (part == dsNone)
            m_chart->setToolCursor(m_tools->mode());
        else
            m_chart->viewport()->setCursor(cursorFor(part));
    });

    // The frame's dashes march while the selection tool is active.
    m_selectionTimer = new QTimer(this);
    m_selectionTimer->setObjectName(QStringLiteral("TimerSelection"));
    m_selectionTimer->setInterval(20);
    connect(m_selectionTimer, &QTimer::timeout, this, [this] {
        for (const QRect& r : m_selectionLayer->advanceDashes(m_view->geometry()))
            m_view->repaintRect(r);
    });
}

void MainWindow::selectionFrameChanged()
{
    const ChartGeometry g = m_view->geometry();
    const TSelection& s = m_tools->selection();
    QRect dirty = m_selectionLayer->setFrame(s.active() ? s.SelectionRect() : QRect(), g);
    const TFloatingBlock& block = m_tools->floatingBlock();
    if (m_selectionLayer->hasBlock() && m_selectionLayer->blockTopLeft() != block.topLeft())
        dirty |= m_selectionLayer->moveBlock(block.topLeft(), g);
    if (!dirty.isEmpty())
        m_view->repaintRect(dirty);
    if (s.active())
        m_selectionTimer->start();
    else
        m_selectionTimer->stop();
    updateSelectionCommands();
}

void MainWindow::floatingBlockChanged()
{
    const ChartGeometry g = m_view->geometry();
    const TFloatingBlock& block = m_tools->floatingBlock();
    const QRect dirty = block.floating()
        ? m_selectionLayer->setBlock(pictureOf(block.clipboard()), block.topLeft(), g)
        : m_selectionLayer->clearBlock(g);
    if (!dirty.isEmpty())
        m_view->repaintRect(dirty);
    updateSelectionCommands();
}

void MainWindow::MenuCopyClick()
{
    m_tools->selectionCopy();
}

void MainWindow::MenuCutClick()
{
    m_tools->selectionCut();
}

void MainWindow::MenuPasteClick()
{
    m_tools->selectionPaste();
    syncToolButtons();
}

void MainWindow::MenuMergeClick()
{
    if (!m_commandStates.merge)
        return;
    m_tools->selectionMerge();
}

void MainWindow::ButtonRotateRightClick()
{
    m_tools->rotateRight();
}

void MainWindow::ButtonRotateLeftClick()
{
    m_tools->rotateLeft();
}

void MainWindow::ButtonMirrorHorzClick()
{
    m_tools->mirrorHorizontal();
}

void MainWindow::ButtonMirrorVertClick()
{
    m_tools->mirrorVertical();
}

void MainWindow::startFloatingBlock(TClipboard clip)
{
    m_tools->startFloatingBlock(std::move(clip));
    syncToolButtons();
}
