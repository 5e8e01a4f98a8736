// The editor side of the main window: chart, colour panel, undo history, tool buttons, pen
// size, zoom controls and the dialogs of the colour panel.
#include "MainWindow.h"

#include "ChartWidget.h"
#include "ShapeToolBar.h"
#include "ToolIcons.h"
#include "ToolKeys.h"
#include "core/ui/ColorPanel.h"
#include "editing/TActions.h"
#include "editing/ToolController.h"
#include "palettes/ui/TFChangeCharacter.h"
#include "palettes/ui/TFCMYK.h"
#include "palettes/ui/TFCharacters.h"
#include "palettes/ui/TFPalette.h"
#include "palettes/ui/TFPaletteEditor.h"
#include "view/ChartView.h"
#include "view/GhostState.h"
#include "view/ZoomList.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

// A tool of the chart: its mode, action name, hint (translation key) and icon. The keys are
// bound by ToolKeys.
struct ToolDef
{
    TMode mode;
    const char* name;
    const char* hint;
    ToolIcons::Kind icon;
};

// In tool-bar order. The quarter tool is hidden in this product but stays usable.
const ToolDef kTools[] = {
    {modSelection, "ButtonSelection", "Show selection", ToolIcons::Selection},
    {modCursor, "ButtonCursor", "Mode cursor", ToolIcons::Hand},
    {modDraw, "ButtonDraw", "Draw Cross Stitches", ToolIcons::Draw},
    {modQDraw, "ButtonDrawQuarter", "Draw Quarter Stitches", ToolIcons::DrawQuarter},
    {modErase, "ButtonErase", "Erase", ToolIcons::Erase},
    {modPipette, "ButtonPipette", "Pipette", ToolIcons::Pipette},
    {modFill, "ButtonFill", "Fill", ToolIcons::Fill},
    {modReplaceColor, "ButtonSwitchColors", "Replace color", ToolIcons::ReplaceColor},
    {modHighlight, "ButtonHighlight", "Highlight color", ToolIcons::Highlight},
};

const char* kHintKey = "hintKey";
const char* kModeKey = "toolMode";

// The hint of a tool action with its key (or its own shortcut) in brackets.
void showHint(QAction* a, TStitch& st)
{
    QString text = st.translate(a->property(kHintKey).toString())
        + a->property("hintSuffix").toString();
    QString key = ToolKeys::keyText(a);
    if (key.isEmpty())
        key = a->shortcut().toString(QKeySequence::NativeText);
    if (!key.isEmpty())
        text += QStringLiteral(" (") + key + QLatin1Char(')');
    a->setToolTip(text);
    a->setText(text);
}

} // namespace

void MainWindow::createEditor()
{
    m_history = new TActions(document(), this);
    m_view = new ChartView(document(), this);
    m_view->setZoom(m_zoom);
    m_tools = new ToolController(document(), *m_history, this);
    createGhost();
    m_chart = new ChartWidget(*m_view, *m_tools);
    m_colorPanel = new ColorPanel(document());
    m_colorPanel->setObjectName(QStringLiteral("PanelColors"));
    m_colorPanel->paletteButton()->setObjectName(QStringLiteral("ButtonPalette"));
    m_colorPanel->paletteButton()->setCheckable(true);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->addWidget(m_colorPanel);
    m_splitter->addWidget(m_chart);
    m_splitter->setCollapsible(0, false);
    m_splitter->setCollapsible(1, false);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({200, 800});
    setCentralWidget(m_splitter);

    connect(m_tools, &ToolController::statusText, this,
            [this](const QString& text) { m_panels[0]->setText(text); });
    connect(m_tools, &ToolController::scrollBy, m_chart, &ChartWidget::scrollByCells);
    connect(m_tools, &ToolController::highlightChanged, m_view, &ChartView::setHighlightActive);
    connect(m_tools, &ToolController::modeChanged, this, [this] { syncToolButtons(); });
    connect(m_chart, &ChartWidget::zoomChanged, this, [this](int value) { setZoom(value); });
    connect(m_colorPanel, &ColorPanel::usedColorsTextChanged, this,
            [this](const QString& text) {
                if (m_panels.size() > 3)
                    m_panels[3]->setText(text);
            });
    connect(m_colorPanel, &ColorPanel::paletteRequested, this, &MainWindow::togglePalette);
    connect(m_colorPanel, &ColorPanel::changeCharacterRequested, this,
            [this] { changeCharacter(); });

    // The palette button comes up again shortly after the pop-up lost the focus.
    m_paletteButtonTimer = new QTimer(this);
    m_paletteButtonTimer->setObjectName(QStringLiteral("TimerPaletteButton"));
    m_paletteButtonTimer->setSingleShot(true);
    m_paletteButtonTimer->setInterval(100);
    connect(m_paletteButtonTimer, &QTimer::timeout, this,
            [this] { m_colorPanel->paletteButton()->setChecked(false); });
}

