// Every text the application shows is a key of the shipped "english.lang", so that every
// language file can translate it: the main window, its menus and tool bar, and every window
// and dialog it opens are walked (a new window is one more `run` of its command with
// walkAndClose, and its name in the list of windows reached), and each visible caption, title,
// tool tip, list item and column header must be made of keys of english.lang (with their
// decorations such as " ..." and ": ") and of the user's data (names of palettes, character
// sets, fonts, colours, files, numbers). Every text the windows asked the translation table
// for must be a key of english.lang too; the failure lists the missing keys ready to append
// (tools/check-languages.py --missing takes such a list).
#include "ModalScript.h"
#include "app/MainWindow.h"
#include "app/ChartWidget.h"
#include "convert/ui/TFWizzard.h"
#include "core/Product.h"
#include "core/ui/ColorPanel.h"
#include "core/ui/TFNewImage.h"
#include "i18n/LanguageFile.h"
#include "i18n/ui/THelpWindow.h"
#include "palettes/ui/TFChangeCharacter.h"
#include "palettes/ui/TFCharacters.h"
#include "palettes/ui/TFChoosePalette.h"
#include "palettes/ui/TFPalette.h"
#include "support/TestSupport.h"
#include "update/UpdateChecker.h"
#include "view/ui/GhostWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

namespace {

using namespace apptest;

// One text that is not made of translations and data, with where it was seen.
struct Finding
{
    QString where;
    QString text;
};

class TextWalk
{
public:
    explicit TextWalk(TStitch& stitch)
        : m_stitch(stitch),
          m_keys(LanguageFile::read(testsupport::shippedDataDir() + QStringLiteral("/languages/english.lang")))
    {
        m_keys.removeAll(QString());
    }

    // Words that are the user's data or the product's name, never translated.
    void addData(const QStringList& words)
    {
        for (const QString& w : words)
            if (!w.trimmed().isEmpty())
                m_data << w.trimmed();
    }

