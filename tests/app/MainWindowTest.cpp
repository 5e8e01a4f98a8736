// The main window driven as a user does: start-up, menus, the New command with its dialog,
// the unsaved-changes question and closing.
#include "app/MainWindow.h"
#include "app/ChartWidget.h"
#include "core/NewImageOptions.h"
#include "core/QuillError.h"
#include "core/SettingsStore.h"
#include "core/ui/TFNewImage.h"
#include "view/ChartView.h"
#include "view/ui/TFRealPreview.h"
#include "support/TestSupport.h"
#include "ModalScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace apptest;

struct NewValues
{
    int width = 50, height = 50;
    int paletteIndex = 0;    // index into the dialog's list; -1 for the last
    int charactersIndex = 0; // likewise
    bool knitting = false;
};

ModalScript::Step fillNewImage(const NewValues& v)
{
    return [v](QWidget* w) {
        auto* d = qobject_cast<TFNewImage*>(w);
        ASSERT_NE(d, nullptr);
        d->widthEdit()->setValue(v.width);
        d->heightEdit()->setValue(v.height);
        auto pick = [](QComboBox* box, int i) { box->setCurrentIndex(i < 0 ? box->count() - 1 : i); };
        pick(d->paletteBox(), v.paletteIndex);
        pick(d->charactersBox(), v.charactersIndex);
        (v.knitting ? d->knittingButton() : d->crossButton())->setChecked(true);
        d->okButton()->click();
    };
}

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings = testsupport::currentTestPath(QStringLiteral(".ini"));
        QFile::remove(m_settings);
    }

    std::unique_ptr<MainWindow> makeWindow(const QString& dataDir = testsupport::shippedDataDir(),
                                           const QString& fileArgument = {})
    {
        return std::make_unique<MainWindow>(Session::Options{m_settings, dataDir}, fileArgument);
    }

    QString m_settings;
};

const QString kNewCaption = QStringLiteral("KORVALD Quillmark  - New file.qvxp");

