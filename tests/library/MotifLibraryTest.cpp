// The motif library below its dialogs: the folder listing, the file-name rules, a motif saved
// from a selection and loaded back as the floating block's clipboard, the conversion to the
// design's palette by the nearest-colour search, damaged motifs, a missing folder, deleting
// and the first start's copy of the shipped library.
#include "convert/ColorMatch.h"
#include "core/QuillError.h"
#include "editing/Clipboard.h"
#include "library/LibraryBrowser.h"
#include "library/MotifLibrary.h"
#include "session/UserLibrary.h"
#include "support/SmallDesign.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

QString freshFolder(const QString& name)
{
    const QString dir = currentTestPath() + QLatin1Char('/') + name;
    QDir(dir).removeRecursively();
    return dir;
}

void touch(const QString& path, const QByteArray& data = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

QList<QLine> lines(const QList<TBackStitch>& stitches, QList<ColorKey>* colours = nullptr)
{
    QList<QLine> out;
    for (const TBackStitch& b : stitches) {
        out.append(QLine(b.FromPoint, b.ToPoint));
        if (colours)
            colours->append(b.Color);
    }
    return out;
}

TEST(MotifLibrary, ListsTheMotifFilesOfTheFolderOnly)
{
    const QString dir = freshFolder(QStringLiteral("listing"));
    ASSERT_TRUE(QDir().mkpath(dir + QStringLiteral("/e.qvxp")));
    for (const char* name : {"d.qvx", "b.QVXP", "c.txt", "a.qvxp"})
        touch(dir + QLatin1Char('/') + QLatin1String(name));
    EXPECT_EQ(MotifLibrary::listMotifs(dir), (QStringList{"a.qvxp", "d.qvx"}));
    EXPECT_TRUE(MotifLibrary::listMotifs(dir + QStringLiteral("/missing")).isEmpty());
    EXPECT_TRUE(MotifLibrary::listMotifs(QString()).isEmpty());
    EXPECT_EQ(MotifLibrary::motifPath(QStringLiteral("/lib"), QStringLiteral("a.qvxp")), QStringLiteral("/lib/a.qvxp"));
}

TEST(MotifLibrary, FileNameRules)
{
    const struct { const char* field; bool allowed; const char* file; } rows[] = {
        {"*.qvxp", false, nullptr},          // the initial text
        {"my motif", true, "my motif.qvxp"},
        {"rose.qvxp", true, "rose.qvxp"},
        {"rose.QVXP", true, "rose.QVXP.qvxp"}, // the extension is compared exactly
        {"folder/rose", true, "rose.qvxp"},   // the part after the last separator
        {"C:\\motifs\\rose", true, "rose.qvxp"},
        {"folder/", false, nullptr},
        {"", false, nullptr},
        {"why?", false, nullptr},
        {"a\"b", false, nullptr},
        {"a<b", false, nullptr},
        {"a>b", false, nullptr},
        {"a|b", false, nullptr},
        {"a:b", false, nullptr},
        {"Blume \u00e9\u4e2d", true, "Blume \u00e9\u4e2d.qvxp"}, // characters above 255 are allowed
    };
    for (const auto& r : rows) {
        const QString field = QString::fromUtf8(r.field);
        SCOPED_TRACE(r.field);
        EXPECT_EQ(MotifLibrary::fileNameAllowed(field), r.allowed);
        if (r.file)
            EXPECT_EQ(MotifLibrary::motifFileName(field), QString::fromUtf8(r.file));
    }
}

// A design with cells, quarters and back stitches inside and across the area it saves.
struct Drawn : SmallDesign
{
    Drawn() : SmallDesign(8, 6)
    {
        doc.updatePixel(5, 3, kRed, false);
        doc.updatePixel(6, 4, kBlue, false);
        doc.updatePixel(7, 5, kGreen, false);
        doc.updatePixel(1, 1, kWhite, false); // outside the area
        doc.updateQPixel(11, 9, kGreen, false);
        doc.updateQPixel(14, 6, kWhite, false);
        // Inside the area's grid points 10..16 x 6..12, and one reaching out of it.
        doc.backStitchesAdd({QPoint(10, 6), QPoint(16, 12), kBlue, 0}, false);
        doc.backStitchesAdd({QPoint(12, 8), QPoint(12, 12), kRed, 1}, false);
        doc.backStitchesAdd({QPoint(2, 2), QPoint(12, 8), kRed, 2}, false);
        doc.CalcColorUsage();
        stitch.Title = QStringLiteral("My design");
        stitch.comment = QStringList{QStringLiteral("its comment")};
    }
};

TEST(MotifLibrary, ASavedSelectionLoadsBackAsTheSameBlock)
{
    Drawn d;
    const QString dir = freshFolder(QStringLiteral("saved"));
    // The selection reaches beyond the design: only the part inside is saved.
    const QRect selection(5, 3, 6, 6);
    const QRect area = MotifLibrary::addRectangle(d.doc, &selection);
    ASSERT_EQ(area, QRect(5, 3, 3, 3));
    EXPECT_EQ(MotifLibrary::addRectangle(d.doc, nullptr), QRect(0, 0, 8, 6));

    // The folder does not exist yet: the first save makes it.
    const QString path = MotifLibrary::saveMotif(d.doc, dir, QStringLiteral("corner"), area,
                                                 QStringLiteral("A corner"), {"two", "lines"});
    EXPECT_EQ(path, dir + QStringLiteral("/corner.qvxp"));
    ASSERT_TRUE(QFile::exists(path));
    // The design keeps its own title and comment.
    EXPECT_EQ(d.stitch.Title, QStringLiteral("My design"));
    EXPECT_EQ(d.stitch.comment, QStringList{QStringLiteral("its comment")});

    const MotifLibrary::TMotif m = MotifLibrary::readMotif(dir, QStringLiteral("corner.qvxp"));
    EXPECT_EQ(m.width, 3);
    EXPECT_EQ(m.height, 3);
    EXPECT_EQ(m.name, QStringLiteral("A corner"));
    EXPECT_EQ(m.description, QStringLiteral("two\nlines"));
    EXPECT_EQ(m.paletteName, QStringLiteral("Small"));
    EXPECT_FALSE(MotifLibrary::needsConversion(m, d.stitch));
    EXPECT_EQ(m.preview.size(), QSize(6, 6));

    // The block "Load" gives is the block a copy of the area gives.
    const TClipboard loaded = MotifLibrary::motifClipboard(m, d.stitch, false);
    const TClipboard copied = Clipboard::copy(d.doc, area, true);
    EXPECT_EQ(loaded.ClipCross, copied.ClipCross);
    EXPECT_EQ(loaded.ClipQuarter, copied.ClipQuarter);
    EXPECT_EQ(loaded.background, copied.background);
    QList<ColorKey> loadedColours, copiedColours;
    EXPECT_EQ(lines(loaded.ClipBackStitches, &loadedColours), lines(copied.ClipBackStitches, &copiedColours));
    EXPECT_EQ(loadedColours, copiedColours);
    EXPECT_EQ(loaded.ClipBackStitches.size(), 2);
    EXPECT_TRUE(loaded.ClipRhodes.empty());
    EXPECT_TRUE(loaded.ClipFrenchKnots.isEmpty());
}

TEST(MotifLibrary, AnotherPaletteIsConvertedToTheNearestDesignColours)
{
    // A motif drawn with palette "Other" on a yellow background, loaded into a design of the
    // small palette (red, green, white, blue) on white.
    const struct { ColorKey motif; ColorKey expected; } rows[] = {
        {makeColorKey(250, 10, 10), kRed},
        {makeColorKey(10, 120, 10), kGreen},
        {makeColorKey(240, 240, 250), kWhite},
        {makeColorKey(20, 20, 200), kBlue},
        {kBlue, kBlue},                       // a colour of the design maps to itself
        {makeColorKey(200, 60, 60), kRed},
    };
    TStitch other;
    addSmallCatalogue(other);
    ColorTable palette;
    for (int i = 0; i < int(std::size(rows)); ++i) {
        TColorInfo e;
        e.colorID = QString::number(i);
        e.colorName = QStringLiteral("c%1").arg(i);
        e.charID = i;
        e.orderID = i;
        e.matchColor = rows[i].motif;
        palette.insert(rows[i].motif, e);
    }
    other.ColorPalettes.insert(QStringLiteral("Other"), palette);
    PatternDocument source(other);
    source.CreateNewTemplate(int(std::size(rows)) + 1, 2, QStringLiteral("Shapes"), QStringLiteral("Other"));
    source.changeBackgroundColor(makeColorKey(255, 255, 0));
    for (int i = 0; i < int(std::size(rows)); ++i)
        source.updatePixel(i, 0, rows[i].motif, false);
    source.updateQPixel(0, 2, rows[1].motif, false);
    source.backStitchesAdd({QPoint(0, 0), QPoint(2, 2), rows[3].motif, 0}, false);
    const QString dir = freshFolder(QStringLiteral("converted"));
    MotifLibrary::saveMotif(source, dir, QStringLiteral("other"), QRect(0, 0, source.width(), 2), {}, {});

    SmallDesign d(10, 10);
    const MotifLibrary::TMotif m = MotifLibrary::readMotif(dir, QStringLiteral("other.qvxp"));
    ASSERT_TRUE(MotifLibrary::needsConversion(m, d.stitch));
    const TClipboard clip = MotifLibrary::motifClipboard(m, d.stitch, true);
    for (int i = 0; i < int(std::size(rows)); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(nearestColor(rows[i].motif, d.stitch.Colors), rows[i].expected);
        EXPECT_EQ(clip.ClipCross.pixel(i, 0), keyToPixel(rows[i].expected));
    }
    // The motif's empty cells take the design's background value; so do its empty quarters.
    EXPECT_EQ(clip.ClipCross.pixel(int(std::size(rows)), 0), d.bg());
    EXPECT_EQ(clip.ClipCross.pixel(0, 1), d.bg());
    EXPECT_EQ(clip.ClipQuarter.pixel(0, 2), keyToPixel(kGreen));
    EXPECT_EQ(clip.ClipQuarter.pixel(1, 1), d.bg());
    EXPECT_EQ(clip.background, d.bg());
    // Back stitches take the design's colours too.
    ASSERT_EQ(clip.ClipBackStitches.size(), 1);
    EXPECT_EQ(clip.ClipBackStitches[0].Color, kBlue);

    // Without conversion the colours stay as they are.
    const TClipboard plain = MotifLibrary::motifClipboard(m, d.stitch, false);
    EXPECT_EQ(plain.ClipCross.pixel(0, 0), keyToPixel(rows[0].motif));
}

TEST(MotifLibrary, ABadMotifShowsItsErrorAndTheListStaysUsable)
{
    Drawn d;
    const QString dir = freshFolder(QStringLiteral("bad"));
    MotifLibrary::saveMotif(d.doc, dir, QStringLiteral("good"), QRect(0, 0, 8, 6), {}, {});
    touch(dir + QStringLiteral("/broken.qvxp"), "HDSF but nothing more");
    d.stitch.libraryPath = dir;
    LibraryBrowser browser(d.stitch);
    browser.refresh();
    ASSERT_EQ(browser.files(), (QStringList{"broken.qvxp", "good.qvxp"}));
    EXPECT_TRUE(browser.folderNote().isEmpty());

    EXPECT_FALSE(browser.select(0));
    EXPECT_TRUE(browser.error().contains(QStringLiteral("broken.qvxp"))) << browser.error().toStdString();
    EXPECT_FALSE(browser.canLoad());
    EXPECT_TRUE(browser.clipboard().isEmpty());

    ASSERT_TRUE(browser.select(1));
    EXPECT_TRUE(browser.error().isEmpty());
    EXPECT_TRUE(browser.canLoad());
    EXPECT_FALSE(browser.needsConversion());
    // A motif saved by this system without a title: its file name and its full path.
    EXPECT_EQ(browser.selected()->name, QStringLiteral("good.qvxp"));
    EXPECT_EQ(browser.selected()->description, QDir::toNativeSeparators(dir + QStringLiteral("/good.qvxp")));
    EXPECT_EQ(browser.clipboard().size(), QSize(8, 6));

    // Deleting: the file goes, the list follows, nothing is chosen.
    browser.deleteSelected();
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/good.qvxp")));
    EXPECT_EQ(browser.files(), QStringList{"broken.qvxp"});
    EXPECT_FALSE(browser.selected().has_value());
    EXPECT_THROW(MotifLibrary::deleteMotif(dir, QStringLiteral("good.qvxp")), QuillError);
}

TEST(MotifLibrary, AMissingFolderIsReportedOrMade)
{
    Drawn d;
    const QString base = freshFolder(QStringLiteral("missing"));
    d.stitch.libraryPath = base + QStringLiteral("/library");
    LibraryBrowser browser(d.stitch);
    browser.refresh();
    EXPECT_TRUE(browser.files().isEmpty());
    EXPECT_FALSE(browser.folderNote().isEmpty());
    EXPECT_FALSE(browser.select(0));

    // Under a file no folder can be made: a clear error, no crash.
    ASSERT_TRUE(QDir().mkpath(base));
    touch(base + QStringLiteral("/plain"));
    try {
        MotifLibrary::saveMotif(d.doc, base + QStringLiteral("/plain/library"), QStringLiteral("m"),
                                QRect(0, 0, 2, 2), {}, {});
        ADD_FAILURE() << "saved under a file";
    } catch (const QuillError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("plain"))) << e.message().toStdString();
    }
    EXPECT_THROW(MotifLibrary::saveMotif(d.doc, QString(), QStringLiteral("m"), QRect(0, 0, 2, 2), {}, {}),
                 QuillError);
    EXPECT_THROW(MotifLibrary::saveMotif(d.doc, base, QStringLiteral("what?"), QRect(0, 0, 2, 2), {}, {}),
                 QuillError);

    // The first "Add to library" makes the folder.
    MotifLibrary::saveMotif(d.doc, d.stitch.libraryPath, QStringLiteral("m"), QRect(0, 0, 2, 2), {}, {});
    browser.refresh();
    EXPECT_EQ(browser.files(), QStringList{"m.qvxp"});
    EXPECT_TRUE(browser.folderNote().isEmpty());
}