    // Every visible text of `window` and its widgets, and of `actions`.
    void walk(QWidget* window, const QString& name)
    {
        check(name + QStringLiteral(" title"), window->windowTitle());
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        for (QWidget* w : widgets) {
            if (w != window && (w->isWindow() || !shown(w, window)))
                continue;
            const QString where = name + QLatin1Char('/') + describe(w);
            check(where + QStringLiteral(" tool tip"), w->toolTip());
            if (auto* l = qobject_cast<QLabel*>(w))
                check(where, l->text());
            else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                // A tool button that shows only its icon shows no text.
                auto* tb = qobject_cast<QToolButton*>(w);
                if (!tb || tb->toolButtonStyle() != Qt::ToolButtonIconOnly)
                    check(where, b->text());
            }
            else if (auto* g = qobject_cast<QGroupBox*>(w))
                check(where, g->title());
            if (auto* c = qobject_cast<QComboBox*>(w); c && !c->isEditable())
                for (int i = 0; i < c->count(); ++i)
                    check(where + QStringLiteral(" item"), c->itemText(i));
            if (auto* t = qobject_cast<QTabWidget*>(w))
                for (int i = 0; i < t->count(); ++i)
                    check(where + QStringLiteral(" tab"), t->tabText(i));
            if (auto* e = qobject_cast<QLineEdit*>(w))
                check(where + QStringLiteral(" placeholder"), e->placeholderText());
            if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model()) {
                const auto* h = qobject_cast<QHeaderView*>(w);
                if (!h) {
                    for (int i = 0; i < v->model()->columnCount(); ++i)
                        check(where + QStringLiteral(" header"),
                              v->model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString());
                }
            }
            for (QAction* a : w->actions())
                checkAction(where, a);
        }
    }

    void checkAction(const QString& where, QAction* a)
    {
        if (!a->isVisible() || a->isSeparator())
            return;
        check(where + QStringLiteral(" action ") + a->objectName(), a->text());
        check(where + QStringLiteral(" action tip ") + a->objectName(), a->toolTip());
        if (QMenu* m = a->menu())
            for (QAction* sub : m->actions())
                checkAction(where + QLatin1Char('>') + a->objectName(), sub);
    }

    // The texts the windows asked the translation table for that english.lang does not hold
    // (and that are not the user's data), in the order they were first asked.
    QStringList missingKeys() const
    {
        const QSet<QString> keys(m_keys.begin(), m_keys.end());
        const QSet<QString> data(m_data.begin(), m_data.end());
        QStringList out;
        for (qsizetype i = 0; i < m_stitch.Language.size(); ++i) {
            const QString& key = m_stitch.Language.at(i).first;
            if (!keys.contains(key) && !data.contains(key.trimmed()) && !key.trimmed().isEmpty())
                out << key;
        }
        return out;
    }

    QList<Finding> findings() const
    {
        QStringList known = m_keys + m_data;
        std::sort(known.begin(), known.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
        QList<Finding> out;
        for (const Finding& f : m_seen)
            if (!madeOf(f.text, known))
                out << f;
        return out;
    }

    // How many texts were seen in the window of that name.
    int seenIn(const QString& name) const
    {
        return int(std::count_if(m_seen.begin(), m_seen.end(), [&](const Finding& f) {
            return f.where.startsWith(name + QLatin1Char('/')) || f.where.startsWith(name + QLatin1Char(' '));
        }));
    }

private:
    void check(const QString& where, const QString& text)
    {
        if (!text.trimmed().isEmpty())
            m_seen << Finding{where, text};
    }

    static bool madeOf(QString text, const QStringList& known)
    {
        text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
        text.remove(QLatin1Char('&'));
        text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
        text.remove(QRegularExpression(QStringLiteral("<[^>]*>"))); // rich-text tags
        // A translation with %1, %2 ... is a message with its arguments filled in: its own
        // words go, the arguments stay and must be translations or data themselves.
        static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
        for (const QString& k : known) {
            if (!k.contains(placeholder))
                continue;
            const QStringList pieces = k.trimmed().split(placeholder);
            QString pattern = QRegularExpression::escape(pieces.first());
            for (qsizetype i = 1; i < pieces.size(); ++i)
                pattern += QStringLiteral("(.*?)") + QRegularExpression::escape(pieces.at(i));
            const QRegularExpression message(pattern, QRegularExpression::DotMatchesEverythingOption);
            for (auto m = message.match(text); m.hasMatch(); m = message.match(text)) {
                QString arguments = QStringLiteral(" ");
                for (int i = 1; i <= m.lastCapturedIndex(); ++i)
                    arguments += m.captured(i) + QLatin1Char(' ');
                text.replace(m.capturedStart(), m.capturedLength(), arguments);
                if (m.capturedLength() == 0)
                    break;
            }
        }
        for (const QString& k : known)
            if (!k.trimmed().isEmpty())
                text.replace(k.trimmed(), QStringLiteral(" "));
        // Sizes ("64 x 48"), shortcuts ("Ctrl+Q"), numbers and punctuation need no translation.
        text.remove(QRegularExpression(QStringLiteral("\\d+\\s*x\\s*\\d+")));
        text.remove(QRegularExpression(QStringLiteral("\\b(Ctrl|Shift|Alt|Meta)\\+")));
        return !text.contains(QRegularExpression(QStringLiteral("\\p{L}{2,}")));
    }

    // Shown now, or on a page of a stacked widget that the user can turn to.
    static bool shown(QWidget* w, QWidget* window)
    {
        for (QWidget* p = w; p && p != window; p = p->parentWidget()) {
            if (p->isHidden() && !qobject_cast<QStackedWidget*>(p->parentWidget()))
                return false;
        }
        return true;
    }

    static QString describe(QWidget* w)
    {
        return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    }

    TStitch& m_stitch;
    QStringList m_keys; // the lines of english.lang
    QStringList m_data;
    QList<Finding> m_seen;
};

// Answers a file dialog with `path`, typed as the file name.
ModalScript::Step chooseFile(const QString& path)
{
    return [path](QWidget* d) {
        auto* dialog = qobject_cast<QFileDialog*>(d);
        ASSERT_NE(dialog, nullptr);
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(path);
        static_cast<QDialog*>(dialog)->accept();
    };
}

class TranslationWalkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings = testsupport::currentTestPath(QStringLiteral(".ini"));
        QFile::remove(m_settings);
        m_dir = testsupport::currentTestPath();
        QDir(m_dir).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_dir));
        w = std::make_unique<MainWindow>(Session::Options{m_settings, testsupport::shippedDataDir()});
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        walk = std::make_unique<TextWalk>(w->stitch());
    }

    // The data the windows show as it is: catalogue names, fonts, colours, files, product.
    void addData()
    {
        TStitch& st = w->stitch();
        walk->addData(st.ColorPalettes.keys());
        walk->addData(st.characters.keys());
        walk->addData(st.InstalledLanguages);
        walk->addData(st.RecentFiles);
        walk->addData(QDir(st.libraryPath).entryList(QDir::Files));
        // The library path, whole or shortened to its label's width.
        walk->addData(QDir::fromNativeSeparators(st.libraryPath).split(QLatin1Char('/')));
        walk->addData(QFontDatabase::families());
        walk->addData({Product::kAboutTitle, Product::kProductName, Product::kCaptionPrefix,
                       QFileInfo(st.filename()).fileName(), st.Title, st.colorsname(),
                       st.chars.CharsName, QStringLiteral("QuillmarkMode"), QStringLiteral("KORVALD")});
        // Names of file formats, the same in every language.
        walk->addData({QStringLiteral("PDF"), QStringLiteral(".JPEG"), QStringLiteral(".BMP"), QStringLiteral(".PNG")});
        for (int i = 0; i < st.ColorPalettes.size(); ++i)
            for (const auto& [key, info] : st.ColorPalettes.at(i).second)
                walk->addData({info.colorName, info.colorID});
    }

    // A modal window: walked, then closed as the title-bar button does.
    ModalScript::Step walkAndClose(const QString& name)
    {
        return [this, name](QWidget* d) {
            walk->walk(d, name);
            d->close();
        };
    }

    void run(const char* action, QList<ModalScript::Step> steps)
    {
        ModalScript script(std::move(steps));
        w->action(QString::fromLatin1(action))->trigger();
        EXPECT_TRUE(script.done()) << action;
    }

    QString m_settings;
    QString m_dir;
    std::unique_ptr<MainWindow> w;
    std::unique_ptr<TextWalk> walk;
};

