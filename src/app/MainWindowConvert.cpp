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
    TStitch& st = stitch();
    PatternDocument& doc = document();
    // The wizard reads the settings again before it builds the design; what this run
    // remembered since the settings were last written survives that, as for New and Open.
    const QStringList recent = st.RecentFiles;
    const QString patterns = st.PatternsPath;
    const QString save = st.SavePath;
    bool made = false;
    try {
        made = runConversionWizard(this, *m_session, m_ghost);
    } catch (const QuillError& e) {
        showMessage(QMessageBox::Critical, e.message());
    }
    st.RecentFiles = recent;
    st.PatternsPath = patterns;
    st.SavePath = save;
    if (!made)
        return;
    doc.SetCellWidthAndHeight(m_zoom);
    designReplaced();
    updateStatusPanels();
    updateColorsPanels();
    updateDrawColor();
    action(QStringLiteral("MenuWizzard"))->setEnabled(true);
}

void MainWindow::MenuWizzardClick()
{
    showConversionWizardAgain(this);
}
