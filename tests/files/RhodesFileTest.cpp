// The Rhodes catalogue file: the round trip, the shipped catalogue, definitions refused by
// name while the others stay, a damaged file reported with its line and column (the shipped
// definitions standing in), and the safe write that keeps a damaged file as a backup.
#include "core/QuillError.h"
#include "core/TStitch.h"
#include "files/RhodesFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<TRhode> definition(const QString& name, int w, int h, bool original,
                                   QList<QLine> stitches)
{
    auto r = std::make_unique<TRhode>();
    r->name = name;
    r->width = w;
    r->height = h;
    r->original = original;
    for (const QLine& l : stitches)
        r->stitches.append(TBackStitch{l.p1(), l.p2(), 0, 0});
    return r;
}

void expectSameCatalogue(const TRhodeList& a, const TRhodeList& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(a[i]->name.toStdString());
        EXPECT_EQ(a[i]->name, b[i]->name);
        EXPECT_EQ(a[i]->width, b[i]->width);
        EXPECT_EQ(a[i]->height, b[i]->height);
        EXPECT_EQ(a[i]->original, b[i]->original);
        EXPECT_EQ(a[i]->stitches, b[i]->stitches);
    }
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class RhodesFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = testsupport::currentTestPath() + QLatin1Char('/');
        QDir(folder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder));
        st.RhodesPath = folder;
    }
    QString path() const { return folder + QStringLiteral("rhodes.xml"); }
    void write(const QByteArray& bytes)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QString folder;
    TStitch st;
};

TEST_F(RhodesFileTest, RoundTripKeepsOrderNamesSizesFlagsAndStitches)
{
    TRhodeList catalogue;
    catalogue.push_back(definition(QStringLiteral("MINE <&> \"A\""), 3, 2, false,
                                   {QLine(0, 0, 6, 4), QLine(3, 0, 3, 4), QLine(2, 2, 2, 2)}));
    catalogue.push_back(definition(QStringLiteral("SHIPPED Ü"), 1, 1, true, {QLine(0, 2, 2, 0)}));
    catalogue.push_back(definition(QStringLiteral("EMPTY"), 20, 20, false, {}));
    st.RhodeCatalogue = std::move(catalogue);
    RhodesFile::saveRhodes(st);

    const QByteArray bytes = readAll(path());
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << bytes.left(60).data();
    EXPECT_TRUE(bytes.contains("<rhode name=\"MINE &lt;&amp;&gt; &quot;A&quot;\" width=\"3\" "
                               "height=\"2\" original=\"False\">"))
        << bytes.data();

    TStitch again;
    again.RhodesPath = folder;
    EXPECT_EQ(RhodesFile::loadRhodes(again), QStringList());
    expectSameCatalogue(again.RhodeCatalogue, st.RhodeCatalogue);
    // Written again, the file does not change.
    RhodesFile::saveRhodes(again);
    EXPECT_EQ(readAll(path()), bytes);
}

TEST_F(RhodesFileTest, ShippedCatalogueIsWellFormedOriginalAndWrittenAsTheProgramWritesIt)
{
    const QString shipped = testsupport::shippedDataDir() + QStringLiteral("/rhodes/rhodes.xml");
    const QByteArray bytes = readAll(shipped);
    ASSERT_FALSE(bytes.isEmpty());
    QStringList refused;
    const TRhodeList catalogue = RhodesFile::parse(bytes, shipped, st, &refused);
    EXPECT_EQ(refused, QStringList());
    ASSERT_GE(catalogue.size(), 4u);
    QSet<int> squares;
    for (const auto& r : catalogue) {
        EXPECT_TRUE(r->original) << r->name.toStdString();
        EXPECT_FALSE(r->stitches.isEmpty()) << r->name.toStdString();
        if (r->width == r->height)
            squares.insert(r->width);
    }
    EXPECT_EQ(squares, (QSet<int>{1, 2, 3, 4}));
    // The copy inside the program is the same catalogue.
    expectSameCatalogue(RhodesFile::shipped(st), catalogue);
    // The editor closing over an unchanged catalogue writes the same bytes.
    EXPECT_EQ(RhodesFile::serialize(catalogue), bytes);
}

