// The native design file: what a saved design looks like byte by byte, that every field comes
// back, what files of older HEAD versions open as, the fallbacks for a palette, character set
// or font that is not installed, and damaged or oversized files rejected without touching the
// open design.
#include "FileTestSupport.h"

#include "core/QuillError.h"
#include "core/TextCodec.h"
#include "files/DesignFile.h"
#include "files/QvxFile.h"
#include "session/DesignSummary.h"

#include <QFile>
#include <QJsonArray>
#include <QtEndian>

using namespace filetest;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Reads a saved file front to back, checking every field on the way.
struct Cursor
{
    explicit Cursor(const QByteArray& bytes) : data(bytes) {}
    const QByteArray& data;
    qsizetype pos = 0;

    // The next value at the cursor, or a failure (and zero) when the file ends first.
    template <typename T>
    T next()
    {
        if (pos + qsizetype(sizeof(T)) > data.size()) {
            ADD_FAILURE() << "the file ends at " << data.size() << ", reading at " << pos;
            pos = data.size();
            return T();
        }
        const T v = qFromLittleEndian<T>(data.constData() + pos);
        pos += qsizetype(sizeof(T));
        return v;
    }
    quint32 u32() { return next<quint32>(); }
    quint16 u16() { return next<quint16>(); }
    double f64()
    {
        const quint64 bits = next<quint64>();
        double v;
        std::memcpy(&v, &bits, 8);
        return v;
    }
    QByteArray bytes(qsizetype n)
    {
        const QByteArray b = data.mid(pos, n);
        pos += n;
        return b;
    }
    QByteArray str() { return bytes(u32()); }
    // Checks a block header and returns the offset where the block starts.
    qsizetype header(const char* id, int version)
    {
        const qsizetype start = pos;
        EXPECT_EQ(bytes(4), QByteArray(id)) << "at offset " << start;
        EXPECT_EQ(bytes(4), QByteArray(1, char(version)) + QByteArray(3, '\0')) << id;
        const quint32 l = u32(), p = u32();
        EXPECT_EQ(l, p) << id;
        lengths.append({start, l});
        return start;
    }
    QList<std::pair<qsizetype, quint32>> lengths;
};

class QvxFileTest : public SessionFixture
{
protected:
    ColorKey colour(int i) { return st().Colors.at(i).first; }
};

} // namespace

