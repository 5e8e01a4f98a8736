// The file commands of the main window: opening by extension, "Save", "Save as ...", the
// recent files with their "Reopen ..." menu and the file dialogs.
#include "MainWindow.h"

#include "RecentFiles.h"
#include "core/Product.h"
#include "core/QuillError.h"
#include "files/DesignFile.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// A folder as the settings keep it: native separators, ending with a separator.
QString asSettingsFolder(const QString& folder)
{
    QString f = QDir::toNativeSeparators(folder);
    if (!f.isEmpty() && !f.endsWith(QDir::separator()))
        f += QDir::separator();
    return f;
}

// The "Application mode" question of "Open Template As ...": true for OK, `knitting` the
// choice.
bool askApplicationMode(QWidget* parent, TStitch& st, bool* knitting)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("FApplicationMode"));
    dialog.setWindowTitle(st.translate(QStringLiteral("Application mode")));
    auto* stitches = new QRadioButton(st.translate(QStringLiteral("Stitches")), &dialog);
    stitches->setObjectName(QStringLiteral("RStitches"));
    stitches->setChecked(true);
    auto* knit = new QRadioButton(st.translate(QStringLiteral("Knitting")), &dialog);
    knit->setObjectName(QStringLiteral("RKnitting"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(st.translate(QStringLiteral("OK")));
    buttons->button(QDialogButtonBox::Cancel)->setText(st.translate(QStringLiteral("Cancel")));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(stitches);
    layout->addWidget(knit);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *knitting = knit->isChecked();
    return true;
}

} // namespace

void MainWindow::connectFileCommands()
{
    const struct { const char* name; void (MainWindow::*slot)(); } commands[] = {
        {"MenuTemplate", &MainWindow::MenuTemplateClick},
        {"OpenTemplateAs1", &MainWindow::OpenTemplateAs1Click},
    };
    for (const auto& c : commands)
        connect(action(QString::fromLatin1(c.name)), &QAction::triggered, this, c.slot);
    connect(action(QStringLiteral("MenuSave")), &QAction::triggered, this, [this] { MenuSaveClick(); });
    connect(action(QStringLiteral("MenuSaveAs")), &QAction::triggered, this,
            [this] { MenuSaveAsClick(); });
    connect(&stitch(), &TStitch::fileSavedChanged, this, &MainWindow::updateSaveCommand);
    m_reopenMenu = action(QStringLiteral("MenuReopen"))->menu();
    UpdateMRUs();
    updateSaveCommand();
}

void MainWindow::updateSaveCommand()
{
    if (QAction* save = action(QStringLiteral("MenuSave")))
        save->setEnabled(m_saveAllowed && !stitch().fileSaved());
    if (QAction* saveAs = action(QStringLiteral("MenuSaveAs")))
        saveAs->setEnabled(m_saveAllowed);
}

QStringList MainWindow::openDialogFilters()
{
    TStitch& st = stitch();
    return {st.translate(QStringLiteral("All design files")) + QStringLiteral(" (*.qvx *.stv *.qvxp)"),
            st.translate(QStringLiteral("Brodora")) + QStringLiteral(" (*.qvx)"),
            st.translate(QStringLiteral("Tesselka")) + QStringLiteral(" (*.qvxp)"),
            QStringLiteral("Ravlin 1/2 (*.stv)"),
            st.translate(QStringLiteral("All files")) + QStringLiteral(" (*)")};
}

QStringList MainWindow::saveDialogFilters()
{
    return {stitch().translate(QStringLiteral("Design file")) + QStringLiteral(" (*")
            + Product::kNativeExtension + QLatin1Char(')')};
}

// --- recent files ---

void MainWindow::MRUListInsert(const QString& path)
{
    if (insertRecentFile(stitch().RecentFiles, path))
        UpdateMRUs();
}

void MainWindow::UpdateMRUs()
{
    if (!m_reopenMenu)
        return;
    m_reopenMenu->clear();
    const QStringList& files = stitch().RecentFiles;
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QString shown = QDir::toNativeSeparators(path);
        QAction* a = m_reopenMenu->addAction(QString::number(i + 1) + QStringLiteral(" - ")
                                             + shown.replace(QLatin1Char('&'), QStringLiteral("&&")));
        a->setObjectName(QStringLiteral("MRU%1").arg(i + 1));
        a->setData(path);
        a->setToolTip(QDir::toNativeSeparators(path));
        a->setStatusTip(QDir::toNativeSeparators(path));
        connect(a, &QAction::triggered, this, [this, path] { MenuMRUClick(path); });
    }
    m_reopenMenu->menuAction()->setEnabled(!files.isEmpty());
}

// --- opening ---

QString MainWindow::openStartFolder() const
{
    const TStitch& st = m_session->stitch();
    return st.RecentFiles.isEmpty() ? st.PatternsPath
                                    : QFileInfo(st.RecentFiles.first()).absolutePath();
}

QString MainWindow::saveStartFolder() const
{
    const TStitch& st = m_session->stitch();
    return st.RecentFiles.isEmpty() ? st.SavePath
                                    : QFileInfo(st.RecentFiles.first()).absolutePath();
}

