// Language files: decoding by byte-order mark or Windows-1252, lines, the table of a language,
// loading a language (a file that cannot be loaded changes nothing), the Languages menu's
// entries and the help pages of each context.
#include "core/QuillError.h"
#include "core/SettingsStore.h"
#include "core/TStitch.h"
#include "i18n/HelpTopics.h"
#include "i18n/LanguageFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QByteArray utf16(const QString& text, bool little)
{
    QByteArray out = little ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
    for (const QChar c : text) {
        const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
        out += little ? QByteArray{1, lo} + QByteArray{1, hi} : QByteArray{1, hi} + QByteArray{1, lo};
    }
    return out;
}

TEST(LanguageFile, DecodesByByteOrderMarkOrAsWindows1252)
{
    const QString umlauts = QString::fromUtf8("Kreuzstich \u00fc \u0153 \u20ac");
    const struct { const char* name; QByteArray bytes; bool ok; QString text; } rows[] = {
        {"plain ASCII", "Save\r\nOpen", true, QStringLiteral("Save\r\nOpen")},
        {"Windows-1252 letters", "M\xfc" "ller \x9c \x80 \x85", true, QString::fromUtf8("M\u00fcller \u0153 \u20ac \u2026")},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + umlauts.toUtf8(), true, umlauts},
        {"UTF-16 LE with BOM", utf16(umlauts, true), true, umlauts},
        {"UTF-16 BE with BOM", utf16(umlauts, false), true, umlauts},
        {"empty", "", true, QString()},
        {"only a BOM", "\xEF\xBB\xBF", true, QString()},
        {"byte undefined in Windows-1252", "Save \x81", false, {}},
        {"NUL byte in Windows-1252", QByteArray("Sa\0ve", 5), false, {}},
        {"broken UTF-8 sequence", "\xEF\xBB\xBF" "Save \xC3(", false, {}},
        {"UTF-8 cut in a character", "\xEF\xBB\xBF" "Save \xE2\x82", false, {}},
        {"UTF-16 of odd length", utf16(QStringLiteral("Save"), true) + 'x', false, {}},
        {"UTF-16 lone surrogate", utf16(QStringLiteral("a"), true) + QByteArray("\x00\xD8", 2), false, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        bool ok = !r.ok;
        const QString text = LanguageFile::decode(r.bytes, &ok);
        EXPECT_EQ(ok, r.ok);
        if (r.ok)
            EXPECT_EQ(text, r.text);
        else
            EXPECT_TRUE(text.isEmpty());
    }
}

TEST(LanguageFile, LineEndsAndEmptyLines)
{
    const struct { const char* text; QStringList lines; } rows[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(LanguageFile::splitLines(QString::fromLatin1(r.text)), r.lines);
    }
}

TEST(LanguageFile, ShortOrEmptyTranslationsFallBackToTheKey)
{
    const QStringList keys = {"Save", "Open", "", "Print", "Save"};
    const QStringList translations = {"Speichern", "", "x"};
    const auto pairs = LanguageFile::pairLines(keys, translations);
    const QList<std::pair<QString, QString>> expected = {
        {"Save", "Speichern"}, {"Open", "Open"}, {"Print", "Print"}, {"Save", "Save"}};
    EXPECT_EQ(pairs, expected);
}

class SelectLanguageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = testsupport::currentTestPath();
        QDir(m_dir).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_dir + "/languages"));
        st.LanguagesPath = m_dir + "/languages/";
        st.HelpPath = m_dir + "/help/";
        m_ini = testsupport::currentTestPath(".ini");
        QFile::remove(m_ini);
        write("english.lang", "Save\r\nOpen\r\nPrint\r\nColors used\r\n");
        write("deutsch.lang", "\xEF\xBB\xBF" + QString::fromUtf8("Speichern\r\n\u00d6ffnen\r\nDrucken\r\nVerwendete Farben\r\n").toUtf8());
        write("kurz.lang", "Sauver\r\nOuvrir\r\n");
        write("kaputt.lang", "Speichern \x81\r\n");
    }

    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(st.LanguagesPath + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QString m_dir, m_ini;
    TStitch st;
};

TEST_F(SelectLanguageTest, LoadsTheTableAndRemembersTheLanguage)
{
    SettingsStore store(m_ini);
    selectLanguage(st, store, "deutsch.lang");
    EXPECT_EQ(st.translate("Open"), QString::fromUtf8("\u00d6ffnen"));
    EXPECT_EQ(st.translate("Colors used"), QStringLiteral("Verwendete Farben"));
    // A text that english.lang lacks is shown as it is.
    EXPECT_EQ(st.translate("Not a key"), QStringLiteral("Not a key"));
    EXPECT_EQ(st.DefaultLanguage, QStringLiteral("deutsch.lang"));
    EXPECT_EQ(SettingsStore(m_ini).readString("DefaultLanguage"), QStringLiteral("deutsch.lang"));

    // A name without extension (an older setting) is the same file.
    selectLanguage(st, store, "english");
    EXPECT_EQ(st.translate("Open"), QStringLiteral("Open"));
    EXPECT_EQ(st.DefaultLanguage, QStringLiteral("english.lang"));
}

