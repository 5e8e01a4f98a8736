// The print dialog driven as a user does: opened from the main window with Ctrl+P, the
// thumbnail map, export of picture files (with the question before replacing files), the
// controls' rules, the product mode, and printing into a PDF printer.
#include "app/MainWindow.h"
#include "app/ModalScript.h"
#include "core/PatternDocument.h"
#include "print/ui/TFPrintInProgress.h"
#include "print/ui/TFPrintOptions.h"
#include "session/Session.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace apptest;

// Cells in the first colours of the design's palette, so that the key has entries.
void paintSome(PatternDocument& doc, int colors)
{
    const TStitch& st = doc.stitch();
    const QList<ColorKey> keys = st.ColorPalettes.value(st.colorsname()).keys();
    for (int i = 0; i < colors && i < keys.size(); ++i)
        for (int y = (i / doc.width()) * 3; y < doc.height(); y += 3 * (1 + colors / doc.width()))
            doc.updatePixel(i % doc.width(), y, keys[i], true);
}

bool hasColour(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p))
                return true;
        }
    return false;
}

template <class W>
W* child(QWidget* w, const char* name)
{
    W* c = w->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void chooseImageType(TFPrintOptions* d, TExportType type)
{
    auto* box = child<QComboBox>(d, "ComboImageType");
    const int i = box->findData(int(type));
    box->setCurrentIndex(i);
    emit box->activated(i);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

int pdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

// The words of one page of a PDF file with the top left corner of each, in points, as
// pdftotext reads them.
struct PdfWord
{
    QString text;
    QPointF at;
};
QList<PdfWord> pdfWords(const QString& path, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
             QString::number(page), QStringLiteral("-bbox"), path, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    const QString xml = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    QList<PdfWord> words;
    for (auto it = word.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        words << PdfWord{m.captured(3), QPointF(m.captured(1).toDouble(), m.captured(2).toDouble())};
    }
    return words;
}

class TFPrintOptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings = testsupport::currentTestPath(QStringLiteral(".ini"));
        QFile::remove(m_settings);
        m_folder = testsupport::currentTestPath();
        QDir(m_folder).removeRecursively();
    }
    QString m_settings, m_folder;
};

TEST_F(TFPrintOptionsTest, CtrlPOpensTheDialogThatExportsPngFiles)
{
    MainWindow w(Session::Options{m_settings, testsupport::shippedDataDir()});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    paintSome(w.document(), 3);
    QAction* print = w.action(QStringLiteral("MenuPrint"));
    ASSERT_TRUE(print->isEnabled());

    int pages = 0;
    QStringList written;
    bool sawMap = false;
    const QString folder = m_folder;
    ModalScript script({[&](QWidget* dw) {
                            auto* d = qobject_cast<TFPrintOptions*>(dw);
                            ASSERT_NE(d, nullptr);
                            EXPECT_EQ(d->windowTitle(), QStringLiteral("Print"));
                            // The map shows the pages of a printer page.
                            sawMap = hasColour(d->thumbnailMap());
                            child<QRadioButton>(d, "RExportToJPEG")->click();
                            EXPECT_TRUE(child<QWidget>(d, "GroupFile")->isEnabled());
                            EXPECT_FALSE(child<QWidget>(d, "GroupPrinter")->isEnabled());
                            chooseImageType(d, etPNG);
                            EXPECT_FALSE(child<QSpinBox>(d, "UpDownJPEGQuality")->isEnabled());
                            child<QLineEdit>(d, "EPath")->setText(folder);
                            pages = d->model().preview.pageNumber;
                            EXPECT_TRUE(hasColour(d->thumbnailMap()));
                            child<QPushButton>(d, "ButtonPrint")->click();
                            written = d->writtenFiles();
                            EXPECT_TRUE(d->isEnabled());
                            EXPECT_FALSE(d->progressWindow()->isVisible());
                            d->reject();
                        }});
    QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(script.unexpected, 0) << script.titles.join(',').toStdString();
    EXPECT_TRUE(sawMap);
    ASSERT_GT(pages, 1);
    EXPECT_EQ(written.size(), pages);
    const QStringList files = filesIn(m_folder);
    EXPECT_EQ(files.size(), pages);
    for (const QString& f : files) {
        EXPECT_TRUE(f.endsWith(QLatin1String(".png"))) << f.toStdString();
        QImage page(QDir(m_folder).filePath(f));
        EXPECT_EQ(page.size(), QSize(900, 800)) << f.toStdString();
    }
}

