// The two settings dialogs of the Tools menu: the user's options and the open design's
// settings.
#include "MainWindow.h"

#include "convert/ui/TFTemplateSettings.h"
#include "core/ui/TFOptions.h"
#include "editing/TActions.h"
#include "view/ChartView.h"

#include <QAction>

void MainWindow::createSettingsCommands()
{
    connect(action(QStringLiteral("MenuOptions")), &QAction::triggered, this,
            &MainWindow::MenuOptionsClick);
    connect(action(QStringLiteral("MenuPatternSettings")), &QAction::triggered, this,
            &MainWindow::MenuPatternSettingsClick);
}

void MainWindow::MenuOptionsClick()
{
    bool titled = false;
    if (!showOptionsDialog(this, stitch(), &titled))
        return;
    // The settings reach the store at once, not only when the window closes.
    QString error;
    if (!session().writeSettings(&error))
        showMessage(QMessageBox::Warning, error);
    if (titled)
        setFormCaption();
}

void MainWindow::MenuPatternSettingsClick()
{
    const std::optional<DesignSettingsResult> result =
        showTemplateSettings(this, document(), *m_history);
    if (!result || !result->changed)
        return;
    if (result->symbolsChanged)
        m_view->symbolsChanged();
    setFormCaption();
    updateStatusPanels();
}