TEST_F(SelectLanguageTest, AShortFileLeavesTheRestInEnglish)
{
    SettingsStore store(m_ini);
    selectLanguage(st, store, "kurz.lang");
    EXPECT_EQ(st.translate("Save"), QStringLiteral("Sauver"));
    EXPECT_EQ(st.translate("Open"), QStringLiteral("Ouvrir"));
    EXPECT_EQ(st.translate("Print"), QStringLiteral("Print"));
    EXPECT_EQ(st.translate("Colors used"), QStringLiteral("Colors used"));
}

TEST_F(SelectLanguageTest, AFileThatCannotBeLoadedChangesNothing)
{
    SettingsStore store(m_ini);
    selectLanguage(st, store, "deutsch.lang");
    const struct { const char* name; const char* message; } rows[] = {
        {"kaputt.lang", "is not valid text in its encoding"},
        {"missing.lang", "does not exist"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        try {
            selectLanguage(st, store, r.name);
            ADD_FAILURE() << "loaded";
        } catch (const QuillError& e) {
            EXPECT_TRUE(e.message().contains(r.name)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(r.message)) << e.message().toStdString();
        }
        EXPECT_EQ(st.translate("Save"), QStringLiteral("Speichern"));
        EXPECT_EQ(st.DefaultLanguage, QStringLiteral("deutsch.lang"));
        EXPECT_EQ(SettingsStore(m_ini).readString("DefaultLanguage"), QStringLiteral("deutsch.lang"));
    }
    // Without the key file no language loads.
    QFile::remove(st.LanguagesPath + "english.lang");
    EXPECT_THROW(selectLanguage(st, store, "kurz.lang"), QuillError);
    EXPECT_EQ(st.translate("Save"), QStringLiteral("Speichern"));
}

TEST_F(SelectLanguageTest, TheMenuOffersInstalledLanguagesOnly)
{
    write("notes.txt", "Save\r\n");
    st.InstalledLanguages = {"english", "deutsch", "kurz", "absent"};
    QStringList captions, files;
    for (const LanguageEntry& e : ReadLanguages(st)) {
        captions << e.caption;
        files << e.fileName;
    }
    EXPECT_EQ(captions, (QStringList{"deutsch", "english", "kurz"}));
    EXPECT_EQ(files, (QStringList{"deutsch.lang", "english.lang", "kurz.lang"}));
    EXPECT_EQ(languageNamesIn(st.LanguagesPath), (QStringList{"english", "deutsch", "kaputt", "kurz"}));
}

TEST_F(SelectLanguageTest, HelpPagesFallBackToEnglish)
{
    ASSERT_TRUE(QDir().mkpath(st.HelpPath + "english"));
    ASSERT_TRUE(QDir().mkpath(st.HelpPath + "deutsch"));
    for (const char* page : {"english/index.html", "english/print.html", "deutsch/index.html"}) {
        QFile f(st.HelpPath + page);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    st.DefaultLanguage = "deutsch.lang";
    EXPECT_EQ(helpContextPath(st, kHelpContents), st.HelpPath + "deutsch/index.html");
    EXPECT_EQ(helpContextPath(st, 3200), st.HelpPath + "english/print.html");
    EXPECT_EQ(helpContextPath(st, 3300), QString());
    EXPECT_EQ(helpContextPath(st, 1), QString());
    st.DefaultLanguage.clear();
    EXPECT_EQ(helpContextPath(st, kHelpContents), st.HelpPath + "english/index.html");
}

// Every help context has its page in every language whose help ships, and every page of the
// shipped help is reached from a context or from the contents.
TEST(ShippedHelp, EveryContextHasItsPageInEveryLanguage)
{
    const QDir help(testsupport::shippedDataDir() + "/help");
    const QStringList languages = help.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_TRUE(languages.contains("english"));
    ASSERT_TRUE(languages.contains("deutsch"));
    for (const QString& language : languages) {
        for (const HelpTopic& t : helpTopics()) {
            SCOPED_TRACE((language + ' ' + QString::number(t.context)).toStdString());
            QFile page(help.filePath(language + '/' + QString::fromLatin1(t.page)));
            ASSERT_TRUE(page.open(QIODevice::ReadOnly));
            const QByteArray html = page.readAll();
            EXPECT_TRUE(html.contains("<title>")) << t.page;
            EXPECT_TRUE(html.contains("charset=utf-8") || html.contains("charset=UTF-8")) << t.page;
        }
        // Every link between pages leads to a page of the same language.
        const QStringList pages = QDir(help.filePath(language)).entryList({"*.html"}, QDir::Files);
        static const QRegularExpression link(R"(href="([^":#]+\.html))");
        for (const QString& name : pages) {
            QFile page(help.filePath(language + '/' + name));
            ASSERT_TRUE(page.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(page.readAll());
            for (auto m = link.globalMatch(html); m.hasNext();) {
                const QString target = m.next().captured(1);
                EXPECT_TRUE(pages.contains(target)) << language.toStdString() << '/' << name.toStdString()
                                                    << " links to " << target.toStdString();
            }
        }
    }
}

} // namespace