// A dialog over a design of its own, without the main window.
class DialogFixture : public TFPrintOptionsTest
{
protected:
    void SetUp() override
    {
        TFPrintOptionsTest::SetUp();
        session = std::make_unique<Session>(Session::Options{m_settings, testsupport::shippedDataDir()});
        session->initialiseWithNewDesign();
        paintSome(session->document(), 4);
        dialog = std::make_unique<TFPrintOptions>(session->stitch());
        dialog->applyProductMode();
    }
    void exportTo(TExportType type)
    {
        child<QRadioButton>(dialog.get(), "RExportToJPEG")->click();
        chooseImageType(dialog.get(), type);
        child<QLineEdit>(dialog.get(), "EPath")->setText(m_folder);
    }
    std::unique_ptr<Session> session;
    std::unique_ptr<TFPrintOptions> dialog;
};

TEST_F(DialogFixture, ExportAsksOnceBeforeReplacingFiles)
{
    dialog->prepare(session->document());
    exportTo(etBMP);
    ASSERT_TRUE(dialog->printJob());
    const QStringList first = filesIn(m_folder);
    ASSERT_FALSE(first.isEmpty());
    for (const QString& f : first)
        EXPECT_TRUE(f.endsWith(QLatin1String(".bmp")));
    // Mark the files so that a rewrite shows.
    for (const QString& f : first) {
        QFile file(QDir(m_folder).filePath(f));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("kept");
    }
    auto sizes = [&] {
        QList<qint64> s;
        for (const QString& f : first)
            s << QFileInfo(QDir(m_folder).filePath(f)).size();
        return s;
    };
    {
        ModalScript script({click(QStringLiteral("No"))});
        EXPECT_FALSE(dialog->printJob());
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.unexpected, 0);
        EXPECT_EQ(sizes(), QList<qint64>(first.size(), 4));
    }
    {
        ModalScript script({click(QStringLiteral("Yes"))});
        EXPECT_TRUE(dialog->printJob());
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.texts.size(), 1); // one question for all the files
        for (qint64 s : sizes())
            EXPECT_GT(s, 4);
    }
}

TEST_F(DialogFixture, InvalidNameOrFolderWritesNothing)
{
    dialog->prepare(session->document());
    exportTo(etPNG);
    const struct { const char* name; const char* folder; const char* message; } rows[] = {
        {"Girl:_#.png", nullptr, "Filename is not valid"},
        {"Gi\\rl_#.png", nullptr, "Filename is not valid"},
        {"", nullptr, "Filename is not valid"},
        {"Girl_#.png", "file", "Foldername is not valid"},
    };
    // A file where the folder should be.
    QDir().mkpath(m_folder);
    const QString blocker = QDir(m_folder).filePath(QStringLiteral("file"));
    QFile(blocker).open(QIODevice::WriteOnly);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        child<QLineEdit>(dialog.get(), "EFileName")->setText(QString::fromLatin1(r.name));
        child<QLineEdit>(dialog.get(), "EPath")
            ->setText(r.folder ? QDir(blocker).filePath(QStringLiteral("sub")) : m_folder);
        ModalScript script({click(QStringLiteral("OK"))});
        EXPECT_FALSE(dialog->printJob());
        EXPECT_EQ(script.texts, QStringList{QString::fromLatin1(r.message)});
        EXPECT_EQ(filesIn(m_folder), QStringList{QStringLiteral("file")});
    }
}

