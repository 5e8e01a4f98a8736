#include "MainWindow.h"
#include "library/ui/TFLibrary.h"
#include "library/ui/TFLibraryAdd.h"
#include "ToolTipTime.h"

#include "ChartWidget.h"
#include "convert/ui/TFWizzard.h"
#include "editing/ui/TFInsert.h"
#include "editing/ui/TFText.h"
#include "i18n/ui/Retranslate.h"
#include "i18n/ui/THelpWindow.h"
#include "core/NewImageOptions.h"
#include "core/Product.h"
#include "core/QuillError.h"
#include "core/ui/ColorPanel.h"
#include "core/ui/TFNewImage.h"
#include "files/DesignFile.h"
#include "palettes/ui/TFPalette.h"
#include "print/ui/TFPrintOptions.h"
#include "update/ui/TFUpdate.h"
#include "view/ChartView.h"
#include "view/GhostState.h"
#include "view/SelectionLayer.h"
#include "view/StitchPreview.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QStatusBar>
#include <QToolBar>

MainWindow::MainWindow(const Session::Options& options, const QString& fileArgument,
                       QWidget* parent)
    : QMainWindow(parent), m_session(std::make_unique<Session>(options))
{
    setObjectName(QStringLiteral("FMain"));
    ToolTipTime::install();
    FormCreate(fileArgument);

    createEditor();

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    m_newImage = new TFNewImage(stitch(), this);
    connectDesign();
    connectFileCommands();
    createUpdateCheck();

    translateUi();
    designReplaced();
    setZoom(m_zoom);
    updateDrawColor();
    resize(1000, 720);
}

MainWindow::~MainWindow()
{
    // The widgets and tools refer to the session's design, which the members free before the
    // base class deletes its children: they go first, hidden while the design still exists.
    hide();
    if (m_palette)
        m_palette->hide();
    delete takeCentralWidget(); // the splitter with the colour panel and the chart
    delete m_ghostState; // takes its overlay off the chart view, which nothing shows now
    m_ghostState = nullptr;
    m_view->setStitchPreviewOverlay(nullptr);
    m_view->setSelectionOverlay(nullptr);
}

void MainWindow::FormCreate(const QString& fileArgument)
{
    // Settings and catalogues; a QuillError leaves the constructor.
    m_startupMessages = m_session->initialise();
    TStitch& st = stitch();
    PatternDocument& doc = document();
    m_zoom = Product::kStartZoom;
    doc.SetCellWidthAndHeight(m_zoom);

    // The first design: the file named on the command line, or the default design when there
    // is none or it cannot be opened.
    bool opened = false;
    if (!fileArgument.isEmpty() && QFileInfo(fileArgument).isFile()) {
        const QFileInfo file(fileArgument);
        const QString path = file.absoluteFilePath();
        try {
            applyDesignFile(doc, readDesignFile(path), &m_ghost);
            st.PatternsPath = QDir::toNativeSeparators(file.absolutePath() + QLatin1Char('/'));
            MRUListInsert(path);
            opened = true;
        } catch (const QuillError& e) {
            m_startupMessages << e.translated(stitch());
        }
    }
    if (!opened)
        doc.CreateNewTemplate(Product::kDefaultDesignSize, Product::kDefaultDesignSize,
                              st.defaultCharacters, st.defaultPalette);
    st.setFileSaved(true);
}
void MainWindow::connectDesign()
{
    TStitch& st = stitch();
    PatternDocument& doc = document();
    connect(&st, &TStitch::filenameChanged, this, &MainWindow::setFormCaption);
    connect(&st, &TStitch::fileSavedChanged, this, &MainWindow::setFormCaption);
    connect(&st, &TStitch::colorsnameChanged, this, &MainWindow::updateColorsPanels);
    connect(&st, &TStitch::drawcolorChanged, this, &MainWindow::updateDrawColor);
    // A replaced colour table may give the same draw colour another name.
    connect(&doc, &PatternDocument::designReset, this, &MainWindow::updateDrawColor);
    // The symbol set's name changes only with the design or its character set.
    connect(&doc, &PatternDocument::colorListChanged, this, &MainWindow::updateStatusPanels);
    connect(&doc, &PatternDocument::designReset, this, &MainWindow::updateStatusPanels);
    connect(&doc, &PatternDocument::message, this,
            [this](const QString& text) { showMessage(QMessageBox::Warning, text); });
}

