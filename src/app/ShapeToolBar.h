#pragma once
// The main window's part for the shape, border and outline tools: their tool actions (with
// their keys), the fill-mode drop-down with its three menus, and the preview layer over the
// chart that shows the figure the next click would paint.

#include "editing/TMode.h"

#include <QObject>
#include <QPointer>
#include <memory>

class ChartView;
class PreviewLayer;
class QAction;
class QActionGroup;
class QMenu;
class QToolBar;
class QToolButton;
class TStitch;
class ToolController;

class ShapeToolBar : public QObject
{
    Q_OBJECT
public:
    // Makes the actions (members of the window's tool group, so exactly one tool shows
    // pressed) and puts the preview layer over `view`. `showBackStitches` is the action that
    // shows back stitches, pressed before the outline tool starts.
    ShapeToolBar(QWidget* window, TStitch& stitch, ToolController& tools, ChartView& view,
                 QActionGroup* toolGroup, QAction* showBackStitches);
    ~ShapeToolBar() override;

    // Puts the tool buttons and the fill-mode drop-down on the tool bar.
    void addButtons(QToolBar* bar);
    // Captions, hints and tool tips (with the keys) in the current language.
    void translate();
    // The fill-mode drop-down follows the tool mode: the menu that fits, its image and hint.
    void modeChanged(TMode mode);

    // The tool-bar buttons' handlers: the two-state buttons repeat the last fill choice.
    void ButtonDrawLineClick();
    void ButtonRectangleClick();
    void ButtonFilledRectangleClick();
    void ButtonCircleClick();
    void ButtonFilledCircleClick();
    void ButtonInlineBorderClick();
    void ButtonOutlineBorderClick();
    void ButtonOutlineClick();
    void MenuCornerRoundClick();
    void MenuCornerSharpClick();
    void setFillMode(TFillMode mode);

    QToolButton* fillButton() const { return m_fillButton; }
    PreviewLayer& previewLayer() const { return *m_preview; }

private:
    QAction* makeAction(const char* name, QObject* owner);
    QAction* makeTool(const char* name, TMode mode);
    void setFillHint(const char* hint);
    void showCells(const QList<QPoint>& cells);

    QWidget* m_window;
    TStitch& m_stitch;
    ToolController& m_tools;
    ChartView& m_view;
    QPointer<ChartView> m_viewAlive;
    QActionGroup* m_group;
    QAction* m_showBackStitches;
    std::unique_ptr<PreviewLayer> m_preview;

    QAction* m_line = nullptr;
    QAction* m_rectangle = nullptr;
    QAction* m_circle = nullptr;
    QAction* m_inlineBorder = nullptr;
    QAction* m_outlineBorder = nullptr;
    QAction* m_outline = nullptr;
    QToolButton* m_fillButton = nullptr;
    QMenu* m_popupRectangle = nullptr;
    QMenu* m_popupCircle = nullptr;
    QMenu* m_popupOutlineBorder = nullptr;
    // The translation key of the fill button's hint.
    QString m_fillHint;
};
