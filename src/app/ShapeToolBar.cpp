#include "ShapeToolBar.h"

#include "ShapeIcons.h"
#include "ToolKeys.h"
#include "core/ColorTypes.h"
#include "core/TStitch.h"
#include "editing/ToolController.h"
#include "view/ChartView.h"
#include "view/PreviewLayer.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

// The property the window's tool group reads to know an action's mode.
const char* kModeKey = "toolMode";

// Escape reaches the window when the focused control does not use it; the tools end what
// they have pending (a polyline) and let it go on.
class EscapeFilter : public QObject
{
public:
    EscapeFilter(ToolController& tools, QObject* parent) : QObject(parent), m_tools(tools) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            m_tools.escapePressed();
        return false;
    }

private:
    ToolController& m_tools;
};

} // namespace

ShapeToolBar::ShapeToolBar(QWidget* window, TStitch& stitch, ToolController& tools,
                           ChartView& view, QActionGroup* toolGroup, QAction* showBackStitches)
    : QObject(window), m_window(window), m_stitch(stitch), m_tools(tools), m_view(view), m_viewAlive(&view),
      m_group(toolGroup), m_showBackStitches(showBackStitches),
      m_preview(std::make_unique<PreviewLayer>())
{
    m_line = makeTool("ButtonDrawLine", modLine);
    m_line->setIcon(ShapeIcons::icon(ShapeIcons::Line));
    connect(m_line, &QAction::triggered, this, &ShapeToolBar::ButtonDrawLineClick);

    // The rectangle and circle buttons repeat the last choice of their menus; the keys choose
    // the empty (plain key) or filled (with Shift) figure outright.
    m_rectangle = makeTool("ButtonDrawRectangle", modRectangle);
    m_rectangle->setIcon(ShapeIcons::icon(ShapeIcons::Rectangle));
    connect(m_rectangle, &QAction::triggered, this, [this] {
        if (m_tools.fillMode() == fillFull)
            ButtonFilledRectangleClick();
        else
            ButtonRectangleClick();
    });
    m_circle = makeTool("ButtonDrawCircle", modCircle);
    m_circle->setIcon(ShapeIcons::icon(ShapeIcons::Circle));
    connect(m_circle, &QAction::triggered, this, [this] {
        if (m_tools.fillMode() == fillFull)
            ButtonFilledCircleClick();
        else
            ButtonCircleClick();
    });
    m_inlineBorder = makeTool("ButtonInlineBorder", modInlineBorder);
    m_inlineBorder->setIcon(ShapeIcons::icon(ShapeIcons::InlineBorder));
    connect(m_inlineBorder, &QAction::triggered, this, &ShapeToolBar::ButtonInlineBorderClick);
    m_outlineBorder = makeTool("ButtonOutlineBorder", modOutlineBorder);
    m_outlineBorder->setIcon(ShapeIcons::icon(ShapeIcons::OutlineBorder));
    connect(m_outlineBorder, &QAction::triggered, this, &ShapeToolBar::ButtonOutlineBorderClick);
    m_outline = makeTool("ButtonOutline", modOutline);
    m_outline->setIcon(ShapeIcons::icon(ShapeIcons::Outline));
    connect(m_outline, &QAction::triggered, this, &ShapeToolBar::ButtonOutlineClick);

    // The menus of the fill-mode drop-down. Their entries are children of the window, where
    // the keys U, Shift+U, C and Shift+C find them (ToolKeys).
    struct Entry { QMenu* menu; const char* name; ShapeIcons::Kind icon; void (ShapeToolBar::*click)(); };
    m_popupRectangle = new QMenu(window);
    m_popupRectangle->setObjectName(QStringLiteral("PopupRectangle"));
    m_popupCircle = new QMenu(window);
    m_popupCircle->setObjectName(QStringLiteral("PopupCircle"));
    m_popupOutlineBorder = new QMenu(window);
    m_popupOutlineBorder->setObjectName(QStringLiteral("PopupOutlineBorder"));
    const Entry entries[] = {
        {m_popupRectangle, "MenuRectangle", ShapeIcons::Rectangle, &ShapeToolBar::ButtonRectangleClick},
        {m_popupRectangle, "MenuFilledRectangle", ShapeIcons::FilledRectangle,
         &ShapeToolBar::ButtonFilledRectangleClick},
        {m_popupCircle, "MenuCircle", ShapeIcons::Circle, &ShapeToolBar::ButtonCircleClick},
        {m_popupCircle, "MenuFilledCircle", ShapeIcons::FilledCircle, &ShapeToolBar::ButtonFilledCircleClick},
        {m_popupOutlineBorder, "MenuCornerRound", ShapeIcons::CornerRound, &ShapeToolBar::MenuCornerRoundClick},
        {m_popupOutlineBorder, "MenuCornerSharp", ShapeIcons::CornerSharp, &ShapeToolBar::MenuCornerSharpClick},
    };
    for (const Entry& e : entries) {
        QAction* a = makeAction(e.name, e.menu);
        a->setIcon(ShapeIcons::icon(e.icon));
        e.menu->addAction(a);
        connect(a, &QAction::triggered, this, e.click);
    }

    m_view.setPreviewOverlay(m_preview.get());
    connect(&m_tools, &ToolController::previewChanged, this, &ShapeToolBar::showCells);
    connect(&m_tools, &ToolController::modeChanged, this, &ShapeToolBar::modeChanged);
    window->installEventFilter(new EscapeFilter(m_tools, this));
}