TEST_F(RhodesFileTest, MissingFileGivesAnEmptyCatalogue)
{
    st.RhodeCatalogue.push_back(definition(QStringLiteral("OLD"), 1, 1, false, {}));
    EXPECT_EQ(RhodesFile::loadRhodes(st), QStringList());
    EXPECT_TRUE(st.RhodeCatalogue.empty());
}

TEST_F(RhodesFileTest, ReadingFollowsTheFormatsLeeway)
{
    // Any element name for a definition, the first "stitches" child only, any child of it as a
    // stitch, "original" as a number, a definition without stitches.
    write(R"(<?xml version="1.0"?>
<rhodes>
  <whatever name="A" width="2" height="1" original="1">
    <note/>
    <stitches><s fromx="0" fromy="0" tox="4" toy="2"/><t fromx="4" fromy="0" tox="0" toy="2"/></stitches>
    <stitches><stitch fromx="1" fromy="1" tox="1" toy="1"/></stitches>
  </whatever>
  <rhode name="B" width="1" height="1" original="0"/>
  <rhode name="C" width="1" height="1" original="true"><stitches/></rhode>
</rhodes>
)");
    EXPECT_EQ(RhodesFile::loadRhodes(st), QStringList());
    TRhodeList expected;
    expected.push_back(definition("A", 2, 1, true, {QLine(0, 0, 4, 2), QLine(4, 0, 0, 2)}));
    expected.push_back(definition("B", 1, 1, false, {}));
    expected.push_back(definition("C", 1, 1, true, {}));
    expectSameCatalogue(st.RhodeCatalogue, expected);
}

TEST_F(RhodesFileTest, BadDefinitionsAreRefusedByNameAndTheOthersKept)
{
    const struct { const char* element; const char* problem; } rows[] = {
        {R"(<rhode name="BAD" width="x" height="1" original="True"/>)", "\"width\""},
        {R"(<rhode name="BAD" height="1" original="True"/>)", "\"width\""},
        {R"(<rhode name="BAD" width="1" height="1"/>)", "\"original\""},
        {R"(<rhode name="BAD" width="1" height="1" original="maybe"/>)", "\"original\""},
        {R"(<rhode name="BAD" width="0" height="1" original="True"/>)", "1 .. 20"},
        {R"(<rhode name="BAD" width="1" height="21" original="True"/>)", "1 .. 20"},
        {R"(<rhode name="BAD" width="1" height="-3" original="True"/>)", "1 .. 20"},
        {R"(<rhode name="BAD" width="1" height="1" original="True"><stitches><stitch fromx="0" fromy="0" tox="3" toy="2"/></stitches></rhode>)", "(3, 2)"},
        {R"(<rhode name="BAD" width="2" height="1" original="True"><stitches><stitch fromx="0" fromy="-1" tox="4" toy="2"/></stitches></rhode>)", "0 .. 4 x 0 .. 2"},
        {R"(<rhode name="BAD" width="1" height="1" original="True"><stitches><stitch fromx="0" fromy="0" tox="2"/></stitches></rhode>)", "stitch 1"},
        {R"(<rhode name="BAD" width="1" height="1" original="True"><stitches><stitch fromx="0" fromy="0" tox="2" toy="99999999999"/></stitches></rhode>)", "stitch 1"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.element);
        write(QByteArray("<rhodes>\n<rhode name=\"FIRST\" width=\"1\" height=\"1\" original=\"False\">"
                         "<stitches><stitch fromx=\"0\" fromy=\"0\" tox=\"2\" toy=\"2\"/></stitches></rhode>\n")
              + r.element
              + "\n<rhode name=\"LAST\" width=\"1\" height=\"1\" original=\"False\"/>\n</rhodes>\n");
        const QStringList problems = RhodesFile::loadRhodes(st);
        ASSERT_EQ(problems.size(), 1);
        EXPECT_TRUE(problems[0].contains(QStringLiteral("\"BAD\""))) << problems[0].toStdString();
        EXPECT_TRUE(problems[0].contains(QLatin1String(r.problem))) << problems[0].toStdString();
        EXPECT_TRUE(problems[0].contains(QDir::toNativeSeparators(path()))) << problems[0].toStdString();
        ASSERT_EQ(st.RhodeCatalogue.size(), 2u);
        EXPECT_EQ(st.RhodeCatalogue[0]->name, QStringLiteral("FIRST"));
        EXPECT_EQ(st.RhodeCatalogue[1]->name, QStringLiteral("LAST"));
        EXPECT_TRUE(st.RhodesFileDamaged);
    }
    // A definition without a name is named by its place in the file.
    write(R"(<rhodes><rhode name="OK" width="1" height="1" original="False"/><rhode width="99" height="1" original="False"/></rhodes>)");
    const QStringList problems = RhodesFile::loadRhodes(st);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(QStringLiteral("definition 2"))) << problems[0].toStdString();
}

