// The Languages menu and switching languages: every caption of the main window (menus, tool
// tips, status bar, colour panel, file-dialog filters) and of every window it keeps (New Image,
// print dialog, insert dialog, palette pop-up, ghost window, conversion wizard, text dialog,
// help) follows the chosen language at once, and English -> Deutsch -> English gives back every
// caption's first wording. F1 opens the help at its contents in the current language.
#include "ModalScript.h"
#include "WindowFixture.h"
#include "app/MainWindow.h"
#include "convert/ui/TFWizzard.h"
#include "editing/ui/TFInsert.h"
#include "editing/ui/TFText.h"
#include "core/SettingsStore.h"
#include "core/ui/ColorPanel.h"
#include "core/ui/TFNewImage.h"
#include "i18n/LanguageFile.h"
#include "i18n/ui/THelpWindow.h"
#include "palettes/ui/TFPalette.h"
#include "print/ui/TFPrintOptions.h"
#include "view/ui/GhostWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

namespace {

using namespace apptest;

// Every caption of a window and its children, by where it is.
using Captions = QMap<QString, QString>;

void collect(Captions& out, const QString& where, QAction* a)
{
    if (a->isSeparator())
        return;
    out[where + QStringLiteral(" text")] = a->text();
    out[where + QStringLiteral(" tip")] = a->toolTip();
    if (QMenu* m = a->menu())
        for (QAction* sub : m->actions())
            collect(out, where + QLatin1Char('>') + sub->objectName(), sub);
}

void collect(Captions& out, QWidget* window, const QString& name)
{
    out[name + QStringLiteral(" title")] = window->windowTitle();
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    int n = 0;
    for (QWidget* w : widgets) {
        if (w->window() != window) // another window's, collected under its own name
            continue;
        const QString where = name + QLatin1Char('/') + w->objectName() + QLatin1Char('#')
            + QString::number(n++);
        out[where + QStringLiteral(" tip")] = w->toolTip();
        if (auto* l = qobject_cast<QLabel*>(w))
            out[where] = l->text();
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            out[where] = b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            out[where] = g->title();
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                out[where + QStringLiteral(" item %1").arg(i)] = c->itemText(i);
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i)
                out[where + QStringLiteral(" tab %1").arg(i)] = t->tabText(i);
        if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model() && !qobject_cast<QHeaderView*>(w))
            for (int i = 0; i < v->model()->columnCount(); ++i)
                out[where + QStringLiteral(" header %1").arg(i)]
                    = v->model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString();
        if (auto* browser = qobject_cast<QTextBrowser*>(w))
            out[where + QStringLiteral(" page")] = browser->documentTitle();
        for (QAction* a : w->actions())
            collect(out, where + QStringLiteral(" action ") + a->objectName(), a);
    }
}

// The entries of `now` that differ from `before`, one line each.
QStringList differences(const Captions& before, const Captions& now)
{
    QStringList out;
    for (auto it = before.begin(); it != before.end(); ++it)
        if (now.value(it.key()) != it.value())
            out << it.key() + QStringLiteral(": \"") + it.value() + QStringLiteral("\" became \"")
                    + now.value(it.key()) + QLatin1Char('"');
    for (auto it = now.begin(); it != now.end(); ++it)
        if (!before.contains(it.key()))
            out << it.key() + QStringLiteral(": new \"") + it.value() + QLatin1Char('"');
    return out;
}

class LanguageSwitchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings = testsupport::currentTestPath(QStringLiteral(".ini"));
        w = showFreshMainWindow(m_settings);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        m_keys = LanguageFile::read(w->stitch().LanguagesPath + QStringLiteral("english.lang"));
        m_german = LanguageFile::read(w->stitch().LanguagesPath + QStringLiteral("deutsch.lang"));
    }

    // Opens every window the main window keeps, so that they are all there to follow.
    void openWindows()
    {
        w->document().updatePixel(1, 1, w->stitch().drawcolor(), true);
        w->insertDialog()->show();
        w->printDialog()->show();
        QTest::mouseClick(w->colorPanel()->paletteButton(), Qt::LeftButton);
        ASSERT_NE(w->palettePopup(), nullptr);
        w->ghostWindow()->show();
        w->newImageDialog()->show();
        // The conversion wizard, kept after it was cancelled.
        QImage picture(16, 12, QImage::Format_ARGB32);
        picture.fill(qRgb(30, 160, 60));
        const QString path = testsupport::currentTestPath(QStringLiteral(".png"));
        ASSERT_TRUE(picture.save(path));
        ModalScript script({[path](QWidget* d) {
                                auto* dialog = qobject_cast<QFileDialog*>(d);
                                ASSERT_NE(dialog, nullptr);
                                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                                static_cast<QDialog*>(dialog)->accept();
                            },
                            dismiss()});
        w->action(QStringLiteral("MenuConvert"))->trigger();
        ASSERT_TRUE(script.done());
        ASSERT_NE(w->findChild<TFWizzard*>(), nullptr);
        w->textDialog()->show();
        w->action(QStringLiteral("MenuHelpIndex"))->trigger();
    }

    Captions captions()
    {
        Captions out;
        collect(out, w.get(), QStringLiteral("main"));
        for (QAction* a : w->findChildren<QAction*>())
            if (a->parent() == w.get())
                collect(out, QStringLiteral("action ") + a->objectName(), a);
        const struct { QWidget* window; const char* name; } windows[] = {
            {w->insertDialog(), "insert"}, {w->printDialog(), "print"}, {w->palettePopup(), "palette"},
            {w->ghostWindow(), "ghost"}, {w->newImageDialog(), "new image"},
            {w->findChild<TFWizzard*>(), "wizard"}, {w->findChild<THelpWindow*>(), "help"},
            {w->findChild<TFText*>(), "text"}};
        for (const auto& win : windows)
            if (win.window)
                collect(out, win.window, QString::fromLatin1(win.name));
        out[QStringLiteral("open filters")] = w->openDialogFilters().join(QStringLiteral(";;"));
        out[QStringLiteral("save filters")] = w->saveDialogFilters().join(QStringLiteral(";;"));
        return out;
    }

    // The German translation of an English text that is a key, or empty.
    QString german(const QString& english) const
    {
        const qsizetype i = m_keys.indexOf(plain(english));
        return i >= 0 && i < m_german.size() ? m_german.at(i) : QString();
    }

    QString m_settings;
    std::unique_ptr<MainWindow> w;
    QStringList m_keys, m_german;
};

TEST_F(LanguageSwitchTest, EnglishDeutschEnglishGivesBackEveryCaption)
{
    openWindows();
    const Captions english = captions();

    ASSERT_TRUE(w->MenuLanguageClick(QStringLiteral("deutsch.lang")));
    const Captions deutsch = captions();
    EXPECT_EQ(w->stitch().DefaultLanguage, QStringLiteral("deutsch.lang"));
    EXPECT_EQ(SettingsStore(m_settings).readString(QStringLiteral("DefaultLanguage")), QStringLiteral("deutsch.lang"));
    // Samples of each kind of caption, in German now.
    EXPECT_EQ(plain(w->action(QStringLiteral("MenuFile"))->text()), QStringLiteral("Datei"));
    EXPECT_EQ(plain(w->action(QStringLiteral("MenuSaveAs"))->text()), QStringLiteral("Speichern unter ..."));
    EXPECT_EQ(w->action(QStringLiteral("MenuSaveAs"))->toolTip(), QStringLiteral("Speichern unter"));
    EXPECT_TRUE(w->statusPanel(1)->text().startsWith(QStringLiteral("Symbole: "))) << w->statusPanel(1)->text().toStdString();
    EXPECT_TRUE(w->statusPanel(2)->text().startsWith(QStringLiteral("Farben: "))) << w->statusPanel(2)->text().toStdString();
    EXPECT_EQ(w->printDialog()->windowTitle(), QStringLiteral("Drucken"));
    EXPECT_NE(deutsch.value("open filters"), english.value("open filters"));
    EXPECT_EQ(w->findChild<THelpWindow*>()->title(), QStringLiteral("Quillmark-Hilfe"));

    // No caption kept its English words where the German file has other ones.
    QStringList leftovers;
    for (auto it = english.begin(); it != english.end(); ++it) {
        const QString g = german(it.value());
        if (!it.value().isEmpty() && deutsch.value(it.key()) == it.value() && !g.isEmpty() && g != plain(it.value()))
            leftovers << it.key() + QStringLiteral(": \"") + it.value() + QLatin1Char('"');
    }
    EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(QLatin1Char('\n')).toStdString();

    ASSERT_TRUE(w->MenuLanguageClick(QStringLiteral("english.lang")));
    const QStringList changed = differences(english, captions());
    EXPECT_TRUE(changed.isEmpty()) << changed.join(QLatin1Char('\n')).toStdString();
}