TEST_F(DialogFixture, ControlsFollowTheRules)
{
    dialog->prepare(session->document());
    QDialog* d = dialog.get();
    // Grid numbers need the ruler.
    child<QCheckBox>(d, "CheckBoxGridNumbers")->click();
    EXPECT_TRUE(child<QCheckBox>(d, "CheckBoxGridNumbers")->isChecked());
    child<QCheckBox>(d, "CheckBoxPrintRuler")->click();
    EXPECT_FALSE(child<QCheckBox>(d, "CheckBoxGridNumbers")->isChecked());
    child<QCheckBox>(d, "CheckBoxGridNumbers")->click();
    EXPECT_FALSE(child<QCheckBox>(d, "CheckBoxGridNumbers")->isChecked());
    // Circles and light exclude each other.
    child<QCheckBox>(d, "CheckBoxPrintAsCircle")->click();
    child<QCheckBox>(d, "CheckBoxLight")->click();
    EXPECT_FALSE(child<QCheckBox>(d, "CheckBoxPrintAsCircle")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(d, "CheckBoxLight")->isChecked());
    // A key beside the chart switches the legend on; the legend off alone selects Separate
    // and the key pages go.
    child<QCheckBox>(d, "CheckBoxLegend")->click();
    EXPECT_TRUE(child<QRadioButton>(d, "RadioButton8")->isChecked());
    child<QRadioButton>(d, "RadioButton7")->click();
    EXPECT_TRUE(child<QCheckBox>(d, "CheckBoxLegend")->isChecked());
    EXPECT_EQ(dialog->model().keyPosition(), pRight);
    child<QRadioButton>(d, "RadioButton8")->click();
    const int withKey = dialog->model().preview.pageNumber;
    child<QCheckBox>(d, "CheckBoxLegend")->click();
    EXPECT_LT(dialog->model().preview.pageNumber, withKey);
    for (const auto& [pos, page] : dialog->model().preview.pages)
        EXPECT_FALSE(page.keysOnly);
    // The grid fields show millimetres with two decimals and keep to their range.
    auto* gridX = child<QSpinBox>(d, "UpDownGridX");
    EXPECT_EQ(gridX->text(), QStringLiteral("3.00"));
    EXPECT_EQ(child<QLineEdit>(d, "EGridX")->text(), QStringLiteral("3.00"));
    gridX->setValue(95);
    EXPECT_EQ(gridX->text(), QStringLiteral("0.95"));
    EXPECT_EQ(dialog->model().options.gridX, 95);
    gridX->setValue(50);
    EXPECT_EQ(gridX->value(), 90);
    gridX->setValue(3000);
    EXPECT_EQ(gridX->value(), 2010);
    EXPECT_EQ(child<QSpinBox>(d, "UpDownGridY")->text(), QStringLiteral("3.00"));
    // Holding the mouse on an arrow steps by 10 after 100 ms; releasing steps by 1 again.
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    QStyleOptionSpinBox opt;
    opt.initFrom(gridX);
    opt.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    const QPoint up = gridX->style()
                          ->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxUp, gridX)
                          .center();
    gridX->setValue(300);
    EXPECT_EQ(gridX->singleStep(), 1);
    QTest::mousePress(gridX, Qt::LeftButton, {}, up);
    QTest::qWait(180);
    EXPECT_EQ(gridX->singleStep(), 10);
    QTest::mouseRelease(gridX, Qt::LeftButton, {}, up);
    EXPECT_EQ(gridX->singleStep(), 1);
    EXPECT_GT(gridX->value(), 300);
    dialog->hide();
    // Quality: only for JPEG, steps of 10, not typed.
    auto* quality = child<QSpinBox>(d, "UpDownJPEGQuality");
    EXPECT_EQ(quality->value(), 70);
    EXPECT_EQ(quality->singleStep(), 10);
    EXPECT_TRUE(child<QLineEdit>(d, "Edit2")->isReadOnly());
    child<QRadioButton>(d, "RExportToJPEG")->click();
    EXPECT_TRUE(quality->isEnabled());
    chooseImageType(dialog.get(), etPNG);
    EXPECT_FALSE(quality->isEnabled());
    chooseImageType(dialog.get(), etJPEG);
    EXPECT_TRUE(quality->isEnabled());
}

TEST_F(DialogFixture, ProductModeHidesStitchOptionsThatKeepTheirValues)
{
    dialog->prepare(session->document());
    dialog->show();
    const struct { const char* name; bool visible; bool checked; } rows[] = {
        {"CheckBoxReal", false, false},
        {"CheckBoxBackStitchesSeparate", false, false},
        {"CheckBoxStitchList", false, false},
        {"CheckBoxBackStitches", false, true},
        {"CheckBoxRhodes", false, true},
        {"CheckBoxBackSymbol", false, true},
        {"CheckBoxBorder", true, true},
        {"LegendSize", true, true},
        {"CheckBoxDesign", true, true},
        {"CheckBoxLegend", true, true},
        {"CheckBoxTitle", true, false},
        {"CheckBoxPrintGrid", true, true},
    };
    for (const auto& r : rows) {
        auto* box = child<QCheckBox>(dialog.get(), r.name);
        EXPECT_EQ(box->isVisible(), r.visible) << r.name;
        EXPECT_EQ(box->isChecked(), r.checked) << r.name;
    }
    EXPECT_FALSE(child<QRadioButton>(dialog.get(), "RadioButton6")->isVisible());
    EXPECT_FALSE(child<QLabel>(dialog.get(), "LegendBackStitches")->isVisible());
    EXPECT_FALSE(child<QLabel>(dialog.get(), "LegendStitchSteps")->isVisible());
    EXPECT_EQ(child<QLabel>(dialog.get(), "LegendPattern")->text(), QStringLiteral("Art Pattern"));
    EXPECT_TRUE(child<QLabel>(dialog.get(), "LegendKey")->isVisible());
    EXPECT_TRUE(dialog->model().options.backStitches);
    EXPECT_TRUE(dialog->model().options.rhodes);
    EXPECT_TRUE(dialog->model().options.backSymbol);
}