void MainWindow::createToolActions()
{
    TStitch& st = stitch();

    // Undo and Redo follow the history.
    QAction* undo = action(QStringLiteral("Undo1"));
    QAction* redo = action(QStringLiteral("Redo1"));
    redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    connect(undo, &QAction::triggered, m_history, &TActions::Undo);
    connect(redo, &QAction::triggered, m_history, &TActions::Redo);
    connect(m_history, &TActions::buttonsChanged, this, [undo, redo](bool canUndo, bool canRedo) {
        undo->setEnabled(canUndo);
        redo->setEnabled(canRedo);
    });

    // The tools: one group, exactly the current mode's button pressed. The group lets a
    // pressed button be clicked up, which only the highlight toggle uses; the others are
    // pressed again by syncToolButtons.
    m_toolGroup = new QActionGroup(this);
    m_toolGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const ToolDef& t : kTools) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(t.name));
        a->setProperty(kHintKey, QString::fromLatin1(t.hint));
        a->setProperty(kModeKey, int(t.mode));
        a->setCheckable(true);
        a->setIcon(ToolIcons::icon(t.icon, style()));
        m_toolGroup->addAction(a);
        const TMode mode = t.mode;
        if (mode == modHighlight)
            connect(a, &QAction::triggered, this, [this](bool down) {
                m_tools->setHighlight(down);
                syncToolButtons();
            });
        else
            connect(a, &QAction::triggered, this, [this, mode] { Setmode(mode); });
    }

    // Back stitches shown or not (hidden in this product; designs from files still have them).
    auto* back = new QAction(this);
    back->setObjectName(QStringLiteral("ButtonBackStitch"));
    back->setProperty(kHintKey, QStringLiteral("Show Back Stitches"));
    back->setCheckable(true);
    back->setChecked(true);
    back->setIcon(ToolIcons::icon(ToolIcons::BackStitch, style()));
    connect(back, &QAction::toggled, this, [this](bool on) {
        m_view->setBackStitchesVisible(on);
        m_tools->setBackStitchesVisible(on);
    });

    // Zoom in and out move the zoom list one entry.
    const struct { const char* name; const char* hint; ToolIcons::Kind icon; QKeySequence::StandardKey key; bool in; } zooms[] = {
        {"ButtonZoomIn", "Zoom in", ToolIcons::ZoomIn, QKeySequence::ZoomIn, true},
        {"ButtonZoomOut", "Zoom out", ToolIcons::ZoomOut, QKeySequence::ZoomOut, false},
    };
    for (const auto& z : zooms) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(z.name));
        a->setProperty(kHintKey, QString::fromLatin1(z.hint));
        a->setIcon(ToolIcons::icon(z.icon, style()));
        a->setShortcut(QKeySequence(z.key));
        const bool in = z.in;
        connect(a, &QAction::triggered, this, [this, in] {
            setZoom(in ? ZoomList::zoomIn(m_view->zoom()) : ZoomList::zoomOut(m_view->zoom()));
        });
    }

    // Pen sizes.
    m_penMenu = new QMenu(this);
    m_penMenu->setObjectName(QStringLiteral("PopupPenSize"));
    const char* penNames[] = {"N11", "N22", "N32", "N42"};
    for (int size = 1; size <= 4; ++size) {
        QAction* a = m_penMenu->addAction(ToolIcons::penIcon(size), QString());
        a->setObjectName(QString::fromLatin1(penNames[size - 1]));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, size] { stitch().setPensize(size); });
    }
    auto penChanged = [this](int size) {
        if (size >= 1 && size <= 4)
            m_penButton->setIcon(ToolIcons::penIcon(size));
        for (QAction* a : m_penMenu->actions())
            a->setChecked(m_penMenu->actions().indexOf(a) + 1 == size);
    };
    connect(&st, &TStitch::pensizeChanged, this, penChanged);

    m_shapes = new ShapeToolBar(this, st, *m_tools, *m_view, m_toolGroup, back);

    // "Change character ..." and the characters editor.
    QAction* change = action(QStringLiteral("MenuChangeCharacter"));
    connect(change, &QAction::triggered, this, [this] { changeCharacter(); });
    connect(&st, &TStitch::drawcolorChanged, this, &MainWindow::updateChangeCharacter);
    connect(&document(), &PatternDocument::colorUsageChanged, this,
            &MainWindow::updateChangeCharacter);
    connect(&document(), &PatternDocument::designReset, this, &MainWindow::updateChangeCharacter);
    QAction* editor = action(QStringLiteral("MenuCharactersEditor"));
    editor->setEnabled(true);
    connect(editor, &QAction::triggered, this, [this] {
        showCharactersEditor(this, stitch());
        // The editor may have rewritten the set in use: draw the symbols anew.
        m_view->symbolsChanged();
    });

    // "CMYK colors ...": the CMYK table for the colours of the current design.
    connect(action(QStringLiteral("MenuCMYK")), &QAction::triggered, this,
            [this] { showCmykDialog(this, stitch()); });

    // The palette editor: a saved palette joins the catalogue when it is next loaded.
    connect(action(QStringLiteral("MenuNewPalette")), &QAction::triggered, this,
            [this] { showNewPalette(this, stitch()); });
    connect(action(QStringLiteral("MenuEditPalette")), &QAction::triggered, this,
            [this] { showEditPalette(this, stitch()); });
}