TEST(MotifLibrary, TheFirstStartCopiesTheShippedLibrary)
{
    const QString shipped = shippedDataDir() + QStringLiteral("/library");
    const QStringList motifs = MotifLibrary::listMotifs(shipped);
    ASSERT_GE(motifs.size(), 10);
    // Every shipped motif reads, and the alphabets are 7 to 10 cells high.
    for (const QString& name : motifs) {
        SCOPED_TRACE(name.toStdString());
        const MotifLibrary::TMotif m = MotifLibrary::readMotif(shipped, name);
        EXPECT_FALSE(m.colors.isEmpty());
        if (name.startsWith(QLatin1String("alphabet")))
            EXPECT_TRUE(m.height >= 7 && m.height <= 10) << m.height;
    }

    const QString user = freshFolder(QStringLiteral("userdata"));
    ASSERT_TRUE(QDir().mkpath(user + QStringLiteral("/library")));
    touch(user + QStringLiteral("/library/") + motifs.first(), "the user's own");
    const QString library = installUserLibrary(shipped, user + QLatin1Char('/'));
    EXPECT_EQ(library, user + QStringLiteral("/library"));
    EXPECT_EQ(MotifLibrary::listMotifs(library), motifs);
    // A motif the user already has is kept.
    QFile kept(library + QLatin1Char('/') + motifs.first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("the user's own"));
    EXPECT_TRUE(installUserLibrary(shipped, QString()).isEmpty());
}

} // namespace