TEST_F(DialogFixture, PrintingIntoAPdfPrinterWritesEveryPageOfTheTable)
{
    const QString pdf = m_folder + QStringLiteral(".pdf");
    QFile::remove(pdf);
    dialog->printer().setOutputFormat(QPrinter::PdfFormat);
    dialog->printer().setOutputFileName(pdf);
    const struct { const char* what; TFormat format; bool title; } rows[] = {
        {"portrait", fPortrait, false},
        {"landscape with title page", fLandscape, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        dialog->prepare(session->document());
        child<QRadioButton>(dialog.get(), r.format == fLandscape ? "RadioButton3" : "RadioButton2")
            ->click();
        if (r.title != dialog->model().options.title)
            child<QCheckBox>(dialog.get(), "CheckBoxTitle")->click();
        const TPreview& p = dialog->model().preview;
        EXPECT_EQ(p.pixelsPerInch, dialog->printer().resolution());
        EXPECT_EQ(p.pagewidthReal > p.pageheightReal, r.format == fLandscape);
        ASSERT_TRUE(dialog->printJob());
        EXPECT_EQ(pdfPages(pdf), p.pageNumber);
        EXPECT_GE(p.pageNumber, r.title ? 3 : 2);
    }
}

TEST_F(DialogFixture, ExportIntoOnePdfFileHasPaperPages)
{
    dialog->prepare(session->document());
    exportTo(etPDF);
    const TPreview& p = dialog->model().preview;
    EXPECT_EQ(p.pixelsPerInch, PrintDialogModel::kPdfDpi);
    EXPECT_FALSE(child<QSpinBox>(dialog.get(), "UDJPEGWidth")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(dialog.get(), "EFileName")->text(), QStringLiteral("New file.pdf"));
    ASSERT_TRUE(dialog->printJob());
    const QStringList files = filesIn(m_folder);
    ASSERT_EQ(files, QStringList{QStringLiteral("New file.pdf")});
    EXPECT_EQ(pdfPages(QDir(m_folder).filePath(files.first())), p.pageNumber);
    // Again, replacing the file: a second PDF job of the process writes its fonts as well.
    {
        ModalScript script({click(QStringLiteral("Yes"))});
        ASSERT_TRUE(dialog->printJob());
        EXPECT_TRUE(script.done());
    }
    EXPECT_EQ(pdfPages(QDir(m_folder).filePath(files.first())), p.pageNumber);
    // Back to pictures: the export page size again, and the name with its page number.
    chooseImageType(dialog.get(), etPNG);
    EXPECT_EQ(p.pagewidthReal, 900);
    EXPECT_EQ(child<QLineEdit>(dialog.get(), "EFileName")->text(), QStringLiteral("New file_#.PNG"));
    // Pictures drawn on the worker thread, then the PDF file once more.
    ASSERT_TRUE(dialog->printJob());
    EXPECT_EQ(filesIn(m_folder).size(), 1 + p.pageNumber);
    chooseImageType(dialog.get(), etPDF);
    {
        ModalScript script({click(QStringLiteral("Yes"))});
        ASSERT_TRUE(dialog->printJob());
        EXPECT_TRUE(script.done());
    }
    EXPECT_EQ(pdfPages(QDir(m_folder).filePath(files.first())), p.pageNumber);
}

TEST_F(DialogFixture, APdfPrinterGivesThePagesOfThePdfExport)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const QString printed = m_folder + QStringLiteral("-printer.pdf");
    QFile::remove(printed);
    dialog->printer().setOutputFormat(QPrinter::PdfFormat);
    dialog->printer().setOutputFileName(printed);
    dialog->prepare(session->document());
    ASSERT_TRUE(dialog->printJob());
    const int pages = dialog->model().preview.pageNumber;
    exportTo(etPDF);
    EXPECT_EQ(dialog->model().preview.pageNumber, pages);
    ASSERT_TRUE(dialog->printJob());
    const QString exported = QDir(m_folder).filePath(QStringLiteral("New file.pdf"));
    ASSERT_EQ(pdfPages(printed), pages);
    ASSERT_EQ(pdfPages(exported), pages);
    // Every word (title, ruler numbers, symbols, key entries) stands at the same place on
    // the same page, within a fraction of a millimetre.
    for (int page = 1; page <= pages; ++page) {
        SCOPED_TRACE(page);
        const QList<PdfWord> a = pdfWords(printed, page), b = pdfWords(exported, page);
        ASSERT_FALSE(a.isEmpty());
        ASSERT_EQ(a.size(), b.size());
        for (int i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].text, b[i].text) << i;
            EXPECT_LT((a[i].at - b[i].at).manhattanLength(), 1.0)
                << a[i].text.toStdString() << " at " << a[i].at.x() << "," << a[i].at.y()
                << " and " << b[i].at.x() << "," << b[i].at.y();
        }
    }
}