void MainWindow::createToolButtons()
{
    m_toolBar->addSeparator();
    for (const ToolDef& t : kTools) {
        QAction* a = action(QString::fromLatin1(t.name));
        m_toolBar->addAction(a);
        if (QWidget* w = m_toolBar->widgetForAction(a))
            w->setObjectName(QString::fromLatin1(t.name));
    }
    m_toolBar->addAction(action(QStringLiteral("ButtonBackStitch")));
    createInsertTool();
    createTextTool();
    createStitchButtons();

    m_penButton = new QToolButton(m_toolBar);
    m_penButton->setObjectName(QStringLiteral("DropDownPenSize"));
    m_penButton->setPopupMode(QToolButton::InstantPopup);
    m_penButton->setIcon(ToolIcons::penIcon(stitch().pensize()));
    m_toolBar->addWidget(m_penButton);
    m_shapes->addButtons(m_toolBar);

    m_toolBar->addSeparator();
    m_toolBar->addAction(action(QStringLiteral("ButtonZoomOut")));
    m_zoomList = new QComboBox(m_toolBar);
    m_zoomList->setObjectName(QStringLiteral("ComboZoom"));
    for (int v : ZoomList::kValues)
        m_zoomList->addItem(QString::number(v), v);
    connect(m_zoomList, &QComboBox::activated, this,
            [this](int i) { setZoom(m_zoomList->itemData(i).toInt()); });
    m_toolBar->addWidget(m_zoomList);
    m_toolBar->addAction(action(QStringLiteral("ButtonZoomIn")));

    m_zoomButton = new QToolButton(m_toolBar);
    m_zoomButton->setObjectName(QStringLiteral("ButtonZoom"));
    m_zoomButton->setPopupMode(QToolButton::InstantPopup);
    m_zoomButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_zoomMenu = new QMenu(m_zoomButton);
    m_zoomMenu->setObjectName(QStringLiteral("PopupMenu1"));
    auto* zoomGroup = new QActionGroup(m_zoomMenu);
    const QStringList captions = ZoomList::menuCaptions();
    for (int i = 0; i < captions.size(); ++i) {
        QAction* a = m_zoomMenu->addAction(captions[i]);
        a->setCheckable(true);
        zoomGroup->addAction(a);
        const int value = ZoomList::kValues[size_t(i)];
        connect(a, &QAction::triggered, this, [this, value] { setZoom(value); });
    }
    m_zoomButton->setMenu(m_zoomMenu);
    m_toolBar->addWidget(m_zoomButton);

    for (const char* name : {"Undo1", "Redo1"})
        if (QWidget* w = m_toolBar->widgetForAction(action(QString::fromLatin1(name))))
            w->setObjectName(QString::fromLatin1(name[0] == 'U' ? "BUndo" : "BRedo"));
}