TEST_F(MainWindowTest, StartUpShowsTheDefaultDesignInCaptionAndStatusBar)
{
    auto w = makeWindow();
    w->show();
    TStitch& st = w->stitch();
    PatternDocument& doc = w->document();
    EXPECT_EQ(doc.width(), 50);
    EXPECT_EQ(doc.height(), 50);
    EXPECT_TRUE(st.fileSaved());
    EXPECT_EQ(w->windowTitle(), kNewCaption);
    EXPECT_EQ(w->chartView()->cellSize(), QSize(8, 8));
    EXPECT_EQ(w->chartView()->image().size(), w->chart()->viewport()->size() + QSize(1, 1));

    const int symbols = int(st.chars.fcharacters.size());
    const int paletteColours = st.paletteSize(QStringLiteral("DMC"));
    ASSERT_GT(symbols, 0);
    ASSERT_GT(paletteColours, 0);
    EXPECT_EQ(w->statusPanel(1)->text(), QStringLiteral("Symbols: Quillmark Symbols"));
    EXPECT_EQ(w->statusPanel(2)->text(), QStringLiteral("Colors: DMC"));
    EXPECT_EQ(w->statusPanel(3)->text(), QStringLiteral("Colors used: 0 (%1)").arg(symbols));
    EXPECT_EQ(w->statusPanel(4)->text(), QStringLiteral("Available colours: %1").arg(paletteColours));

    // The panels follow the design: a drawn cell makes one colour used.
    doc.updatePixel(3, 4, st.drawcolor(), true);
    EXPECT_EQ(w->statusPanel(3)->text(), QStringLiteral("Colors used: 1 (%1)").arg(symbols));
    // The caption follows the file name and the title.
    st.Title = QStringLiteral("Rose");
    st.setFilename(QStringLiteral("/some/folder/rose.qvxp"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("KORVALD Quillmark  - rose.qvxp - Rose"));
}

TEST_F(MainWindowTest, FileArgumentAndStartUpFailures)
{
    QFile existing(testsupport::tempRoot() + QStringLiteral("/design.qvxp"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("x");
    existing.close();
    const struct { const char* label; QString file; bool message; } rows[] = {
        {"no argument", QString(), false},
        {"missing file", testsupport::tempRoot() + QStringLiteral("/missing.qvxp"), false},
        {"damaged file", existing.fileName(), true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        QFile::remove(m_settings);
        auto w = makeWindow(testsupport::shippedDataDir(), r.file);
        EXPECT_EQ(w->document().width(), 50);
        EXPECT_TRUE(w->stitch().fileSaved());
        const QString all = w->startupMessages().join(QLatin1Char('\n'));
        // A file that cannot be opened is named in the error; a missing one is no error.
        EXPECT_EQ(!r.file.isEmpty() && all.contains(QDir::toNativeSeparators(r.file)), r.message)
            << all.toStdString();
    }

    // Without palettes and character sets the application cannot run.
    QDir empty(testsupport::tempRoot() + QStringLiteral("/empty-data"));
    ASSERT_TRUE(empty.mkpath(QStringLiteral(".")));
    QFile::remove(m_settings);
    EXPECT_THROW(makeWindow(empty.path()), QuillError);
}

TEST_F(MainWindowTest, MenusHaveTheirCaptionsShortcutsAndStates)
{
    auto w = makeWindow();
    w->show();
    const struct { const char* name; const char* caption; const char* shortcut; bool enabled; bool visible; } rows[] = {
        {"MenuFile", "File", "", true, true},
        {"MenuNew", "New empty Template ...", "Ctrl+N", true, true},
        {"MenuTemplate", "Open Template ...", "Ctrl+O", true, true},
        {"OpenTemplateAs1", "Open Template As ...", "", false, false}, // hidden, so disabled
        {"MenuSave", "Save", "Ctrl+S", false, true},
        {"MenuSaveAs", "Save as ...", "Ctrl+Shift+S", true, true},
        {"MenuReopen", "Reopen ...", "", false, true},
        {"MenuConvert", "Convert Picture to Template ...", "", true, true},
        {"MenuPrint", "Print ...", "Ctrl+P", true, true},
        {"MenuExit", "Exit", "Ctrl+Q", true, true},
        {"MenuEdit", "Edit", "", true, true},
        {"Undo1", "Undo", "Ctrl+Z", false, true},
        {"Redo1", "Redo", "Ctrl+Shift+Z", false, true},
        {"MenuCut", "Cut", "Ctrl+X", false, true},
        {"MenuCopy", "Copy", "Ctrl+C", false, true},
        {"MenuPaste", "Paste", "Ctrl+V", false, true},
        {"MenuMerge", "Merge", "Ctrl+M", false, true},
        {"MenuAddToLibrary", "Add to library", "", true, true},
        {"MenuViewMain", "View", "", true, true},
        {"MenuWizzard", "Wizzard ...", "", false, true},
        {"MenuView", "Grid and symbols", "", true, true},
        {"MenuNone", "None", "", true, true},
        {"MenuGrid", "Grid", "", true, true},
        {"MenuSymbols", "Symbols", "", true, true},
        {"MenuGridSymbols", "Grid and symbols", "", true, true},
        {"MenuRealPreview", "Real preview", "", false, false}, // hidden, so disabled
        {"MenuTools", "Tools", "", true, true},
        {"MenuLibrary", "Library ...", "", true, true},
        {"MenuCharactersEditor", "Characters editor ...", "", true, true},
        {"MenuChangeCharacter", "Change character ...", "", false, true},
        {"MenuCMYK", "CMYK colors ...", "", true, true},
        {"MenuPaletteEditor", "Palette editor", "", true, true},
        {"MenuNewPalette", "New palette ...", "", true, true},
        {"MenuEditPalette", "Edit palette ...", "", true, true},
        {"Rhodeseditor1", "Rhodes editor ...", "", false, false},
        {"MenuPatternSettings", "Pattern settings ...", "", true, true},
        {"MenuOptions", "Options ...", "", true, true},
        {"MenuHelp", "Help", "", true, true},
        {"MenuHelpIndex", "Index ...", "F1", true, true},
        {"MenuHomePage", "Home page", "", false, true},
        {"MenuCheckUpdates", "Check for updates ...", "", true, true},
        {"MenuAbout", "About ...", "", true, true},
        {"MenuLanguages", "Languages", "", true, true},
        {"Language_deutsch", "deutsch", "", true, true},
        {"Language_english", "english", "", true, true},
        {"Language_francais", "francais", "", true, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        QAction* a = w->action(QString::fromLatin1(r.name));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(plain(a->text()), QString::fromLatin1(r.caption));
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(r.shortcut)));
        EXPECT_EQ(a->isEnabled(), r.enabled);
        EXPECT_EQ(a->isVisible(), r.visible);
    }

    QStringList bar;
    for (QAction* a : w->menuBar()->actions())
        bar << plain(a->text());
    EXPECT_EQ(bar, QStringList({"File", "Edit", "View", "Tools", "Help", "Languages"}));

    // The tool bar repeats the commands with the same actions.
    for (const char* name : {"MenuNew", "MenuTemplate", "MenuSave", "MenuPrint", "Undo1", "Redo1",
                             "MenuCut", "MenuCopy", "MenuPaste", "MenuMerge", "MenuView"}) {
        SCOPED_TRACE(name);
        QAction* a = w->action(QString::fromLatin1(name));
        EXPECT_TRUE(w->mainToolBar()->actions().contains(a));
        EXPECT_FALSE(a->icon().isNull());
    }

    // The product-mode switch: hidden, checkable, and running the adjustment again changes
    // nothing.
    QAction* mode = w->action(QStringLiteral("QuillmarkMode"));
    ASSERT_NE(mode, nullptr);
    EXPECT_TRUE(mode->isCheckable());
    EXPECT_FALSE(mode->isVisible());
    mode->setChecked(false);
    mode->setChecked(true);
    w->applyProductMode();
    w->translateUi();
    EXPECT_FALSE(w->action(QStringLiteral("MenuRealPreview"))->isVisible());
    EXPECT_TRUE(w->action(QStringLiteral("MenuNew"))->isVisible());
    EXPECT_EQ(w->windowTitle(), kNewCaption);
    TFNewImage* d = w->newImageDialog();
    EXPECT_FALSE(d->crossButton()->isVisibleTo(d));
    EXPECT_FALSE(d->knittingButton()->isVisibleTo(d));
    EXPECT_TRUE(d->widthEdit()->isVisibleTo(d));
}

TEST_F(MainWindowTest, TheHiddenRealPreviewCommandOpensThePreview)
{
    auto w = makeWindow();
    w->show();
    QAction* a = w->action(QStringLiteral("MenuRealPreview"));
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(a->isVisible());
    EXPECT_FALSE(a->isEnabled());
    QSize drawn;
    // The first drawing runs as soon as the window shows; it lets events through, so the
    // script looks again by timer instead of waiting inside it.
    std::function<void(TFRealPreview*)> closeWhenDrawn = [&](TFRealPreview* preview) {
        if (preview->drawing() || preview->picture().isNull()) {
            QTimer::singleShot(10, preview, [&, preview] { closeWhenDrawn(preview); });
            return;
        }
        drawn = preview->picture().size();
        preview->close();
    };
    apptest::ModalScript script({[&](QWidget* m) {
        auto* preview = qobject_cast<TFRealPreview*>(m);
        ASSERT_NE(preview, nullptr);
        closeWhenDrawn(preview);
    }});
    w->MenuRealPreviewClick();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(script.unexpected, 0);
    EXPECT_EQ(script.titles, QStringList{QStringLiteral("Real Preview")});
    EXPECT_EQ(drawn, QSize(8 * w->document().width(), 8 * w->document().height()));
}

TEST_F(MainWindowTest, NewMakesTheChosenDesignUnsaved)
{
    const struct { const char* label; NewValues v; QSize cell; } rows[] = {
        {"smallest", {1, 1, -1, 0, false}, {8, 8}},
        {"wide, last character set", {120, 3, 0, -1, false}, {8, 8}},
        {"knitting", {7, 5, 1, 1, true}, {8, 6}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        QFile::remove(m_settings);
        auto w = makeWindow();
        w->show();
        TStitch& st = w->stitch();
        PatternDocument& doc = w->document();
        doc.updatePixel(0, 0, st.drawcolor(), true);
        st.setFileSaved(true);
        const QStringList palettes = st.ColorPalettes.keys();
        const QStringList sets = st.characters.keys();
        const QString palette = r.v.paletteIndex < 0 ? palettes.last() : palettes.at(r.v.paletteIndex);
        const QString set = r.v.charactersIndex < 0 ? sets.last() : sets.at(r.v.charactersIndex);

        ModalScript script({fillNewImage(r.v)});
        w->action(QStringLiteral("MenuNew"))->trigger();
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.unexpected, 0);
        EXPECT_EQ(script.titles.value(0), QStringLiteral("New Image"));

        EXPECT_EQ(doc.width(), r.v.width);
        EXPECT_EQ(doc.height(), r.v.height);
        EXPECT_EQ(doc.QuarterCells.size(), QSize(2 * r.v.width, 2 * r.v.height));
        EXPECT_EQ(doc.KnittingMode, r.v.knitting);
        EXPECT_EQ(doc.cellSize, r.cell);
        EXPECT_EQ(st.colorsname(), palette);
        EXPECT_EQ(st.chars.CharsName, st.characters.value(set).Name);
        EXPECT_FALSE(st.fileSaved());
        EXPECT_FALSE(st.FileNameAssigned);
        EXPECT_EQ(st.fileMode, fmNew);
        EXPECT_EQ(st.usedColors(), 0);
        EXPECT_EQ(doc.checkInvariant(), QString());
        for (int y = 0; y < doc.height(); ++y)
            for (int x = 0; x < doc.width(); ++x)
                ASSERT_EQ(doc.CrossCells.pixel(x, y), 0xFFFFFFFFu) << x << "," << y;
        if (!doc.ColorSymbolsList.isEmpty()) {
            EXPECT_EQ(st.drawcolor(), doc.ColorSymbolsList.first().Color);
        }
        EXPECT_EQ(w->windowTitle(), kNewCaption);
        EXPECT_EQ(w->statusPanel(2)->text(), QStringLiteral("Colors: ") + palette);
        EXPECT_EQ(w->statusPanel(4)->text(),
                  QStringLiteral("Available colours: %1").arg(st.paletteSize(palette)));
        EXPECT_EQ(w->statusPanel(1)->text(),
                  QStringLiteral("Symbols: ") + st.characters.value(set).Name);
        EXPECT_EQ(w->chartView()->cellSize(), r.cell);
        EXPECT_EQ(w->chart()->horizontalScrollBar()->maximum(), r.v.width - 1);
        EXPECT_EQ(w->chart()->verticalScrollBar()->maximum(), r.v.height - 1);
    }
}

TEST_F(MainWindowTest, NewCancelledOrRefusedKeepsTheDesign)
{
    // Each row: whether the design has unsaved changes, the answers given, whether the
    // question was asked.
    const struct { const char* label; bool unsaved; QList<ModalScript::Step> steps; bool asked; } rows[] = {
        {"dialog cancelled", false, {click("Cancel")}, false},
        {"question cancelled", true, {click("Cancel")}, true},
        {"question answered yes, name dialog cancelled", true, {click("Yes"), dismiss()}, true},
        {"question answered no, dialog cancelled", true, {click("No"), click("Cancel")}, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        QFile::remove(m_settings);
        auto w = makeWindow();
        w->show();
        TStitch& st = w->stitch();
        PatternDocument& doc = w->document();
        const ColorKey c = st.drawcolor();
        doc.updatePixel(2, 3, c, true);
        st.setFileSaved(!r.unsaved);

        ModalScript script(r.steps);
        w->action(QStringLiteral("MenuNew"))->trigger();
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.unexpected, 0);
        EXPECT_EQ(script.texts.contains(QStringLiteral("Data is not saved, save now?")), r.asked);
        if (r.asked) {
            EXPECT_EQ(script.titles.value(0), QStringLiteral("Warning"));
        }
        EXPECT_EQ(doc.width(), 50);
        EXPECT_EQ(pixelToKey(doc.CrossCells.pixel(2, 3)), c);
        EXPECT_EQ(st.usedColors(), 1);
        EXPECT_EQ(st.fileSaved(), !r.unsaved);
    }
}

TEST_F(MainWindowTest, NewKeepsTheDesignWhenTheDataCannotBeReadAgain)
{
    // A private copy of the shipped data whose palettes disappear after start-up.
    const QString data = testsupport::tempRoot() + QStringLiteral("/data-copy");
    for (const QString& sub : {QStringLiteral("palettes"), QStringLiteral("characters"), QStringLiteral("fonts")}) {
        QDir src(testsupport::shippedDataDir() + QLatin1Char('/') + sub);
        ASSERT_TRUE(QDir().mkpath(data + QLatin1Char('/') + sub));
        for (const QString& f : src.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(src.filePath(f), data + QLatin1Char('/') + sub + QLatin1Char('/') + f));
    }
    auto w = makeWindow(data);
    w->show();
    TStitch& st = w->stitch();
    PatternDocument& doc = w->document();
    const ColorKey c = st.drawcolor();
    doc.updatePixel(1, 1, c, true);
    st.setFileSaved(true);
    const QString palette = st.colorsname();
    for (const QString& f : QDir(data + QStringLiteral("/palettes")).entryList(QDir::Files))
        ASSERT_TRUE(QFile::remove(data + QStringLiteral("/palettes/") + f));

    ModalScript script({fillNewImage({10, 10, 0, 0, false}), click("OK")});
    w->action(QStringLiteral("MenuNew"))->trigger();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(script.unexpected, 0);
    ASSERT_EQ(script.texts.size(), 1);
    EXPECT_TRUE(script.texts.first().contains(QStringLiteral("palette"))) << script.texts.first().toStdString();
    EXPECT_EQ(doc.width(), 50);
    EXPECT_EQ(pixelToKey(doc.CrossCells.pixel(1, 1)), c);
    EXPECT_EQ(st.Colors.find(c)->colorCount, 1);
    EXPECT_TRUE(st.fileSaved());
    EXPECT_EQ(st.colorsname(), palette);
    EXPECT_EQ(w->windowTitle(), kNewCaption);
}

TEST_F(MainWindowTest, ClosingWritesTheSettingsThenAsksAboutUnsavedChanges)
{
    const struct { const char* label; bool unsaved; QList<ModalScript::Step> steps; bool closes; } rows[] = {
        {"saved design closes without a question", false, {}, true},
        {"no closes without saving", true, {click("No")}, true},
        {"cancel keeps the window", true, {click("Cancel")}, false},
        {"yes, name dialog cancelled, keeps the window", true, {click("Yes"), dismiss()}, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        QFile::remove(m_settings);
        auto w = makeWindow();
        w->show();
        w->stitch().DefaultTitle = QStringLiteral("Written on closing");
        w->stitch().setFileSaved(!r.unsaved);

        ModalScript script(r.steps);
        EXPECT_EQ(w->close(), r.closes);
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.unexpected, 0);
        EXPECT_EQ(w->isVisible(), !r.closes);

        SettingsStore store(m_settings);
        EXPECT_EQ(store.readString(QStringLiteral("DefaultTitle")).value_or(QString()),
                  QStringLiteral("Written on closing"));
    }
}

TEST_F(MainWindowTest, ChartShowsCellsGridAndPointer)
{
    auto w = makeWindow();
    w->show();
    TStitch& st = w->stitch();
    PatternDocument& doc = w->document();
    const ColorKey c = st.drawcolor();
    ColorKey other = c;
    for (const auto& [key, info] : st.Colors)
        if (keyToQColor(key) != QColor(Qt::white) && key != c) {
            other = key;
            break;
        }
    doc.updatePixel(2, 1, other, true);
    ChartWidget* chart = w->chart();
    const QColor white(Qt::white);
    const QColor grid = QColor::fromRgb(ChartView::kGridColor);
    const QColor grey = QColor::fromRgb(ChartView::kOutsideColor);
    ASSERT_GT(chart->viewport()->width(), 50 * 8 + 8);

    // Cell (2, 1) spans pixels 16..23 x 8..15; with the grid its top and left pixels are the
    // grid line. Right of the design (x 400 on) the view is grey without grid lines.
    const struct { const char* mode; bool grid; } rows[] = {
        {"MenuGrid", true}, {"MenuNone", false}, {"MenuGridSymbols", true}, {"MenuSymbols", false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.mode);
        w->action(QString::fromLatin1(r.mode))->trigger();
        const QImage img = chart->viewport()->grab().toImage();
        const QColor edge = r.grid ? grid : keyToQColor(other);
        EXPECT_EQ(QColor(img.pixel(23, 15)), keyToQColor(other));
        EXPECT_EQ(QColor(img.pixel(12, 12)), white);
        EXPECT_EQ(QColor(img.pixel(16, 12)), edge);
        EXPECT_EQ(QColor(img.pixel(20, 8)), edge);
        EXPECT_EQ(QColor(img.pixel(24, 12)), r.grid ? grid : white);
        EXPECT_EQ(QColor(img.pixel(400, 12)), grey);
        EXPECT_EQ(QColor(img.pixel(404, 200)), grey);
    }

    // Emptying the cell shows the background again.
    doc.updatePixel(2, 1, st.BackGroundColor, true);
    EXPECT_EQ(QColor(chart->viewport()->grab().toImage().pixel(20, 12)), white);

    // The pointer's cell, 1-based, in the first panel, also beyond the design's edge.
    const struct { QPoint pos; const char* text; } moves[] = {
        {{3 * 8 + 4, 2 * 8 + 4}, "X: 4  Y: 3"},
        {{0, 0}, "X: 1  Y: 1"},
        {{49 * 8 + 7, 49 * 8 + 7}, "X: 50  Y: 50"},
        {{50 * 8 + 5, 10}, "X: 51  Y: 2"},
    };
    for (const auto& m : moves) {
        QMouseEvent move(QEvent::MouseMove, QPointF(m.pos), chart->viewport()->mapToGlobal(QPointF(m.pos)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(chart->viewport(), &move);
        EXPECT_EQ(w->statusPanel(0)->text(), QString::fromLatin1(m.text)) << m.pos.x() << "," << m.pos.y();
    }
}

TEST(NewImageOptionsTest, DefaultsFollowTheCatalogues)
{
    TStitch st;
    st.ColorPalettes.insert(QStringLiteral("Madeira"), {});
    st.ColorPalettes.insert(QStringLiteral("Anchor"), {});
    st.characters.insert(QStringLiteral("Shapes"), {});
    st.characters.insert(QStringLiteral("Letters"), {});

    const struct { const char* palette; const char* characters; bool knitting; const char* wantPalette; const char* wantCharacters; } rows[] = {
        {"Anchor", "Letters", false, "Anchor", "Letters"},
        {"DMC", "Missing", true, "Madeira", "Shapes"}, // missing: the first in catalogue order
        {"", "", false, "Madeira", "Shapes"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.palette);
        st.defaultPalette = QString::fromLatin1(r.palette);
        st.defaultCharacters = QString::fromLatin1(r.characters);
        const NewImageOptions o = NewImageOptions::defaultsFrom(st, r.knitting);
        EXPECT_EQ(o.width, 50);
        EXPECT_EQ(o.height, 50);
        EXPECT_EQ(o.palette, QString::fromLatin1(r.wantPalette));
        EXPECT_EQ(o.characters, QString::fromLatin1(r.wantCharacters));
        EXPECT_EQ(o.knitting, r.knitting);
        EXPECT_EQ(o.paletteNames, QStringList({"Madeira", "Anchor"}));
        EXPECT_EQ(o.characterNames, QStringList({"Shapes", "Letters"}));
        EXPECT_EQ(o.validate(), QString());

        // The dialog shows the same values and gives them back.
        TFNewImage d(st);
        d.setOptions(o);
        EXPECT_EQ(d.paletteBox()->currentText(), o.palette);
        EXPECT_EQ(d.charactersBox()->currentText(), o.characters);
        EXPECT_EQ(d.knittingButton()->isChecked(), r.knitting);
        const NewImageOptions back = d.options();
        EXPECT_EQ(back.palette, o.palette);
        EXPECT_EQ(back.characters, o.characters);
        EXPECT_EQ(back.knitting, o.knitting);
        EXPECT_EQ(back.width, 50);
    }

    // Empty catalogues leave nothing to choose, which validation refuses.
    const NewImageOptions none = NewImageOptions::defaultsFrom(TStitch(), false);
    EXPECT_EQ(none.palette, QString());
    EXPECT_FALSE(none.validate().isEmpty());
}

TEST(NewImageOptionsTest, SizesFromOneTo32767)
{
    TStitch st;
    st.ColorPalettes.insert(QStringLiteral("DMC"), {});
    st.characters.insert(QStringLiteral("Shapes"), {});
    const struct { int width, height; bool valid; } rows[] = {
        {1, 1, true}, {32767, 32767, true}, {0, 5, false}, {5, 0, false},
        {32768, 5, false}, {5, 32768, false}, {-1, 5, false},
    };
    NewImageOptions o = NewImageOptions::defaultsFrom(st, false);
    for (const auto& r : rows) {
        o.width = r.width;
        o.height = r.height;
        EXPECT_EQ(o.validate().isEmpty(), r.valid) << r.width << " x " << r.height;
    }
    o.width = o.height = 10;
    o.palette = QStringLiteral("Anchor");
    EXPECT_FALSE(o.validate().isEmpty());

    // The dialog's fields cannot leave that range.
    TFNewImage d(st);
    d.setOptions(NewImageOptions::defaultsFrom(st, false));
    for (QSpinBox* s : {d.widthEdit(), d.heightEdit()}) {
        EXPECT_EQ(s->minimum(), 1);
        EXPECT_EQ(s->maximum(), 32767);
        s->setValue(0);
        EXPECT_EQ(s->value(), 1);
    }
}

} // namespace