TEST_F(LanguageSwitchTest, TheMenuListsTheInstalledLanguagesAndMarksTheCurrentOne)
{
    QMenu* menu = w->action(QStringLiteral("MenuLanguages"))->menu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    QStringList captions;
    for (QAction* a : menu->actions())
        captions << a->text();
    EXPECT_EQ(captions, (QStringList{"deutsch", "english", "francais"}));
    QAction* deutsch = w->action(QStringLiteral("Language_deutsch"));
    ASSERT_NE(deutsch, nullptr);
    EXPECT_EQ(deutsch->statusTip(), QStringLiteral("deutsch.lang"));
    EXPECT_TRUE(w->action(QStringLiteral("Language_english"))->isChecked());
    deutsch->trigger();
    EXPECT_EQ(plain(w->action(QStringLiteral("MenuHelp"))->text()), QStringLiteral("Hilfe"));
    EXPECT_TRUE(w->action(QStringLiteral("Language_deutsch"))->isChecked());
    EXPECT_FALSE(w->action(QStringLiteral("Language_english"))->isChecked());
    w->action(QStringLiteral("Language_francais"))->trigger();
    EXPECT_EQ(plain(w->action(QStringLiteral("MenuFile"))->text()), QStringLiteral("Fichier"));

    // The language is remembered for the next start.
    w.reset();
    auto next = std::make_unique<MainWindow>(Session::Options{m_settings, testsupport::shippedDataDir()});
    EXPECT_EQ(plain(next->action(QStringLiteral("MenuFile"))->text()), QStringLiteral("Fichier"));
}

TEST_F(LanguageSwitchTest, ALanguageFileThatCannotBeReadLeavesTheLanguageAsItWas)
{
    // A copy of the shipped languages with a file that is not Windows-1252 text.
    const QString dir = testsupport::currentTestPath(QStringLiteral("-languages/"));
    QDir(dir).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(dir));
    for (const char* name : {"english.lang", "deutsch.lang"})
        ASSERT_TRUE(QFile::copy(w->stitch().LanguagesPath + name, dir + name));
    {
        QFile broken(dir + QStringLiteral("kaputt.lang"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("Datei\r\n\x81\x8d\r\n");
    }
    w->stitch().LanguagesPath = dir;
    ASSERT_TRUE(w->MenuLanguageClick(QStringLiteral("deutsch.lang")));
    const Captions before = captions();

    ModalScript script({click(QStringLiteral("OK"))});
    EXPECT_FALSE(w->MenuLanguageClick(QStringLiteral("kaputt.lang")));
    EXPECT_TRUE(script.done());
    ASSERT_EQ(script.texts.size(), 1);
    EXPECT_TRUE(script.texts.first().contains(QDir::toNativeSeparators(dir + QStringLiteral("kaputt.lang"))))
        << script.texts.first().toStdString();
    EXPECT_EQ(w->stitch().DefaultLanguage, QStringLiteral("deutsch.lang"));
    const QStringList changed = differences(before, captions());
    EXPECT_TRUE(changed.isEmpty()) << changed.join(QLatin1Char('\n')).toStdString();
}

TEST_F(LanguageSwitchTest, F1OpensTheHelpAtItsContentsInTheCurrentLanguage)
{
    QTest::keyClick(w.get(), Qt::Key_F1);
    THelpWindow* help = w->findChild<THelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->context(), 0);
    EXPECT_EQ(help->title(), QStringLiteral("Quillmark Help"));
    EXPECT_TRUE(help->pagePath().endsWith(QStringLiteral("/help/english/index.html")));

    // A link of the contents, then the contents again in German.
    help->browser()->setSource(QUrl(QStringLiteral("print.html")));
    EXPECT_EQ(help->title(), QStringLiteral("Printing"));
    ASSERT_TRUE(w->MenuLanguageClick(QStringLiteral("deutsch.lang")));
    EXPECT_EQ(help->title(), QStringLiteral("Quillmark-Hilfe"));
    ASSERT_TRUE(w->MenuLanguageClick(QStringLiteral("francais.lang")));
    EXPECT_EQ(help->title(), QStringLiteral("Aide de Quillmark"));
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Aide"));
}

TEST_F(LanguageSwitchTest, EachDialogsHelpButtonOpensItsPage)
{
    const struct { QWidget* dialog; const char* button; const char* title; } rows[] = {
        {w->newImageDialog(), "ButtonHelp", "New Image"},
        {w->printDialog(), "ButtonHelp", "Printing"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.title);
        r.dialog->show();
        auto* button = r.dialog->findChild<QAbstractButton*>(QString::fromLatin1(r.button));
        ASSERT_NE(button, nullptr);
        button->click();
        THelpWindow* help = r.dialog->findChild<THelpWindow*>();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->title(), QString::fromLatin1(r.title));
        r.dialog->hide();
    }
}

} // namespace
