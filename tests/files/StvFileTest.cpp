// Text designs of the older product: keyword sections in any order, unknown keywords skipped,
// big-endian numbers, colour entries, the palette and symbol rules, and damaged files.
#include "FileTestSupport.h"

#include "core/QuillError.h"
#include "files/DesignFile.h"
#include "session/DesignSummary.h"

#include <QJsonArray>

using namespace filetest;

namespace {

// One "STICKCOL" entry: isWhite, symbol, grey, red, green, blue, skipped byte, number (LE).
QByteArray entry(char symbol, quint8 r, quint8 g, quint8 b, quint16 number)
{
    QByteArray e;
    e += char(0);
    e += symbol;
    e += char(0);
    e += char(r);
    e += char(g);
    e += char(b);
    e += char(0);
    return e + u16(number);
}

struct StvLayout
{
    QList<QByteArray> header{text("WIDTH") + be16(3), text("HEIGHT") + be16(2),
                             text("COLORS") + be16(3), text("BACKCOLOR") + be16(0x2010),
                             text("FONT") + text("KorvaldArtSymbols110") + be16(0),
                             text("COLORTABEL") + text("DMC")};
    QByteArray stickcol = entry('B', 255, 0, 0, 321) + entry('A', 0, 0, 255, 310)
        + entry('Q', 255, 0, 0, 666);
    QByteArray data = QByteArray("\x00\x01\x05\x01\x02\x00", 6);
    QByteArray characters = "ABC";
    QByteArray end = text("END");

    QByteArray bytes() const
    {
        QByteArray b = text("STV") + text("Ravlin") + be16(2) + text("x");
        for (const QByteArray& h : header)
            b += h;
        b += text("ENDHEADER") + text("DATASTART");
        b += text("PALETTE") + QByteArray(12, '\x7f');
        b += text("STICKCOL") + stickcol;
        b += text("DATA") + data;
        b += text("CHARACTERS") + text(characters);
        return b + end;
    }
};

class StvFileTest : public SessionFixture {};

} // namespace

TEST_F(StvFileTest, OpensCellsColoursAndSymbols)
{
    st().Title = "old title";
    st().DefaultTitle = "Default";
    openDesignFile(doc(), writeFile("motif.stv", StvLayout().bytes()));
    const QJsonObject s = summary();
    EXPECT_EQ(s["width"].toInt(), 3);
    EXPECT_EQ(s["height"].toInt(), 2);
    EXPECT_EQ(s["background"].toString(), "#102000"); // 0x2010 as a colour key
    EXPECT_EQ(s["palette"].toString(), "DMC");
    // Index 5 has no colour entry: its cell stays empty.
    EXPECT_EQ(s["cells"].toArray(), (QJsonArray{QJsonArray{"#FF0000", "#0000FF", QJsonValue::Null},
                                                QJsonArray{"#0000FF", "#FF0000", "#FF0000"}}));
    // Two entries of the same colour give one colour, with the first entry's symbol.
    ASSERT_EQ(st().Colors.size(), 2);
    EXPECT_EQ(st().Colors.find(0x0000FF)->charID, 2); // 'B' is the 2nd character of "ABC"
    EXPECT_EQ(st().Colors.find(0xFF0000)->charID, 1); // 'A' is the 1st
    EXPECT_EQ(st().Colors.find(0x0000FF)->colorCount, 3);
    EXPECT_EQ(st().drawcolor(), ColorKey(0x0000FF));
    // The glyphs come from the default character set; title and comment as the opening left them.
    EXPECT_EQ(st().chars.fcharacters, st().characters.value(st().defaultCharacters).characters);
    EXPECT_EQ(st().chars.fontname(), "KorvaldArtSymbols110");
    EXPECT_EQ(st().Title, "Default");
    EXPECT_TRUE(st().comment.isEmpty());
    EXPECT_EQ(s["backStitches"].toArray().size(), 0);
    EXPECT_EQ(doc().checkInvariant(), QString());
    EXPECT_EQ(st().filename(), path("motif.qvxp"));
    EXPECT_EQ(st().fileMode, fmOpen);
}