TEST_F(QvxFileTest, SavedEmptyDesignHasTheDocumentedLayout)
{
    // The start-up design: 50 x 50, default palette and character set.
    const QString file = path("empty.qvxp");
    saveDesignFile(doc(), file);
    const QByteArray data = readAll(file);
    Cursor c(data);

    EXPECT_EQ(c.bytes(4), QByteArray("HDSF"));
    c.header("QVXT", 0);
    EXPECT_EQ(c.lengths.last().second, quint32(data.size() - 4));

    const qsizetype head = c.header("HEAD", 6);
    EXPECT_EQ(c.str(), QByteArray("DMC"));
    EXPECT_EQ(c.str(), QByteArray("Quillmark Symbols"));
    EXPECT_EQ(c.str(), QByteArray("KorvaldArtSymbols110"));
    EXPECT_EQ(c.u16(), 1);                      // fontstyle
    EXPECT_EQ(c.u16(), st().chars.ffontcharset); // fontCharset
    EXPECT_EQ(c.u32(), 0u);                     // usedColors
    EXPECT_EQ(c.u32(), 0u);                     // fWhite
    EXPECT_EQ(c.u32(), 0u);                     // fBlack
    EXPECT_EQ(c.u32(), 50u);
    EXPECT_EQ(c.u32(), 50u);
    EXPECT_EQ(c.str(), QByteArray());
    EXPECT_EQ(c.str(), QByteArray());
    EXPECT_EQ(c.str(), QByteArray("Arial"));
    EXPECT_EQ(c.u32(), 16u);
    EXPECT_EQ(c.u16(), 0);
    EXPECT_EQ(c.u16(), 1);
    EXPECT_EQ(c.str(), QByteArray("Arial"));
    EXPECT_EQ(c.u32(), 12u);
    EXPECT_EQ(c.u16(), 0);
    EXPECT_EQ(c.u16(), 1);
    EXPECT_EQ(c.f64(), 0.01);
    EXPECT_EQ(c.f64(), 0.0);
    EXPECT_EQ(c.u32(), 0x00FFFFFFu); // white background as a colour key
    EXPECT_EQ(c.f64(), 0.01);
    EXPECT_EQ(c.pos - head, qsizetype(c.lengths.last().second));

    c.header("CHAR", 0);
    EXPECT_EQ(c.str(), encodeCp1252(st().characters.value("Quillmark Symbols").characters));

    // Every palette colour, in palette order, with its name, number, key and symbol.
    c.header("COLO", 1);
    const ColorTable& palette = *st().ColorPalettes.find("DMC");
    ASSERT_EQ(c.u32(), quint32(palette.size()));
    for (const auto& [key, e] : palette) {
        EXPECT_EQ(c.str(), e.colorName.toLatin1());
        EXPECT_EQ(c.str(), e.colorID.toLatin1());
        EXPECT_EQ(c.u32(), key);
        EXPECT_EQ(qint32(c.u32()), e.charID);
    }
    c.header("PIXD", 0);
    for (int i = 0; i < 50 * 50; ++i)
        ASSERT_EQ(c.u32(), 0xFFFFFFFFu) << "cell " << i;
    c.header("BACK", 0);
    EXPECT_EQ(c.u32(), 0u);
    c.header("QUAR", 0);
    for (int i = 0; i < 100 * 100; ++i)
        ASSERT_EQ(c.u32(), 0xFFFFFFFFu) << "quarter " << i;
    c.header("TITL", 0);
    EXPECT_EQ(c.str(), st().Title.toLatin1());
    EXPECT_EQ(c.u32(), 0u);
    c.header("FRKN", 0);
    EXPECT_EQ(c.u32(), 0u);
    c.header("BACK", 0);
    EXPECT_EQ(c.u32(), 0u);
    EXPECT_EQ(c.pos, data.size());

    // Each inner block's length is its size with its header.
    for (int i = 1; i < c.lengths.size(); ++i) {
        const qsizetype end = i + 1 < c.lengths.size() ? c.lengths[i + 1].first : data.size();
        EXPECT_EQ(qsizetype(c.lengths[i].second), end - c.lengths[i].first) << "block " << i;
    }
}

TEST_F(QvxFileTest, EverythingOfADesignComesBack)
{
    doc().CreateNewTemplate(5, 4, "Quillmark Symbols", "DMC");
    const ColorKey a = colour(3), b = colour(10), c = colour(20);
    doc().changeBackgroundColor(makeColorKey(250, 240, 200));
    doc().updatePixel(0, 0, a, false);
    doc().updatePixel(4, 3, b, false);
    doc().updatePixel(2, 1, a, false);
    doc().updateQPixel(1, 0, c, false);
    doc().updateQPixel(9, 7, a, false);
    doc().backStitchesAdd({QPoint(0, 0), QPoint(10, 8), b, 0}, false);
    doc().backStitchesAdd({QPoint(3, 1), QPoint(4, 1), c, 1}, false);
    doc().frenchKnotAdd({QPoint(5, 5), c, 0}, false);
    auto rhode = std::make_unique<TRhode>();
    rhode->width = 2;
    rhode->height = 3;
    rhode->color = a;
    rhode->stitches = {{QPoint(2, 2), QPoint(6, 8), a, 0}, {QPoint(6, 2), QPoint(2, 8), a, 1}};
    doc().RhodeAdd(std::move(rhode), false);
    st().Title = QString::fromUtf8("Les fleurs d'été");
    st().comment = {QString::fromUtf8("price 5 €"), QString(), "third line"};
    doc().CalcColorUsage();
    const QJsonObject before = summary();

    const QString file = path("design.qvxp");
    saveDesignFile(doc(), file);
    EXPECT_TRUE(st().fileSaved());
    EXPECT_EQ(st().filename(), file);

    auto other = freshSession();
    openDesignFile(other->document(), file);
    EXPECT_EQ(::designSummary(other->document(), true), before);
    EXPECT_EQ(other->document().checkInvariant(), QString());
    EXPECT_EQ(other->stitch().fileMode, fmOpen);
    EXPECT_TRUE(other->stitch().fileSaved());
    EXPECT_TRUE(other->stitch().FileNameAssigned);
    EXPECT_EQ(other->stitch().filename(), file);
}

