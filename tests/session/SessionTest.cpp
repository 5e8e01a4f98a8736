// The headless start-up over the shipped data: first run, catalogues, the first design with a
// symbol of its own for every colour, and the failures that stop the application.
#include "core/QuillError.h"
#include "core/SettingsStore.h"
#include "core/SymbolFont.h"
#include "palettes/CmykTable.h"
#include "session/Session.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QString freshSettings(const char* name)
{
    const QString path = testsupport::tempRoot() + QStringLiteral("/session-") + name + QStringLiteral(".ini");
    QFile::remove(path);
    return path;
}

TEST(Session, FirstRunOverTheShippedData)
{
    const QString ini = freshSettings("first");
    Session session({ini, QString()}); // the shipped data is found by itself
    const QStringList warnings = session.initialiseWithNewDesign();
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();

    TStitch& st = session.stitch();
    EXPECT_EQ(st.maxColors, 600);
    EXPECT_EQ(st.defaultPalette, "DMC");
    EXPECT_EQ(st.defaultCharacters, "Quillmark Symbols");
    EXPECT_EQ(st.ColorPalettes.keys(), (QStringList{"Anchor", "DMC", "Madeira"}));
    EXPECT_TRUE(st.characters.contains("Quillmark Symbols"));
    EXPECT_TRUE(st.characters.contains("Bold Shapes"));
    EXPECT_TRUE(st.characters.contains("Letters and Digits"));
    EXPECT_TRUE(st.fileSaved());

    PatternDocument& doc = session.document();
    EXPECT_EQ(doc.width(), 50);
    EXPECT_EQ(doc.height(), 50);
    EXPECT_EQ(st.colorsname(), "DMC");
    EXPECT_EQ(doc.checkInvariant(), QString());

    // Every DMC colour is in the table with its number, name and palette order, and carries
    // a symbol of its own that the symbol font draws.
    const ColorTable& dmc = *st.ColorPalettes.find("DMC");
    ASSERT_EQ(st.Colors.size(), dmc.size());
    const QRawFont font = symbolRawFont(st.chars.fontname(), 16);
    QSet<QChar> symbols;
    for (const auto& [key, e] : st.Colors) {
        const TColorInfo& p = *dmc.find(key);
        EXPECT_EQ(e.colorID, p.colorID);
        EXPECT_EQ(e.colorName, p.colorName);
        EXPECT_EQ(e.orderID, p.orderID);
        const QChar symbol = st.chars.symbolAt(e.charID);
        ASSERT_FALSE(symbol.isNull()) << e.colorID.toStdString();
        EXPECT_TRUE(symbolFontHasGlyph(font, symbol.unicode())) << e.colorID.toStdString();
        symbols.insert(symbol);
    }
    EXPECT_EQ(symbols.size(), st.Colors.size());

    // The store now holds every defaulted value; a second start reads the same.
    EXPECT_TRUE(session.writeSettings());
    Session again({ini, QString()});
    again.initialiseWithNewDesign();
    EXPECT_EQ(again.stitch().ColorPalettes.keys(), st.ColorPalettes.keys());
}

TEST(Session, ASettingsFileThatCannotBeWrittenIsReportedNotThrown)
{
    // The settings folder is replaced by a plain file after the start: closing the window
    // must get a message back, not an exception out of its close handler.
    const QString folder = testsupport::tempRoot() + QStringLiteral("/unwritable-settings");
    QDir(folder).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(folder));
    Session session({folder + QStringLiteral("/Quillmark.ini"), testsupport::shippedDataDir()});
    session.initialiseWithNewDesign();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QString error;
    bool written = true;
    EXPECT_NO_THROW(written = session.writeSettings(&error));
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.contains(QStringLiteral("The settings could not be saved."))) << error.toStdString();
    QFile::remove(folder);
}

TEST(Session, MissingPaletteFallsBackToTheSmallestName)
{
    const QString ini = freshSettings("fallback");
    {
        SettingsStore store(ini);
        Session s({ini, testsupport::shippedDataDir()});
        s.initialise();
    }
    SettingsStore store(ini);
    store.writeString("DefaultColorTable", "No such palette");
    store.writeString("DefaultCharacterMap", "No such set");
    ASSERT_TRUE(store.sync());
    Session session({ini, testsupport::shippedDataDir()});
    session.initialiseWithNewDesign();
    EXPECT_EQ(session.stitch().colorsname(), "Anchor");
    EXPECT_EQ(session.stitch().chars.CharsName, "Bold Shapes");
}

TEST(Session, MissingDataFoldersStopTheApplication)
{
    const QString ini = freshSettings("missing");
    const QString empty = testsupport::tempRoot() + QStringLiteral("/no-data");
    QDir().mkpath(empty);
    Session session({ini, empty});
    try {
        session.initialise();
        FAIL() << "start-up went on without data";
    } catch (const QuillError& e) {
        EXPECT_EQ(e.message(), "Software was not installed properly. Please reinstall.");
    }
}