TEST_F(DialogFixture, CancelStopsTheJob)
{
    dialog->prepare(session->document());
    // Many large pages, so that the job is still running when Cancel is pressed.
    exportTo(etPNG);
    child<QSpinBox>(dialog.get(), "UDJPEGWidth")->setValue(1000);
    child<QSpinBox>(dialog.get(), "UDJPEGHeight")->setValue(1000);
    child<QSpinBox>(dialog.get(), "UDJPEGGrid")->setValue(100);
    ASSERT_GT(dialog->model().preview.pageNumber, 20);
    TFPrintInProgress* progress = dialog->progressWindow();
    const auto press = QObject::connect(progress->pageBar(), &QProgressBar::valueChanged,
                                        progress->cancelButton(), &QPushButton::click);
    EXPECT_FALSE(dialog->printJob());
    QObject::disconnect(press);
    EXPECT_TRUE(filesIn(m_folder).isEmpty());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(child<QWidget>(dialog.get(), "PrintBody")->isEnabled());

    // The printer's job stops as well, between pages.
    const QString pdf = m_folder + QStringLiteral(".pdf");
    dialog->printer().setOutputFormat(QPrinter::PdfFormat);
    dialog->printer().setOutputFileName(pdf);
    child<QRadioButton>(dialog.get(), "RPrintToPrinter")->click();
    child<QSpinBox>(dialog.get(), "UpDownGridX")->setValue(2010);
    ASSERT_GT(dialog->model().preview.pageNumber, 2);
    const auto press2 = QObject::connect(progress->pageBar(), &QProgressBar::valueChanged,
                                         progress->cancelButton(), &QPushButton::click);
    EXPECT_FALSE(dialog->printJob());
    QObject::disconnect(press2);
    EXPECT_FALSE(progress->isVisible());
    // The dialog is usable again and the next job runs to its end.
    EXPECT_TRUE(dialog->printJob());
    EXPECT_EQ(pdfPages(pdf), dialog->model().preview.pageNumber);
}

TEST_F(DialogFixture, ProgressShowsThePageOfAll)
{
    TFPrintInProgress* progress = dialog->progressWindow();
    EXPECT_EQ(progress->windowTitle(), QStringLiteral("Print In Progress"));
    EXPECT_TRUE(progress->windowFlags() & Qt::WindowStaysOnTopHint);
    const struct { int pages, done; const char* label; } rows[] = {
        {12, 0, "Page 1/12"}, {12, 4, "Page 5/12"}, {12, 12, "Page 12/12"}, {1, 0, "Page 1/1"}};
    for (const auto& r : rows) {
        progress->start(r.pages);
        progress->setPage(r.done);
        EXPECT_EQ(progress->pageLabel()->text(), QLatin1String(r.label));
        EXPECT_EQ(progress->pageBar()->value(), r.done);
        EXPECT_FALSE(progress->cancelRequested());
    }
    progress->cancelButton()->click();
    EXPECT_TRUE(progress->cancelRequested());
    progress->start(3);
    EXPECT_FALSE(progress->cancelRequested());
}

TEST_F(DialogFixture, KeyThatCannotFitAboveTheChartFallsBackToSeparate)
{
    // So many colours that their key rows need more than a page.
    paintSome(session->document(), 300);
    dialog->prepare(session->document());
    ModalScript script({click(QStringLiteral("OK"))});
    child<QRadioButton>(dialog.get(), "RadioButton1")->click();
    EXPECT_EQ(script.texts, QStringList{QString::fromLatin1(TPreview::kTooManyColorsMessage)});
    EXPECT_EQ(dialog->model().keyPosition(), pSeparate);
    EXPECT_TRUE(child<QRadioButton>(dialog.get(), "RadioButton8")->isChecked());
    EXPECT_GT(dialog->model().preview.pageNumber, 1);
}

} // namespace