TEST_F(QvxFileTest, OlderHeadVersionsOpenWithTheirBlocks)
{
    struct Case
    {
        int version;
        QString background;
        QJsonArray back;
        bool quarters, titled, knots;
    };
    const QJsonArray none;
    const QJsonArray doubled{QJsonArray{0, 0, 4, 4, "#FF0000"}};
    const QJsonArray asStored{QJsonArray{0, 0, 2, 2, "#FF0000"}};
    const Case cases[] = {
        {0, "#FFFFFF", none, false, false, false},
        {1, "#FFFFFF", none, false, false, false},
        {2, "#996633", none, false, false, false},
        {3, "#996633", doubled, false, false, false},
        {4, "#996633", doubled, true, false, false},
        {5, "#996633", doubled, true, true, false},
        {6, "#996633", asStored, true, true, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.version);
        QvxLayout layout;
        layout.headVersion = k.version;
        layout.background = 0x00336699;
        layout.quarters = {1};
        st().Title = "kept";
        st().DefaultTitle = "Default";
        openDesignFile(doc(), writeFile(QStringLiteral("v%1.qvx").arg(k.version), layout.bytes()));
        const QJsonObject s = summary();
        EXPECT_EQ(s["width"].toInt(), 3);
        EXPECT_EQ(s["background"].toString(), k.background);
        EXPECT_EQ(s["cells"].toArray()[0].toArray(), (QJsonArray{"#FF0000", QJsonValue::Null, "#0000FF"}));
        EXPECT_EQ(s["backStitches"].toArray(), k.back);
        EXPECT_EQ(s["quarters"].toArray()[0].toArray()[0], k.quarters ? QJsonValue("#0000FF") : QJsonValue());
        EXPECT_EQ(s["title"].toString(), k.titled ? "A title" : "Default");
        EXPECT_EQ(s["comment"].toArray().size(), k.titled ? 2 : 0);
        EXPECT_EQ(s["frenchKnots"].toArray().size(), k.knots ? 1 : 0);
        EXPECT_EQ(s["rhodes"].toArray().size(), k.knots ? 1 : 0);
        EXPECT_EQ(doc().checkInvariant(), QString());
        EXPECT_EQ(st().filename(), path(QStringLiteral("v%1.qvxp").arg(k.version)));
    }
}

TEST_F(QvxFileTest, ColourListRules)
{
    // Colour numbers of COLO version 0 are numbers; indexes outside the list and -1 are empty;
    // a colour listed twice keeps the entry that has a symbol.
    QvxLayout layout;
    layout.coloVersion = 0;
    layout.colours = {{"Red", "310", 0x0000FF, -1}, {"Red again", "311", 0x0000FF, 4}, {"Green", "5200", 0x00FF00, 2}};
    layout.cells = {0, 1, 2, 7, 0xFFFFFFFF, 0x0000FFFF};
    layout.back.clear();
    layout.knots.clear();
    layout.rhodes.clear();
    openDesignFile(doc(), writeFile("colours.qvxp", layout.bytes()));
    const QJsonObject s = summary();
    EXPECT_EQ(s["cells"].toArray()[0].toArray(), (QJsonArray{"#FF0000", "#FF0000", "#00FF00"}));
    EXPECT_EQ(s["cells"].toArray()[1].toArray(), (QJsonArray{QJsonValue::Null, QJsonValue::Null, QJsonValue::Null}));
    const TColorInfo* red = st().Colors.find(0x0000FF);
    ASSERT_TRUE(red);
    EXPECT_EQ(red->colorID, "311");
    EXPECT_EQ(red->charID, 4);
    EXPECT_EQ(red->colorCount, 2);
    EXPECT_EQ(st().Colors.find(0x00FF00)->colorID, "5200");
    EXPECT_EQ(st().usedColors(), 2);
}