TEST_F(RhodesFileTest, MalformedFileIsReportedWithLineAndColumnAndTheShippedDefinitionsStay)
{
    const struct { QByteArray text; int line; } rows[] = {
        {"<rhodes>\n  <rhode name=\"A\" width=\"1\" height=\"1\" original=\"True\">\n  </rhodes>\n", 3},
        {"<rhodes>\n<rhode name=\"A\" width=\"1\" height=\"1\" original=\"True\"/>\n<rhode name=\"B\n", 4},
        {"", 1},
        {"<rhodes/>\n<second/>\n", 2},
        {"\xff\xfe<<<", 1},
    };
    const size_t shippedCount = RhodesFile::shipped(st).size();
    ASSERT_GT(shippedCount, 0u);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text.toStdString());
        write(r.text);
        const QStringList problems = RhodesFile::loadRhodes(st);
        ASSERT_EQ(problems.size(), 1);
        EXPECT_TRUE(problems[0].contains(QDir::toNativeSeparators(path()))) << problems[0].toStdString();
        EXPECT_TRUE(problems[0].contains(QStringLiteral("line %1, column ").arg(r.line)))
            << problems[0].toStdString();
        EXPECT_EQ(st.RhodeCatalogue.size(), shippedCount);
        EXPECT_TRUE(st.RhodesFileDamaged);
    }
    // The parser on its own throws the same message.
    EXPECT_THROW(RhodesFile::parse("<rhodes>", path(), st, nullptr), QuillError);
}

TEST_F(RhodesFileTest, WritingOverADamagedFileKeepsItAsBackupFirst)
{
    const QByteArray damaged = "<rhodes><rhode name=\"MINE\" width=\"1\"";
    write(damaged);
    ASSERT_EQ(RhodesFile::loadRhodes(st).size(), 1);
    RhodesFile::saveRhodes(st);
    EXPECT_EQ(readAll(path() + QStringLiteral(".bak")), damaged);
    EXPECT_FALSE(st.RhodesFileDamaged);
    TStitch again;
    again.RhodesPath = folder;
    EXPECT_EQ(RhodesFile::loadRhodes(again), QStringList());
    expectSameCatalogue(again.RhodeCatalogue, st.RhodeCatalogue);

    // A sound file is replaced without a backup.
    QFile::remove(path() + QStringLiteral(".bak"));
    RhodesFile::saveRhodes(again);
    EXPECT_FALSE(QFileInfo::exists(path() + QStringLiteral(".bak")));
}

TEST_F(RhodesFileTest, FailedWriteLeavesTheOldFileAndThrows)
{
    write("<rhodes/>\n");
    st.RhodeCatalogue.push_back(definition(QStringLiteral("NEW"), 1, 1, false, {}));
    // A folder where the file should be: the write fails, nothing is replaced.
    st.RhodesPath = folder + QStringLiteral("missing/deeper/");
    EXPECT_THROW(RhodesFile::saveRhodes(st), QuillError);
    EXPECT_EQ(readAll(path()), QByteArray("<rhodes/>\n"));
}

} // namespace