void MainWindow::translateTools()
{
    TStitch& st = stitch();
    for (QAction* a : findChildren<QAction*>())
        if (a->property(kHintKey).isValid())
            showHint(a, st);
    const QStringList sizes = {QStringLiteral("1 px"), QStringLiteral("2 px"),
                               QStringLiteral("3 px"), QStringLiteral("4 px")};
    for (int i = 0; i < sizes.size(); ++i)
        m_penMenu->actions().at(i)->setText(st.translate(sizes[i]));
    m_penButton->setToolTip(st.translate(QStringLiteral("Pen size")));
    m_zoomList->setToolTip(st.translate(QStringLiteral("Zoom")));
    m_zoomButton->setToolTip(st.translate(QStringLiteral("Zoom")));
    m_shapes->translate();
}

QAction* MainWindow::toolAction(TMode mode) const
{
    for (QAction* a : m_toolGroup->actions())
        if (a->property(kModeKey).toInt() == int(mode))
            return a;
    return nullptr;
}

void MainWindow::Setmode(TMode mode)
{
    // The quarter tool is hidden in this product but reachable; a knitting chart has none.
    if (mode == modQDraw && !m_commandStates.quarterTool)
        return;
    m_tools->Setmode(mode);
    syncToolButtons();
}

void MainWindow::syncToolButtons()
{
    const TMode mode = m_tools->mode();
    for (QAction* a : m_toolGroup->actions())
        a->setChecked(a->property(kModeKey).toInt() == int(mode));
    m_chart->setToolCursor(mode);
    // The pen button: with its menu for the freehand and shape tools, otherwise disabled.
    m_penButton->setEnabled(ToolController::penEnabled(mode));
    m_penButton->setMenu(ToolController::penMenu(mode) ? m_penMenu : nullptr);
    m_penButton->setIcon(ToolController::penMenu(mode) ? ToolIcons::penIcon(stitch().pensize())
                                                       : ToolIcons::penIcon(1));
    for (QAction* a : m_penMenu->actions())
        a->setChecked(m_penMenu->actions().indexOf(a) + 1 == stitch().pensize());
}

void MainWindow::setZoom(int value)
{
    if (value != m_view->zoom()) {
        m_view->setZoom(value);
        m_chart->designChanged();
    }
    m_zoom = m_view->zoom();
    const int index = m_view->zoomIndex();
    if (index >= 0)
        m_zoomList->setCurrentIndex(index);
    m_zoomButton->setText(m_view->zoomCaption());
    const QList<QAction*> entries = m_zoomMenu->actions();
    for (int i = 0; i < entries.size(); ++i)
        entries[i]->setChecked(i == index);
}

void MainWindow::setVisibility(bool grid, bool symbols)
{
    m_view->setVisibility(grid, symbols);
    const QIcon icon = ToolIcons::viewIcon(grid, symbols);
    QAction* menu = action(QStringLiteral("MenuView"));
    menu->setIcon(icon);
    const auto& entry = ViewModes::kEntries[size_t(ViewModes::entryFor(grid, symbols))];
    action(QString::fromLatin1(entry.menuName))->setChecked(true);
}