TEST_F(TranslationWalkTest, EveryVisibleTextCameThroughTheTranslationTable)
{
    // The main window with its menus, tool bar, colour panel and status bar.
    w->document().updatePixel(2, 2, w->stitch().drawcolor(), true);
    walk->walk(w.get(), QStringLiteral("main window"));
    for (QAction* a : w->findChildren<QAction*>())
        if (a->parent() == w.get() && !a->menu())
            walk->checkAction(QStringLiteral("main window"), a);

    // "New empty Template ...": the unsaved-changes question, then the dialog.
    run("MenuNew", {walkAndClose(QStringLiteral("unsaved question"))});
    w->stitch().setFileSaved(true);
    run("MenuNew", {walkAndClose(QStringLiteral("New Image"))});

    // The conversion wizard: each of its four steps, its help page and its messages.
    QImage picture(24, 18, QImage::Format_ARGB32);
    picture.fill(qRgb(200, 40, 40));
    const QString picturePath = m_dir + QStringLiteral("/red.png");
    ASSERT_TRUE(picture.save(picturePath));
    const ModalScript::Step choosePicture = chooseFile(picturePath);
    const ModalScript::Step walkWizard = [this](QWidget* d) {
        auto* wizard = qobject_cast<TFWizzard*>(d);
        ASSERT_NE(wizard, nullptr);
        for (int step = 1; step <= 4; ++step) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !wizard->isBusy(); }, 20000));
            if (wizard->step() < step) {
                wizard->nextButton()->click();
                EXPECT_TRUE(QTest::qWaitFor([&] { return wizard->step() >= step; }, 20000));
            }
            walk->walk(wizard, QStringLiteral("wizard step %1").arg(step));
            THelpWindow* help = showHelpContext(wizard, w->stitch(), wizard->helpContext());
            walk->walk(help, QStringLiteral("wizard help %1").arg(step));
            help->close();
        }
        wizard->reject();
    };
    run("MenuConvert", {choosePicture, walkWizard});
    // A picture that cannot be read: the message box.
    const QString broken = m_dir + QStringLiteral("/broken.png");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("no picture");
    }
    const ModalScript::Step chooseBroken = chooseFile(broken);
    run("MenuConvert", {chooseBroken, walkAndClose(QStringLiteral("picture error"))});

    // The tools of the colour panel and the Tools menu.
    run("MenuChangeCharacter", {walkAndClose(QStringLiteral("Change character"))});
    run("MenuCharactersEditor", {walkAndClose(QStringLiteral("Characters editor"))});
    QTest::mouseClick(w->colorPanel()->paletteButton(), Qt::LeftButton);
    ASSERT_NE(w->palettePopup(), nullptr);
    walk->walk(w->palettePopup(), QStringLiteral("palette pop-up"));
    w->palettePopup()->close();
    TFGhost* ghost = w->ghostWindow();
    ghost->show();
    walk->walk(ghost, QStringLiteral("ghost window"));
    ghost->close();
    {
        TFChoosePalette choose(w->stitch(), w.get());
        choose.prepare(vmView);
        choose.show();
        walk->walk(&choose, QStringLiteral("choose palette"));
    }
    // Printing, the CMYK table and the real preview (whose menu entry is hidden in this product).
    run("MenuPrint", {walkAndClose(QStringLiteral("Print options"))});
    run("MenuCMYK", {walkAndClose(QStringLiteral("CMYK colors"))});
    // The palette editor: new, and a palette picked in the palette list.
    run("MenuNewPalette", {walkAndClose(QStringLiteral("Palette editor"))});
    const ModalScript::Step pickPalette = [this](QWidget* d) {
        walk->walk(d, QStringLiteral("edit palette list"));
        auto* list = qobject_cast<TFChoosePalette*>(d);
        ASSERT_NE(list, nullptr);
        list->listView()->setCurrentItem(list->listView()->topLevelItem(0));
        list->okButton()->click();
    };
    run("MenuEditPalette", {pickPalette, walkAndClose(QStringLiteral("Palette editor opened"))});
    {
        ModalScript script({walkAndClose(QStringLiteral("Real preview"))});
        w->MenuRealPreviewClick();
        EXPECT_TRUE(script.done());
    }
    run("ButtonText", {walkAndClose(QStringLiteral("Insert text"))});
    // The motif library: the browser and the add dialog over the shipped library.
    run("MenuLibrary", {walkAndClose(QStringLiteral("Library"))});
    run("MenuAddToLibrary", {walkAndClose(QStringLiteral("Add to library"))});
    run("MenuOptions", {walkAndClose(QStringLiteral("Options"))});
    run("MenuPatternSettings", {walkAndClose(QStringLiteral("Pattern settings"))});
    run("MenuAbout", {walkAndClose(QStringLiteral("About"))});
    // The update window; without a server it says so in a message box, seen before or after
    // the window itself.
    {
        bool told = false;
        const ModalScript::Step updateStep = [&](QWidget* d) {
            if (qobject_cast<QMessageBox*>(d)) {
                walk->walk(d, QStringLiteral("update message"));
                told = true;
            } else {
                EXPECT_TRUE(QTest::qWaitFor([&] { return told; }, 5000));
                walk->walk(d, QStringLiteral("Update check"));
            }
            d->close();
        };
        run("MenuCheckUpdates", {updateStep, updateStep});
    }
    // The help at its contents (F1 and "Index ...").
    w->action(QStringLiteral("MenuHelpIndex"))->trigger();
    THelpWindow* contents = w->findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(contents, nullptr);
    walk->walk(contents, QStringLiteral("help contents"));
    contents->close();

    // Every window was reached.
    for (const char* name : {"main window", "unsaved question", "New Image", "wizard step 1", "wizard step 2",
                             "wizard step 3", "wizard step 4", "wizard help 4", "picture error",
                             "Change character", "Characters editor", "palette pop-up", "ghost window",
                             "choose palette", "Print options", "CMYK colors", "Palette editor",
                             "edit palette list", "Palette editor opened", "Real preview", "Insert text",
                             "Library", "Add to library", "Options", "Pattern settings",
                             "About", "Update check", "update message", "help contents"})
        EXPECT_GT(walk->seenIn(QString::fromLatin1(name)), 0) << name;

    addData();
    walk->addData({QFileInfo(picturePath).fileName(), QFileInfo(broken).fileName()});
    // The update window names the settings value of the server and the settings file.
    walk->addData({UpdateChecker::kServerSetting, QDir::toNativeSeparators(m_settings)});
    QStringList report;
    for (const Finding& f : walk->findings())
        report << f.where + QStringLiteral(": \"") + f.text + QLatin1Char('"');
    EXPECT_TRUE(report.isEmpty()) << report.join(QLatin1Char('\n')).toStdString();
    const QStringList missing = walk->missingKeys();
    EXPECT_TRUE(missing.isEmpty()) << "keys that english.lang lacks:\n"
                                   << missing.join(QLatin1Char('\n')).toStdString();
}