TEST_F(QvxFileTest, FallbacksForWhatIsNotInstalled)
{
    const TCharacterInfo defaultSet = st().characters.value(st().defaultCharacters);
    const TCharacterInfo otherSet = st().characters.value("Bold Shapes");
    ASSERT_FALSE(otherSet.characters.isEmpty());
    struct Case
    {
        QByteArray palette, charSet, font;
        QString expectedSymbols, expectedFont;
    };
    const Case cases[] = {
        {"DMC", "Bold Shapes", "KorvaldArtSymbols110", otherSet.characters, "KorvaldArtSymbols110"},
        {"DMC", "Standard Symbole", "KorvaldArtSymbols110", defaultSet.characters, "KorvaldArtSymbols110"},
        {"DMC", "standard art symbole", "KorvaldArtSymbols110", defaultSet.characters, "KorvaldArtSymbols110"},
        {"DMC", "No such set", "KorvaldArtSymbols110", defaultSet.characters, "KorvaldArtSymbols110"},
        {"DMC", "Bold Shapes", "KorvaldStitchSymbols", otherSet.characters, "KorvaldArtSymbols110"},
        {"DMC", "Bold Shapes", "korvaldartsymbols", otherSet.characters, "KorvaldArtSymbols110"},
        {"DMC", "Bold Shapes", "No Such Font 4711", otherSet.characters, otherSet.fontName},
        {"Private threads", "Bold Shapes", "KorvaldArtSymbols110", otherSet.characters, "KorvaldArtSymbols110"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE((k.palette + " / " + k.charSet + " / " + k.font).toStdString());
        QvxLayout layout;
        layout.palette = k.palette;
        layout.charSet = k.charSet;
        layout.font = k.font;
        openDesignFile(doc(), writeFile("fallback.qvxp", layout.bytes()));
        EXPECT_EQ(st().chars.CharsName, QString::fromLatin1(k.charSet)); // the name is kept
        EXPECT_EQ(st().chars.fcharacters, k.expectedSymbols);
        EXPECT_EQ(st().chars.fontname(), k.expectedFont);
        EXPECT_EQ(st().colorsname(), QString::fromLatin1(k.palette));
        EXPECT_EQ(doc().checkInvariant(), QString());
        const ColorTable* palette = st().ColorPalettes.find(QString::fromLatin1(k.palette));
        ASSERT_TRUE(palette) << "the design's palette is selectable";
        if (k.palette == "DMC") {
            // An installed palette adds its other colours to the design's two.
            EXPECT_EQ(st().Colors.size(), palette->size() + 2 - (palette->contains(0x0000FF) + palette->contains(0xFF0000)));
        } else {
            EXPECT_EQ(palette->keys(), (QList<ColorKey>{0x0000FF, 0xFF0000}));
            EXPECT_EQ(st().Colors.size(), 2);
        }
    }
}

TEST_F(QvxFileTest, DamagedAndOversizedFilesLeaveTheDesignAlone)
{
    doc().updatePixel(1, 1, st().Colors.at(0).first, false);
    st().Title = "Work in progress";
    st().setFilename(path("mine.qvxp"));
    st().setFileSaved(false);
    const QJsonObject before = summary();

    const QByteArray good = QvxLayout().bytes();
    auto patchCount = [&](const char* id, bool last, int skip, quint32 value) {
        QByteArray b = good;
        const qsizetype at = (last ? b.lastIndexOf(id) : b.indexOf(id)) + 16 + skip;
        qToLittleEndian(value, b.data() + at);
        return b;
    };
    struct Case
    {
        const char* what;
        QByteArray bytes;
        const char* message;
    };
    QvxLayout hugeRaster;
    hugeRaster.width = hugeRaster.height = 30000;
    hugeRaster.headVersion = 2; // the builder would write the quarter raster in full
    QvxLayout tooWide;
    tooWide.width = 40000;
    QvxLayout noCells;
    noCells.width = 0;
    noCells.cells.clear();
    QvxLayout longTitle;
    longTitle.title = QByteArray(10001, 'x');
    QvxLayout farStitch;
    farStitch.back = {{0, 0, 0x7FFFFFFF, 2, 0x0000FF}};
    QList<Case> cases{
        {"huge width x height", hugeRaster.bytes(), "cell raster"},
        {"width above 32767", tooWide.bytes(), "design size"},
        {"no cells", noCells.bytes(), "design size"},
        {"huge colour count", patchCount("COLO", false, 0, 0xFFFFFFF0u), "colour list"},
        {"huge back-stitch count", patchCount("BACK", false, 0, 0x40000000u), "back stitches"},
        {"huge comment count", patchCount("TITL", false, 4 + 7, 0xFFFFFFFFu), "comment"},
        {"huge knot count", patchCount("FRKN", false, 0, 0x10000000u), "French knots"},
        {"huge Rhodes count", patchCount("BACK", true, 0, 0x10000000u), "Rhodes"},
        {"huge stitch count of a Rhodes stitch", patchCount("BACK", true, 16, 0x10000000u), "Rhodes"},
        {"string longer than 10000 bytes", longTitle.bytes(), "10000"},
        {"string longer than the file", patchCount("CHAR", false, 0, 5000), "symbol string"},
        {"coordinate outside any design", farStitch.bytes(), "back stitch"},
        {"empty file", QByteArray(), "file magic"},
    };
    // Every truncation of a complete file.
    for (qsizetype n = 1; n < good.size(); ++n)
        cases.append({"truncated", good.left(n), ""});

    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.what) + " (" + std::to_string(k.bytes.size()) + " bytes)");
        const QString file = writeFile("damaged.qvxp", k.bytes);
        try {
            openDesignFile(doc(), file);
            ADD_FAILURE() << "opened";
        } catch (const QuillError& e) {
            EXPECT_TRUE(e.message().contains(file)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QLatin1String(k.message))) << e.message().toStdString();
        }
        ASSERT_EQ(summary(), before);
        EXPECT_EQ(st().filename(), path("mine.qvxp"));
        EXPECT_FALSE(st().fileSaved());
    }
}