// A copy of the shipped data folders that a test may change.
QString copyOfShippedData(const char* name)
{
    const QString root = testsupport::tempRoot() + QStringLiteral("/data-") + name;
    QDir(root).removeRecursively();
    for (const char* sub : {"palettes", "characters", "fonts"}) {
        const QDir from(testsupport::shippedDataDir() + QLatin1Char('/') + sub);
        const QString to = root + QLatin1Char('/') + sub;
        QDir().mkpath(to);
        for (const QString& f : from.entryList(QDir::Files))
            QFile::copy(from.filePath(f), to + QLatin1Char('/') + f);
    }
    return root;
}

void writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

TEST(Session, EveryInitialisationReadsTheCmykTable)
{
    const QString data = copyOfShippedData("cmyk");
    const QString cmyk = data + QStringLiteral("/palettes/cmyk.ini");
    writeText(cmyk, "[main]\r\ncount=2\r\n[color1]\r\nrgb=$FF0000\r\nKValue=100\r\n"
                    "[color2]\r\nrgb=oops\r\n");
    Session session({freshSettings("cmyk"), data});
    const QStringList warnings = session.initialiseWithNewDesign();
    ASSERT_EQ(warnings.size(), 1) << warnings.join('\n').toStdString();
    EXPECT_TRUE(warnings[0].contains(QDir::toNativeSeparators(cmyk))) << warnings[0].toStdString();
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("[color2]"))) << warnings[0].toStdString();
    TStitch& st = session.stitch();
    ASSERT_EQ(st.CMYK.size(), 1);
    EXPECT_EQ(printColor(st, makeColorKey(255, 0, 0), true), makeColorKey(0, 0, 0));

    // The next initialisation (New, Open) reads the file again: edits not saved are gone,
    // a removed file empties the table.
    st.CMYK.clear();
    EXPECT_EQ(session.initialise().size(), 1);
    EXPECT_EQ(st.CMYK.size(), 1);
    ASSERT_TRUE(QFile::remove(cmyk));
    EXPECT_TRUE(session.initialise().isEmpty());
    EXPECT_TRUE(st.CMYK.isEmpty());
}

TEST(Session, AMissingFolderOfTheDataStopsTheStartOnlyWhenItHoldsCatalogues)
{
    // A copy of the shipped data without one of its folders: the palettes and the character
    // sets are needed; without the fonts the symbol font cannot be installed, which is said
    // and the start goes on.
    const struct { const char* missing; bool starts; } rows[] = {
        {"fonts", true}, {"palettes", false}, {"characters", false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.missing);
        const QString data = testsupport::tempRoot() + QStringLiteral("/without-") + r.missing;
        QDir(data).removeRecursively();
        for (const char* sub : {"palettes", "characters", "fonts"}) {
            if (qstrcmp(sub, r.missing) == 0)
                continue;
            const QDir from(testsupport::shippedDataDir() + QLatin1Char('/') + sub);
            ASSERT_TRUE(QDir().mkpath(data + QLatin1Char('/') + sub));
            for (const QString& f : from.entryList(QDir::Files))
                ASSERT_TRUE(QFile::copy(from.filePath(f), data + QLatin1Char('/') + sub + QLatin1Char('/') + f));
        }
        Session session({freshSettings(r.missing), data});
        if (!r.starts) {
            EXPECT_THROW(session.initialiseWithNewDesign(), QuillError);
            continue;
        }
        const QStringList warnings = session.initialiseWithNewDesign();
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_TRUE(warnings.first().startsWith("Could not isntall font.")) << warnings.first().toStdString();
        EXPECT_EQ(session.document().width(), 50);
        EXPECT_FALSE(session.stitch().ColorPalettes.isEmpty());
    }
}

} // namespace

namespace {

// The language of the settings is loaded before anything is shown; one that cannot be loaded
// is reported and leaves the texts in English (English itself needs no file).
TEST(Session, StartsInTheLanguageOfTheSettings)
{
    const struct { const char* name; const char* language; const char* file; const char* warning; } rows[] = {
        {"german", "deutsch.lang", "Datei", nullptr},
        {"old setting without extension", "francais", "Fichier", nullptr},
        {"missing file", "klingon.lang", "File", "klingon.lang"},
        {"english", "english.lang", "File", nullptr},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const QString ini = freshSettings(r.name);
        {
            Session first({ini, QString()});
            first.initialise();
            first.settings().writeString(QStringLiteral("DefaultLanguage"), QString::fromLatin1(r.language));
            first.settings().sync();
        }
        Session session({ini, QString()});
        const QStringList warnings = session.initialise();
        EXPECT_EQ(session.stitch().translate(QStringLiteral("File")), QString::fromLatin1(r.file));
        if (r.warning) {
            ASSERT_EQ(warnings.size(), 1);
            EXPECT_TRUE(warnings.first().contains(QString::fromLatin1(r.warning))) << warnings.first().toStdString();
        } else
            EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    }
}

} // namespace