void MainWindow::applyCommandStates(const CommandStates& s)
{
    m_commandStates = s;
    m_saveAllowed = s.save;
    updateSaveCommand();
    for (QAction* a : m_toolGroup->actions())
        a->setEnabled(a->property(kModeKey).toInt() == int(modQDraw) ? s.quarterTool : s.tools);
    m_penButton->setEnabled(s.tools && ToolController::penEnabled(m_tools->mode()));
    for (const char* name : {"ButtonZoomIn", "ButtonZoomOut"})
        action(QString::fromLatin1(name))->setEnabled(s.zoom);
    m_zoomList->setEnabled(s.zoom);
    m_zoomButton->setEnabled(s.zoom);
    action(QStringLiteral("MenuView"))->setEnabled(s.view);
    m_colorPanel->allColorsButton()->setEnabled(s.colorRadios);
    m_colorPanel->usedColorsButton()->setEnabled(s.colorRadios);
    m_colorPanel->grid()->setEnabled(s.colorGrid);
    m_chart->viewport()->setEnabled(s.chartImage);
    m_chart->horizontalScrollBar()->setEnabled(s.scrollBars);
    m_chart->verticalScrollBar()->setEnabled(s.scrollBars);
    // Commands whose feature is not built yet stay disabled whatever the state says.
    const struct { const char* name; bool on; } commands[] = {
        {"MenuPatternSettings", s.patternSettings}, {"MenuPrint", s.print},
        {"MenuCut", s.cut}, {"MenuCopy", s.copy}, {"MenuPaste", s.paste}, {"MenuMerge", s.merge},
        {"MenuWizzard", s.wizard},
        // The library's commands work whenever a design is open, as the pattern settings do.
        {"MenuLibrary", s.patternSettings}, {"MenuAddToLibrary", s.patternSettings},
    };
    for (const auto& c : commands)
        if (QAction* a = action(QString::fromLatin1(c.name)))
            a->setEnabled(c.on && commandAvailable(a));
    for (const char* name : {"ButtonRotateRight", "ButtonRotateLeft"})
        if (QAction* a = action(QString::fromLatin1(name)))
            a->setEnabled(s.rotate && commandAvailable(a));
    for (const char* name : {"ButtonMirrorHorz", "ButtonMirrorVert"})
        if (QAction* a = action(QString::fromLatin1(name)))
            a->setEnabled(s.mirror && commandAvailable(a));
}

void MainWindow::UpdateGUI()
{
    GuiContext context;
    context.hasSelection = m_tools->mode() == modSelection;
    context.hasFloating = m_tools->floatingBlock().floating();
    context.hasCopied = m_tools->floatingBlock().hasClipboard();
    context.knittingMode = document().KnittingMode;
    context.openedPicture = m_openedPicture;
    applyCommandStates(m_view->UpdateGUI(context));
}

void MainWindow::designReplaced()
{
    // A new design re-initialises the ghost's showing and shows the ghost it brought, if any.
    m_ghostState->reinitialise();
    m_ghostState->ghostPictureReplaced();
    // The view and the commands as for no design, then for the new one.
    Setmode(modDraw);
    m_history->Reset();
    applyCommandStates(m_view->ResetGUI());
    m_colorPanel->resetSort();
    m_colorPanel->sortList()->setCurrentIndex(0);
    m_chart->designChanged();
    // Every new, opened, imported or converted design closes the picture of the last
    // conversion; a conversion opens it again afterwards.
    m_openedPicture = false;
    UpdateGUI();
    setVisibility(m_view->gridVisible(), m_view->symbolsVisible());
    syncToolButtons();
    updateChangeCharacter();
    // The catalogues were read again with the design.
    refreshRhodePopup();
}

void MainWindow::updateChangeCharacter()
{
    const TColorInfo* e = stitch().Colors.find(stitch().drawcolor());
    if (QAction* a = action(QStringLiteral("MenuChangeCharacter")))
        a->setEnabled(e && e->colorCount > 0);
}

bool MainWindow::changeCharacter()
{
    if (!showChangeCharacter(this, document()))
        return false;
    m_view->symbolsChanged();
    return true;
}

void MainWindow::changeBackgroundColor(ColorKey color)
{
    const TBackgroundChange change = document().changeBackgroundColor(color);
    if (change.changed)
        m_history->actionChangebackgroundColor(change.crossPoints, change.quarterPoints,
                                               change.oldColor, change.newColor);
}

void MainWindow::togglePalette()
{
    QPushButton* button = m_colorPanel->paletteButton();
    if (m_palette && m_palette->isVisible()) {
        m_palette->close();
        button->setChecked(false);
        return;
    }
    const bool first = !m_palette;
    m_palette = showPalettePopup(this, stitch(), document(), &m_session->settings());
    // Beside the colour panel, level with its top.
    m_palette->move(m_colorPanel->mapToGlobal(QPoint(m_colorPanel->width(), 0)));
    if (first)
        connect(m_palette, &TFPalette::deactivated, m_paletteButtonTimer,
                qOverload<>(&QTimer::start));
    button->setChecked(true);
}