void MainWindow::translateUi()
{
    // The one path that gives every window its captions again, after a language change too:
    // the main window with its menus, tool bar, panels and status bar, then each window it
    // keeps (shown or not), then whatever else carries its translation keys on its widgets.
    setUpdatesEnabled(false);
    translateActions();
    translateTools();
    translateGhost();
    m_colorPanel->retranslate();
    rebuildLanguagesMenu();
    updateStatusPanels();
    updateColorsPanels();
    m_newImage->translateUi();
    translateConversionWizard(this);
    if (m_insertDialog)
        m_insertDialog->translateUi();
    if (m_printOptions)
        m_printOptions->translateUi();
    if (m_palette)
        m_palette->translateUi();
    if (m_textDialog)
        m_textDialog->translateUi();
    if (m_updateDialog)
        m_updateDialog->translateUi();
    for (TFLibrary* d : findChildren<TFLibrary*>(QString(), Qt::FindDirectChildrenOnly))
        d->translateUi();
    for (TFLibraryAdd* d : findChildren<TFLibraryAdd*>(QString(), Qt::FindDirectChildrenOnly))
        d->translateUi();
    for (QWidget* w : findChildren<QWidget*>())
        if (w->isWindow())
            retranslate(w, stitch());
    for (THelpWindow* help : findChildren<THelpWindow*>())
        help->translateUi();
    applyProductMode();
    setUpdatesEnabled(true);
    update();
}

void MainWindow::applyProductMode()
{
    setFormCaption();
    // The draw tool paints pixels of a mosaic in this product.
    if (QAction* draw = action(QStringLiteral("ButtonDraw"))) {
        draw->setProperty("hintKey", QStringLiteral("Draw Pixel"));
        translateTools();
    }
    // Hidden commands and tools; hidden tools still work when chosen through their action.
    for (const char* name : {"MenuRealPreview", "OpenTemplateAs1", "Rhodeseditor1",
                             "ButtonDrawQuarter", "ButtonBackStitch"})
        if (QAction* a = action(QString::fromLatin1(name)))
            a->setVisible(false);
    hideStitchButtons();
    // The shadow button is hidden; a ghost that comes with a design is still shown.
    m_shadowButtonAction->setVisible(false);
    m_newImage->applyProductMode();
}

void MainWindow::setFormCaption()
{
    const TStitch& st = stitch();
    QString caption = Product::kCaptionPrefix + QStringLiteral(" - ")
        + QFileInfo(st.filename()).fileName();
    if (!st.Title.isEmpty())
        caption += QStringLiteral(" - ") + st.Title;
    setWindowTitle(caption);
}

// --- status bar ---

void MainWindow::createStatusBar()
{
    const int widths[] = {110, 220, 200, 170, 170};
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel(statusBar());
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        label->setMinimumWidth(widths[i]);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(label, i == 4 ? 1 : 0);
        m_panels << label;
    }
}

QLabel* MainWindow::statusPanel(int index) const
{
    return m_panels.value(index);
}

void MainWindow::updateStatusPanels()
{
    TStitch& st = stitch();
    m_panels[1]->setText(st.translate(QStringLiteral("Symbols")) + QStringLiteral(": ")
                         + st.chars.CharsName);
    // Panel 3 ("Colors used") is written by the colour panel alone.
}

void MainWindow::updateColorsPanels()
{
    TStitch& st = stitch();
    m_panels[2]->setText(st.translate(QStringLiteral("Colors")) + QStringLiteral(": ")
                         + st.colorsname());
    // A palette name missing from the catalogue leaves the count as it was.
    const int count = st.paletteSize(st.colorsname());
    if (count >= 0)
        m_panels[4]->setText(st.translate(QStringLiteral("Available colours"))
                             + QStringLiteral(": ") + QString::number(count));
}