TEST_F(StvFileTest, HeaderKeywordsInAnyOrderAndUnknownOnesSkipped)
{
    const QJsonObject reference = [&] {
        openDesignFile(doc(), writeFile("a.stv", StvLayout().bytes()));
        return summary();
    }();
    StvLayout reordered;
    std::reverse(reordered.header.begin(), reordered.header.end());
    reordered.header.insert(2, text("GRIDLINES"));
    StvLayout endData;
    endData.end = text("ENDDATA");
    StvLayout noEnd;
    noEnd.end.clear();
    for (const StvLayout& layout : {reordered, endData, noEnd}) {
        openDesignFile(doc(), writeFile("b.stv", layout.bytes()));
        EXPECT_EQ(summary(), reference);
    }
    // An unknown keyword in the data part carries no content.
    QByteArray bytes = StvLayout().bytes();
    bytes.insert(bytes.indexOf("STICKCOL"), text("UNKNOWN"));
    openDesignFile(doc(), writeFile("c.stv", bytes));
    EXPECT_EQ(summary(), reference);
}

TEST_F(StvFileTest, PaletteNameNotInstalledBecomesAPalette)
{
    StvLayout layout;
    layout.header[5] = text("COLORTABEL") + text("Ravlin threads");
    openDesignFile(doc(), writeFile("p.stv", layout.bytes()));
    const ColorTable* p = st().ColorPalettes.find("Ravlin threads");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->keys(), (QList<ColorKey>{0x0000FF, 0xFF0000}));
    // An installed palette adds no colours.
    openDesignFile(doc(), writeFile("q.stv", StvLayout().bytes()));
    EXPECT_EQ(st().Colors.size(), 2);
}

TEST_F(StvFileTest, DamagedFilesLeaveTheDesignAlone)
{
    st().Title = "Mine";
    const QJsonObject before = summary();
    const QString name = st().filename();
    struct Case
    {
        const char* what;
        QByteArray bytes;
    };
    StvLayout huge;
    huge.header[0] = text("WIDTH") + be16(65535);
    huge.header[1] = text("HEIGHT") + be16(65535);
    StvLayout hugeWithoutCells = huge;
    hugeWithoutCells.header[0] = text("WIDTH") + be16(30000);
    hugeWithoutCells.header[1] = text("HEIGHT") + be16(30000);
    hugeWithoutCells.data.clear();
    QByteArray noDataSection = hugeWithoutCells.bytes();
    noDataSection.replace(text("DATA"), text("NOTE"));
    StvLayout tooWide;
    tooWide.header[0] = text("WIDTH") + be16(40000);
    StvLayout manyColours;
    manyColours.header[2] = text("COLORS") + be16(65535);
    StvLayout noSize;
    noSize.header.removeFirst();
    const QByteArray good = StvLayout().bytes();
    QList<Case> cases{{"huge width x height", huge.bytes()},
                      {"huge width x height without cells", noDataSection},
                      {"width above 32767", tooWide.bytes()},
                      {"huge colour count", manyColours.bytes()},
                      {"no width", noSize.bytes()},
                      {"empty file", QByteArray()},
                      {"cut inside the version", good.left(good.indexOf("Ravlin") + 8)},
                      {"cut inside a colour entry", good.left(good.indexOf("STICKCOL") + 9 + 13)},
                      {"cut inside the cells", good.left(good.indexOf(text("DATA")) + 5 + 4)}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const QString file = writeFile("bad.stv", k.bytes);
        try {
            openDesignFile(doc(), file);
            ADD_FAILURE() << "opened";
        } catch (const QuillError& e) {
            EXPECT_TRUE(e.message().contains(file)) << e.message().toStdString();
        }
        EXPECT_EQ(summary(), before);
        EXPECT_EQ(st().filename(), name);
    }
    // Any truncation either opens or is rejected; none crashes or half-opens.
    for (qsizetype n = 0; n < good.size(); ++n) {
        const QString file = writeFile("cut.stv", good.left(n));
        const QJsonObject was = summary();
        const QString wasName = st().filename();
        try {
            openDesignFile(doc(), file);
            EXPECT_EQ(doc().checkInvariant(), QString()) << n;
        } catch (const QuillError&) {
            EXPECT_EQ(summary(), was) << n;
            EXPECT_EQ(st().filename(), wasName) << n;
        }
    }
}
