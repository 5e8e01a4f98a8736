// The text tool of the main window: its tool button (key T) opens the text dialog, and the
// text it gives becomes the clipboard, pasted as a floating block to move and merge.
#include "MainWindow.h"

#include "ToolIcons.h"
#include "core/QuillError.h"
#include "editing/TextRendering.h"
#include "editing/ui/TFText.h"
#include "view/ChartView.h"

#include <QAction>
#include <QActionGroup>
#include <QToolBar>

void MainWindow::createTextTool()
{
    auto* a = new QAction(this);
    a->setObjectName(QStringLiteral("ButtonText"));
    // Not a mode: the button runs the tool at once. In the tool group for its enabled state.
    a->setProperty("hintKey", QStringLiteral("Create Text"));
    a->setProperty("hintSuffix", QStringLiteral("..."));
    a->setProperty("toolMode", -1);
    a->setIcon(ToolIcons::icon(ToolIcons::Text, style()));
    m_toolGroup->addAction(a);
    connect(a, &QAction::triggered, this, &MainWindow::ButtonTextClick);
    m_toolBar->addAction(a);
    if (QWidget* w = m_toolBar->widgetForAction(a))
        w->setObjectName(a->objectName());
}

TFText* MainWindow::textDialog()
{
    if (!m_textDialog)
        m_textDialog = new TFText(stitch(), this);
    return m_textDialog;
}

void MainWindow::ButtonTextClick()
{
    TFText* dialog = textDialog();
    dialog->translateUi();
    dialog->prepare(m_view->zoom());
    if (dialog->exec() != QDialog::Accepted)
        return;
    TClipboard clip;
    try {
        // The enlargement, if any, is an undo action of its own before the block is merged.
        clip = TextRendering::makeTextBlock(document(), *m_history, dialog->settings(),
                                            dialog->autoEnlarge());
    } catch (const QuillError& e) {
        showMessage(QMessageBox::Warning, e.translated(stitch()));
        return;
    }
    if (clip.isEmpty())
        return;
    startFloatingBlock(std::move(clip));
}
