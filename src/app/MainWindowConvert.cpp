// The picture conversion commands of the main window: "Convert Picture to Template ..." and
// "Wizzard ..." (the last wizard shown again).
#include "MainWindow.h"

#include "convert/ui/TFWizzard.h"
#include "core/QuillError.h"

#include <QAction>

void MainWindow::MenuConvertClick()
{
    if (!Check())
        return;
    PatternDocument& doc = document();
    // Once the wizard's result is known to be buildable, the settings and catalogues are read
    // again as for New (reinitialise keeps what this run remembered and restores the design's
    // state when that fails).
    QStringList warnings;
    bool made = false;
    try {
        made = runConversionWizard(
            this, *m_session, m_ghost, [&] { return reinitialise(&warnings); },
            [this] {
                m_openedPicture = true;
                UpdateGUI();
            });
    } catch (const QuillError& e) {
        showMessage(QMessageBox::Critical, e.translated(stitch()));
    }
    if (!made)
        return;
    doc.SetCellWidthAndHeight(m_zoom);
    designReplaced();
    // The new design comes from the picture still open in the wizard.
    m_openedPicture = true;
    UpdateGUI();
    updateStatusPanels();
    updateColorsPanels();
    updateDrawColor();
    if (!warnings.isEmpty())
        showMessage(QMessageBox::Warning, warnings.join(QLatin1Char('\n')));
}

void MainWindow::MenuWizzardClick()
{
    showConversionWizardAgain(this);
}