TEST_F(QvxFileTest, StringsUpToTheLimitAreRead)
{
    QvxLayout layout;
    layout.title = QByteArray(10000, 'x');
    layout.comment = {QByteArray("caf\xe9 \x80", 6)}; // Windows-1252: é and the euro sign
    openDesignFile(doc(), writeFile("long.qvxp", layout.bytes()));
    EXPECT_EQ(st().Title.size(), 10000);
    EXPECT_EQ(st().comment, QStringList{QString::fromUtf8("café €")});
}

TEST_F(QvxFileTest, TextsTooLongForTheFormatAreNotSaved)
{
    const QString file = writeFile("old.qvxp", "old contents");
    st().comment = {QString(10001, QLatin1Char('y'))};
    st().setFileSaved(false);
    EXPECT_THROW(saveDesignFile(doc(), file), QuillError);
    EXPECT_EQ(readAll(file), QByteArray("old contents"));
    EXPECT_FALSE(st().fileSaved());
}

TEST_F(QvxFileTest, RectangleSaveKeepsTheCellsAndStitchesInside)
{
    doc().CreateNewTemplate(6, 5, "Quillmark Symbols", "DMC");
    const ColorKey a = colour(1), b = colour(2);
    doc().updatePixel(2, 1, a, false);
    doc().updatePixel(3, 2, b, false);
    doc().updatePixel(0, 0, b, false); // outside
    doc().updateQPixel(4, 2, a, false);
    doc().backStitchesAdd({QPoint(4, 2), QPoint(8, 6), a, 0}, false);  // inside
    doc().backStitchesAdd({QPoint(0, 0), QPoint(4, 4), b, 1}, false);  // starts outside
    doc().frenchKnotAdd({QPoint(5, 3), b, 0}, false);                 // inside
    doc().frenchKnotAdd({QPoint(11, 9), b, 1}, false);                // outside
    doc().CalcColorUsage();

    const QString file = path("motif.qvxp");
    SaveQVX(doc(), file, QRect(2, 1, 2, 3));
    auto other = freshSession();
    openDesignFile(other->document(), file);
    const QJsonObject s = ::designSummary(other->document(), true);
    EXPECT_EQ(s["width"].toInt(), 2);
    EXPECT_EQ(s["height"].toInt(), 3);
    const QString ka = colorKeyText(a), kb = colorKeyText(b);
    EXPECT_EQ(s["cells"].toArray(), (QJsonArray{QJsonArray{ka, QJsonValue::Null},
                                                QJsonArray{QJsonValue::Null, kb},
                                                QJsonArray{QJsonValue::Null, QJsonValue::Null}}));
    EXPECT_EQ(s["quarters"].toArray()[0].toArray()[0], QJsonValue(ka));
    EXPECT_EQ(s["backStitches"].toArray(), (QJsonArray{QJsonArray{0, 0, 4, 4, ka}}));
    EXPECT_EQ(s["frenchKnots"].toArray(), (QJsonArray{QJsonArray{1, 1, kb}}));
}