void MainWindow::updateDrawColor()
{
    if (!m_drawColor)
        return;
    const ColorKey c = stitch().drawcolor();
    QPixmap swatch(16, 16);
    swatch.fill(keyToQColor(c));
    m_drawColor->setPixmap(swatch);
    m_drawColor->setAlignment(Qt::AlignCenter);
    const TColorInfo* info = stitch().Colors.find(c);
    m_drawColor->setToolTip(info ? info->colorID + QStringLiteral(" ") + info->colorName
                                 : QString());
}

// --- messages ---

QMessageBox::StandardButton MainWindow::MyMessageDlg(const QString& message,
                                                     QMessageBox::StandardButtons buttons)
{
    TStitch& st = stitch();
    QMessageBox box(QMessageBox::Question, st.translate(QStringLiteral("Warning")), message,
                    buttons, this);
    box.setObjectName(QStringLiteral("MyMessageDlg"));
    const struct { QMessageBox::StandardButton button; const char* text; } captions[] = {
        {QMessageBox::Yes, "Yes"}, {QMessageBox::No, "No"}, {QMessageBox::Cancel, "Cancel"}};
    for (const auto& c : captions)
        if (QAbstractButton* b = box.button(c.button))
            b->setText(st.translate(QString::fromLatin1(c.text)));
    box.setDefaultButton(QMessageBox::Yes);
    // Closing the box answers "Cancel", or "No" where there is no "Cancel".
    const QMessageBox::StandardButton escape
        = buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::No;
    box.setEscapeButton(escape);
    const int r = box.exec();
    return r == QMessageBox::Yes || r == QMessageBox::No || r == QMessageBox::Cancel
        ? QMessageBox::StandardButton(r)
        : escape;
}

void MainWindow::showMessage(QMessageBox::Icon icon, const QString& text)
{
    showMessageBox(this, icon, Product::kAboutTitle, text, stitch());
}

// --- unsaved changes, closing ---

bool MainWindow::Check()
{
    TStitch& st = stitch();
    if (st.fileSaved())
        return true;
    switch (MyMessageDlg(st.translate(QStringLiteral("Data is not saved, save now?")))) {
    case QMessageBox::No:
        return true;
    case QMessageBox::Yes: {
        // The design may go only once it is written.
        if (st.FileNameAssigned)
            return saveTo(st.filename());
        QString startFolder;
        const QString name = chooseSaveName(&startFolder);
        return !name.isEmpty() && saveTo(name);
    }
    default:
        return false;
    }
}

bool MainWindow::FormCloseQuery()
{
    // A settings file that cannot be written is reported; closing goes on to the question
    // about unsaved changes all the same.
    QString error;
    if (!m_session->writeSettings(&error))
        showMessage(QMessageBox::Warning, error);
    return Check();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        m_quillmarkMode->setChecked(true);
    }
    applyProductMode();
}

// --- New ---

void MainWindow::MenuNewClick()
{
    TStitch& st = stitch();
    PatternDocument& doc = document();
    if (!Check())
        return;

    m_newImage->setOptions(NewImageOptions::defaultsFrom(st, doc.KnittingMode));
    if (m_newImage->exec() != QDialog::Accepted)
        return;
    const NewImageOptions o = m_newImage->options();
    if (!o.validate().isEmpty())
        return;
    // Settings and catalogues are read again; when that fails the current design stays, as it
    // does when the memory cannot hold the new one.
    QStringList warnings;
    if (!reinitialise(&warnings))
        return;
    const bool wasSaved = st.fileSaved();
    const bool wasKnitting = doc.KnittingMode;
    doc.KnittingMode = o.knitting;
    doc.SetCellWidthAndHeight(m_zoom);
    try {
        doc.CreateNewTemplate(o.width, o.height, o.characters, o.palette);
    } catch (const QuillError& e) {
        doc.KnittingMode = wasKnitting;
        doc.SetCellWidthAndHeight(m_zoom);
        st.setFileSaved(wasSaved);
        showMessage(QMessageBox::Warning, e.translated(stitch()));
        return;
    }

    // A design made by New counts as unsaved.
    st.setFileSaved(false);
    m_ghost.drop();
    designReplaced();
    rebuildLanguagesMenu();
    updateStatusPanels();
    updateColorsPanels();
    updateDrawColor();
    if (!warnings.isEmpty())
        showMessage(QMessageBox::Warning, warnings.join(QLatin1Char('\n')));
}