QString MainWindow::chooseOpenFile(const QString& startFolder)
{
    QFileDialog dialog(this, stitch().translate(QStringLiteral("Open Template")), startFolder);
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(openDialogFilters());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

bool MainWindow::reinitialise(QStringList* warnings)
{
    TStitch& st = stitch();
    PatternDocument& doc = document();
    const bool wasSaved = st.fileSaved();
    const bool wasKnitting = doc.KnittingMode;
    // What this run remembered since the settings were last written survives the new reading
    // of the store: the recent files and the dialogs' folders.
    const QStringList recent = st.RecentFiles;
    const QString patterns = st.PatternsPath;
    const QString save = st.SavePath;
    try {
        *warnings = m_session->initialise();
    } catch (const QuillError& e) {
        doc.KnittingMode = wasKnitting;
        doc.SetCellWidthAndHeight(m_zoom);
        st.setFileSaved(wasSaved);
        st.RecentFiles = recent;
        st.PatternsPath = patterns;
        st.SavePath = save;
        showMessage(QMessageBox::Critical, e.translated(stitch()));
        return false;
    }
    st.RecentFiles = recent;
    st.PatternsPath = patterns;
    st.SavePath = save;
    doc.SetCellWidthAndHeight(m_zoom);
    return true;
}

bool MainWindow::applyOpenedFile(const DesignFileContent& content)
{
    PatternDocument& doc = document();
    try {
        // The ghost picture of the old design goes; the file's own one (if any) comes.
        applyDesignFile(doc, content, &m_ghost);
    } catch (const QuillError& e) {
        showMessage(QMessageBox::Critical, e.translated(stitch()));
        return false;
    }
    designReplaced();
    // Back stitches and Rhodes stitches that came with the file are shown.
    if (!doc.DesignBackStitches.isEmpty() || !doc.DesignRhodes.empty())
        if (QAction* back = action(QStringLiteral("ButtonBackStitch")))
            back->setChecked(true);
    rebuildLanguagesMenu();
    updateStatusPanels();
    updateColorsPanels();
    updateDrawColor();
    setFormCaption();
    updateSaveCommand();
    return true;
}

bool MainWindow::OpenFile(const QString& path, bool knitting)
{
    TStitch& st = stitch();
    PatternDocument& doc = document();
    // The whole file is read before anything is re-initialised, so that a file that cannot
    // be read leaves the open design exactly as it was. Only the three design extensions
    // open: anything else is reported instead of leaving an empty design under its name.
    DesignFileContent content;
    try {
        content = readDesignFile(path);
    } catch (const QuillError& e) {
        showMessage(QMessageBox::Critical, e.translated(stitch()));
        return false;
    }
    const bool wasSaved = st.fileSaved();
    const bool wasKnitting = doc.KnittingMode;
    QStringList warnings;
    if (!reinitialise(&warnings))
        return false;
    doc.KnittingMode = knitting;
    doc.SetCellWidthAndHeight(m_zoom);
    if (!applyOpenedFile(content)) {
        // The old design stays, in its own mode.
        doc.KnittingMode = wasKnitting;
        doc.SetCellWidthAndHeight(m_zoom);
        st.setFileSaved(wasSaved);
        return false;
    }
    if (!warnings.isEmpty())
        showMessage(QMessageBox::Warning, warnings.join(QLatin1Char('\n')));
    return true;
}

void MainWindow::MenuTemplateClick()
{
    openChosenFile(false);
}

void MainWindow::OpenTemplateAs1Click()
{
    openChosenFile(true);
}

void MainWindow::openChosenFile(bool askMode)
{
    if (!Check())
        return;
    const QString start = openStartFolder();
    const QString path = chooseOpenFile(start);
    if (path.isEmpty())
        return;
    bool knitting = false;
    if (askMode && !askApplicationMode(this, stitch(), &knitting))
        return;
    if (!OpenFile(path, knitting))
        return;
    stitch().PatternsPath = asSettingsFolder(start);
    MRUListInsert(path);
}

void MainWindow::MenuMRUClick(const QString& path)
{
    // A recent file that has disappeared is ignored.
    if (!QFileInfo(path).isFile() || !Check())
        return;
    if (OpenFile(path))
        MRUListInsert(path);
}

// --- saving ---

QString MainWindow::chooseSaveName(QString* startFolder)
{
    TStitch& st = stitch();
    *startFolder = saveStartFolder();
    QFileDialog dialog(this, st.translate(QStringLiteral("Save as")), *startFolder);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The replace question is asked below, after the extension is appended.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(saveDialogFilters());
    dialog.setDefaultSuffix(Product::kNativeExtension.mid(1));
    dialog.selectFile(QFileInfo(st.filename()).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString name = saveAsFileName(dialog.selectedFiles().first());
    if (QFileInfo::exists(name)
        && MyMessageDlg(st.translate(QStringLiteral("File already exists, do you want to replace it?")),
                        QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes)
        return {};
    return name;
}

bool MainWindow::saveTo(const QString& path)
{
    try {
        saveDesignFile(document(), path, &m_ghost);
    } catch (const QuillError& e) {
        // The old file stays and the design keeps its name and its unsaved state.
        showMessage(QMessageBox::Critical, e.translated(stitch()));
        return false;
    }
    return true;
}

bool MainWindow::MenuSaveClick()
{
    TStitch& st = stitch();
    if (!st.FileNameAssigned)
        return MenuSaveAsClick();
    if (st.fileSaved())
        return true;
    if (!saveTo(st.filename()))
        return false;
    MRUListInsert(st.filename());
    return true;
}

bool MainWindow::MenuSaveAsClick()
{
    QString startFolder;
    const QString name = chooseSaveName(&startFolder);
    if (name.isEmpty())
        return false;
    stitch().SavePath = asSettingsFolder(startFolder);
    if (!saveTo(name))
        return false;
    MRUListInsert(name);
    return true;
}