TEST_F(TranslationWalkTest, TheWalkFindsATextThatEscapedTheTable)
{
    // The walk itself: a caption set without the table is found, and so is one that came
    // through the table but is no key of english.lang; a key of english.lang is fine.
    auto* label = new QLabel(QStringLiteral("Plain English caption"), w.get());
    label->setObjectName(QStringLiteral("Escaped"));
    auto* unknown = new QLabel(w->stitch().translate(QStringLiteral("Through the table only")), w.get());
    unknown->setObjectName(QStringLiteral("NoKey"));
    auto* fine = new QLabel(w->stitch().translate(QStringLiteral("Save as")) + QStringLiteral(" ..."), w.get());
    fine->setObjectName(QStringLiteral("Fine"));
    for (QLabel* l : {label, unknown, fine})
        l->show();
    walk->walk(w.get(), QStringLiteral("main window"));
    QStringList where;
    for (const Finding& f : walk->findings())
        where << f.where;
    EXPECT_TRUE(where.contains(QStringLiteral("main window/Escaped"))) << where.join(' ').toStdString();
    EXPECT_TRUE(where.contains(QStringLiteral("main window/NoKey"))) << where.join(' ').toStdString();
    EXPECT_FALSE(where.contains(QStringLiteral("main window/Fine")));
    EXPECT_TRUE(walk->missingKeys().contains(QStringLiteral("Through the table only")));
    EXPECT_FALSE(walk->missingKeys().contains(QStringLiteral("Save as")));
}

TEST_F(TranslationWalkTest, ChangedTranslationsReachTheWizardAndTheErrorsOfTheReaders)
{
    // A table that translates a few keys: the kept wizard follows when the interface is
    // translated again, and a reader's error is shown in the table's words.
    QImage picture(8, 8, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    const QString path = m_dir + QStringLiteral("/blue.png");
    ASSERT_TRUE(picture.save(path));
    const ModalScript::Step choose = chooseFile(path);
    run("MenuConvert", {choose, dismiss()});
    TFWizzard* wizard = w->findChild<TFWizzard*>();
    ASSERT_NE(wizard, nullptr);
    ASSERT_EQ(wizard->prevButton()->text(), QStringLiteral("Prev"));

    TStitch& st = w->stitch();
    const struct { const char* key; const char* text; } table[] = {
        {"Prev", "Zur\u00fcck"}, {"Wizard", "Assistent"}, {"Cancel", "Abbrechen"},
        {"Cannot open \"%1\": it is not a design file (design files end in .qvxp, .qvx or .stv).",
         "\"%1\" ist keine Musterdatei."},
    };
    for (const auto& t : table)
        st.Language.insert(QString::fromUtf8(t.key), QString::fromUtf8(t.text));
    w->translateUi();
    EXPECT_EQ(wizard->prevButton()->text(), QString::fromUtf8("Zur\u00fcck"));
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Assistent"));
    EXPECT_EQ(wizard->cancelButton()->text(), QStringLiteral("Abbrechen"));

    // Opening a file that is no design: the message in the table's words, with the file.
    const QString notADesign = m_dir + QStringLiteral("/notes.txt");
    {
        QFile f(notADesign);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("text");
    }
    const ModalScript::Step chooseNotADesign = chooseFile(notADesign);
    ModalScript script({chooseNotADesign, apptest::click("OK")});
    w->action(QStringLiteral("MenuTemplate"))->trigger();
    EXPECT_TRUE(script.done());
    ASSERT_EQ(script.texts.size(), 1);
    EXPECT_EQ(script.texts.first(),
              QStringLiteral("\"%1\" ist keine Musterdatei.").arg(QDir::toNativeSeparators(notADesign)));
}

} // namespace