ShapeToolBar::~ShapeToolBar()
{
    // The window may have destroyed the view already (its children go in the order made).
    if (m_viewAlive)
        m_view.setPreviewOverlay(nullptr);
}

QAction* ShapeToolBar::makeAction(const char* name, QObject* owner)
{
    auto* a = new QAction(owner);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QAction* ShapeToolBar::makeTool(const char* name, TMode mode)
{
    QAction* a = makeAction(name, m_window);
    a->setProperty(kModeKey, int(mode));
    a->setCheckable(true);
    m_group->addAction(a);
    return a;
}

void ShapeToolBar::addButtons(QToolBar* bar)
{
    bar->addSeparator();
    for (QAction* a : {m_line, m_rectangle, m_circle, m_inlineBorder, m_outlineBorder, m_outline}) {
        bar->addAction(a);
        if (QWidget* w = bar->widgetForAction(a))
            w->setObjectName(a->objectName());
    }
    m_fillButton = new QToolButton(bar);
    m_fillButton->setObjectName(QStringLiteral("DropDownFillFactor"));
    m_fillButton->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(m_fillButton);
    modeChanged(m_tools.mode());
}

void ShapeToolBar::translate()
{
    auto tr = [this](const char* text) { return m_stitch.translate(QString::fromLatin1(text)); };
    const struct { QAction* a; const char* hint; } tools[] = {
        {m_line, "Draw line"}, {m_inlineBorder, "Inline border"},
        {m_outlineBorder, "Outline border"}, {m_outline, "Outline"}};
    for (const auto& t : tools) {
        const QString text = ToolKeys::withKey(tr(t.hint), t.a);
        t.a->setText(text);
        t.a->setToolTip(text);
    }
    // The rectangle and circle buttons name both of their keys.
    const struct { QAction* a; const char* hint; const char* empty; const char* filled; } figures[] = {
        {m_rectangle, "Draw rectangle", "MenuRectangle", "MenuFilledRectangle"},
        {m_circle, "Draw circle", "MenuCircle", "MenuFilledCircle"}};
    const struct { const char* name; const char* caption; } captions[] = {
        {"MenuRectangle", "Rectangle"}, {"MenuFilledRectangle", "Filled rectangle"},
        {"MenuCircle", "Circle"}, {"MenuFilledCircle", "Filled circle"},
        {"MenuCornerRound", "Corner round"}, {"MenuCornerSharp", "Corner sharp"}};
    // A menu entry shows its key in the menu's shortcut column.
    for (const auto& c : captions)
        if (auto* a = m_window->findChild<QAction*>(QString::fromLatin1(c.name))) {
            const QString key = ToolKeys::keyText(a);
            a->setText(key.isEmpty() ? tr(c.caption) : tr(c.caption) + QLatin1Char('\t') + key);
        }
    for (const auto& f : figures) {
        const auto* empty = m_window->findChild<QAction*>(QString::fromLatin1(f.empty));
        const auto* filled = m_window->findChild<QAction*>(QString::fromLatin1(f.filled));
        const QString text = tr(f.hint) + QStringLiteral(" (") + ToolKeys::keyText(empty)
            + QStringLiteral("; ") + filled->text().section(QLatin1Char('\t'), 0, 0)
            + QStringLiteral(": ") + ToolKeys::keyText(filled) + QLatin1Char(')');
        f.a->setText(text);
        f.a->setToolTip(text);
    }
    if (m_fillButton && !m_fillHint.isEmpty())
        m_fillButton->setToolTip(m_stitch.translate(m_fillHint));
}

void ShapeToolBar::modeChanged(TMode mode)
{
    if (!m_fillButton)
        return;
    QMenu* menu = nullptr;
    ShapeIcons::Kind icon = ShapeIcons::FillModeOff;
    const char* hint = nullptr;
    const bool full = m_tools.fillMode() == fillFull;
    switch (mode) {
    case modRectangle:
        menu = m_popupRectangle;
        icon = full ? ShapeIcons::FilledRectangle : ShapeIcons::Rectangle;
        hint = full ? "Filled rectangle" : "Empty rectangle";
        break;
    case modCircle:
        menu = m_popupCircle;
        icon = full ? ShapeIcons::FilledCircle : ShapeIcons::Circle;
        hint = full ? "Filled circle" : "Empty circle";
        break;
    case modInlineBorder:
    case modOutlineBorder:
        menu = m_popupOutlineBorder;
        icon = m_tools.cornerSharp() ? ShapeIcons::CornerSharp : ShapeIcons::CornerRound;
        hint = m_tools.cornerSharp() ? "Corner sharp" : "Corner round";
        break;
    default:
        break;
    }
    m_fillButton->setMenu(menu);
    m_fillButton->setEnabled(menu != nullptr);
    m_fillButton->setIcon(ShapeIcons::icon(icon));
    setFillHint(hint);
}

void ShapeToolBar::setFillHint(const char* hint)
{
    m_fillHint = hint ? QString::fromLatin1(hint) : QString();
    if (m_fillButton)
        m_fillButton->setToolTip(hint ? m_stitch.translate(m_fillHint) : QString());
}

void ShapeToolBar::setFillMode(TFillMode mode)
{
    m_tools.setFillMode(mode);
    modeChanged(m_tools.mode());
}

namespace {
// The pressed button follows the mode even when its own mode was chosen again.
void pressCurrent(QActionGroup* group, TMode mode)
{
    for (QAction* a : group->actions())
        if (a->property(kModeKey).isValid())
            a->setChecked(a->property(kModeKey).toInt() == int(mode));
}
} // namespace

void ShapeToolBar::ButtonDrawLineClick()
{
    m_tools.Setmode(modLine);
    pressCurrent(m_group, m_tools.mode());
}

void ShapeToolBar::ButtonRectangleClick()
{
    m_tools.Setmode(modRectangle);
    setFillMode(fillNone);
    pressCurrent(m_group, m_tools.mode());
}

void ShapeToolBar::ButtonFilledRectangleClick()
{
    m_tools.Setmode(modRectangle);
    setFillMode(fillFull);
    pressCurrent(m_group, m_tools.mode());
}

void ShapeToolBar::ButtonCircleClick()
{
    m_tools.Setmode(modCircle);
    setFillMode(fillNone);
    pressCurrent(m_group, m_tools.mode());
}

void ShapeToolBar::ButtonFilledCircleClick()
{
    m_tools.Setmode(modCircle);
    setFillMode(fillFull);
    pressCurrent(m_group, m_tools.mode());
}

void ShapeToolBar::ButtonInlineBorderClick()
{
    m_tools.Setmode(modInlineBorder);
    pressCurrent(m_group, m_tools.mode());
}

void ShapeToolBar::ButtonOutlineBorderClick()
{
    m_tools.Setmode(modOutlineBorder);
    pressCurrent(m_group, m_tools.mode());
}

void ShapeToolBar::ButtonOutlineClick()
{
    // The outline lays back stitches: they are shown first.
    if (m_showBackStitches && !m_showBackStitches->isChecked())
        m_showBackStitches->setChecked(true);
    m_tools.Setmode(modOutline);
    pressCurrent(m_group, m_tools.mode());
}

void ShapeToolBar::MenuCornerRoundClick()
{
    m_tools.setCornerSharp(false);
    modeChanged(m_tools.mode());
}

void ShapeToolBar::MenuCornerSharpClick()
{
    m_tools.setCornerSharp(true);
    modeChanged(m_tools.mode());
}

void ShapeToolBar::showCells(const QList<QPoint>& cells)
{
    const QRect dirty = cells.isEmpty()
        ? m_preview->clear()
        : m_preview->setCells(cells, keyToPixel(m_stitch.drawcolor()));
    if (!dirty.isEmpty())
        m_view.repaintCells(dirty);
}
