// The file commands of the main window driven as a user does: "Open Template ...", "Open
// Template As ...", "Save", "Save as ...", the unsaved-changes question, the recent files with
// their "Reopen ..." menu and the design named on the command line.
#include "app/ChartWidget.h"
#include "app/MainWindow.h"
#include "app/RecentFiles.h"
#include "convert/ui/TFWizzard.h"
#include "core/ui/TFNewImage.h"
#include "core/QuillError.h"
#include "core/SettingsStore.h"
#include "editing/ToolController.h"
#include "files/DesignFile.h"
#include "session/DesignSummary.h"
#include "support/TestSupport.h"
#include "view/ChartView.h"
#include "view/GhostState.h"
#include "ModalScript.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QJsonDocument>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <iostream>
#include <sys/resource.h>
#include <unistd.h>

// Readable failure messages.
void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
void PrintTo(const QJsonObject& o, std::ostream* os)
{
    *os << QJsonDocument(o).toJson(QJsonDocument::Compact).left(400).toStdString();
}

namespace {

using namespace apptest;

const QString kPrefix = QStringLiteral("KORVALD Quillmark  - ");

// What a file dialog showed when it came up.
struct DialogSeen
{
    QString objectName;
    QString directory;
    QStringList filters;
    QStringList selected;
    QString defaultSuffix;
};

// Answers a file dialog with `path` (typed as the file name), or cancels it when `path` is
// empty.
ModalScript::Step choose(const QString& path, DialogSeen* seen = nullptr)
{
    return [path, seen](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        if (!d) {
            ADD_FAILURE() << "expected a file dialog, got " << w->windowTitle().toStdString();
            w->close();
            return;
        }
        if (seen)
            *seen = {d->objectName(), d->directory().absolutePath(), d->nameFilters(),
                     d->selectedFiles(), d->defaultSuffix()};
        if (path.isEmpty()) {
            d->reject();
            return;
        }
        // Typed into the file name field, as a user does.
        auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit) {
            ADD_FAILURE() << "no file name field";
            d->reject();
            return;
        }
        edit->setText(path);
        static_cast<QDialog*>(d)->accept(); // the dialog's Open / Save button
    };
}

// What the modal windows of one command showed.
struct Answers
{
    bool done = false; // every expected window came and was answered
    int unexpected = 0;
    QStringList texts;
    QStringList titles;
};

// Triggers the main window's command `action`, answering its modal windows with `steps`.
Answers run(MainWindow& w, const char* action, QList<ModalScript::Step> steps = {})
{
    ModalScript script(std::move(steps));
    w.action(QString::fromLatin1(action))->trigger();
    return {script.done(), script.unexpected, script.texts, script.titles};
}

// The wizard as a user goes through it: Next until the last step, then Finish.
const ModalScript::Step throughTheWizard = [](QWidget* d) {
    auto* wizard = qobject_cast<TFWizzard*>(d);
    if (!wizard) {
        ADD_FAILURE() << "expected the wizard, got " << d->windowTitle().toStdString();
        d->close();
        return;
    }
    // A wizard that does not get on fails the test and is closed, so the command ends.
    const auto waitFor = [wizard](const std::function<bool()>& ready) {
        if (QTest::qWaitFor(ready, 20000))
            return true;
        ADD_FAILURE() << "the wizard did not get on at step " << wizard->step();
        wizard->reject();
        return false;
    };
    while (wizard->step() < 4) {
        const int step = wizard->step();
        if (!waitFor([&] { return !wizard->isBusy() && wizard->nextButton()->isEnabled(); }))
            return;
        wizard->nextButton()->click();
        if (!waitFor([&] { return wizard->step() > step; }))
            return;
    }
    if (waitFor([&] { return wizard->nextButton()->isEnabled(); }))
        wizard->nextButton()->click(); // Finish
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class FileCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings = testsupport::currentTestPath(QStringLiteral(".ini"));
        QFile::remove(m_settings);
        m_dir = testsupport::currentTestPath();
        QDir(m_dir).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_dir));
    }

    // A fresh start: settings and files of the previous row gone.
    void reset()
    {
        QFile::remove(m_settings);
        QDir(m_dir).removeRecursively();
        QDir().mkpath(m_dir);
    }

    std::unique_ptr<MainWindow> makeWindow(const QString& fileArgument = {})
    {
        auto w = std::make_unique<MainWindow>(
            Session::Options{m_settings, testsupport::shippedDataDir()}, fileArgument);
        w->show();
        return w;
    }

    QString file(const QString& name) const { return m_dir + QLatin1Char('/') + name; }

    // A few cells in two colours and a title, marked unsaved.
    static void draw(MainWindow& w, int seed = 0)
    {
        TStitch& st = w.stitch();
        PatternDocument& doc = w.document();
        const QList<ColorKey> keys = st.Colors.keys();
        ASSERT_GT(keys.size(), 10);
        doc.updatePixel(1 + seed, 2, keys.at(3), true);
        doc.updatePixel(4, 5 + seed, keys.at(7), true);
        doc.updatePixel(49, 49 - seed, keys.at(3), true);
        st.Title = QStringLiteral("Rose %1").arg(seed);
        st.Change();
    }

    // Saves the window's design under `path` without the dialogs.
    static void saveDirectly(MainWindow& w, const QString& path)
    {
        saveDesignFile(w.document(), path);
    }

    static bool saveEnabled(MainWindow& w) { return w.action(QStringLiteral("MenuSave"))->isEnabled(); }

    QString m_settings;
    QString m_dir;
};

TEST_F(FileCommandsTest, SaveAsThenOpenGivesTheSameDesign)
{
    // The name typed into the save dialog and the file written.
    const struct { const char* typed; const char* written; } rows[] = {
        {"rose", "rose.qvxp"},
        {"pattern.txt", "pattern.txt.qvxp"},
        {"pattern.QVXP", "pattern.QVXP"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        reset();
        auto w = makeWindow();
        TStitch& st = w->stitch();
        PatternDocument& doc = w->document();
        EXPECT_FALSE(saveEnabled(*w));
        draw(*w);
        EXPECT_TRUE(saveEnabled(*w));
        const QString startFolder = file(QStringLiteral("start"));
        ASSERT_TRUE(QDir().mkpath(startFolder));
        st.SavePath = startFolder + QLatin1Char('/');
        const QString written = file(QString::fromLatin1(r.written));

        DialogSeen seen;
        const Answers save = run(*w, "MenuSaveAs", {choose(file(QString::fromLatin1(r.typed)), &seen)});
        EXPECT_TRUE(save.done);
        EXPECT_EQ(save.unexpected, 0);
        EXPECT_EQ(seen.objectName, QStringLiteral("SaveDialog"));
        EXPECT_EQ(seen.directory, startFolder);
        EXPECT_EQ(seen.filters, QStringList({QStringLiteral("Design file (*.qvxp)")}));
        EXPECT_EQ(seen.defaultSuffix, QStringLiteral("qvxp"));
        ASSERT_EQ(seen.selected.size(), 1);
        EXPECT_EQ(QFileInfo(seen.selected.first()).fileName(), QStringLiteral("New file.qvxp"));

        EXPECT_TRUE(QFileInfo(written).isFile());
        EXPECT_EQ(QDir(m_dir).entryList(QDir::Files), QStringList({QString::fromLatin1(r.written)}));
        EXPECT_EQ(st.filename(), written);
        EXPECT_TRUE(st.FileNameAssigned);
        EXPECT_TRUE(st.fileSaved());
        EXPECT_FALSE(saveEnabled(*w));
        EXPECT_EQ(st.RecentFiles, QStringList({written}));
        EXPECT_EQ(QDir(st.SavePath).absolutePath(), startFolder);
        EXPECT_EQ(w->windowTitle(), kPrefix + QString::fromLatin1(r.written) + QStringLiteral(" - Rose 0"));
        const QJsonObject saved = designSummary(doc, true);

        // Another design replaces it (its changes dropped), then the file is opened again.
        draw(*w, 1);
        st.Title = QStringLiteral("Other");
        const Answers open = run(*w, "MenuTemplate", {click("No"), choose(written)});
        EXPECT_TRUE(open.done);
        EXPECT_EQ(open.unexpected, 0);
        EXPECT_EQ(designSummary(doc, true), saved);
        EXPECT_EQ(st.Title, QStringLiteral("Rose 0"));
        EXPECT_TRUE(st.fileSaved());
        EXPECT_FALSE(saveEnabled(*w));
        EXPECT_EQ(st.fileMode, fmOpen);
        EXPECT_EQ(st.filename(), nativeDesignFileName(written));
        EXPECT_EQ(w->windowTitle(), kPrefix + QFileInfo(nativeDesignFileName(written)).fileName()
                      + QStringLiteral(" - Rose 0"));
        EXPECT_FALSE(w->action(QStringLiteral("Undo1"))->isEnabled());
        EXPECT_EQ(st.RecentFiles, QStringList({written}));
    }
}

TEST_F(FileCommandsTest, OpeningNamesTheDesignNativeAndSaveWritesBesideIt)
{
    // A design of the older native extension with a ghost picture beside it.
    {
        auto w = makeWindow();
        draw(*w);
        saveDirectly(*w, file(QStringLiteral("first.qvxp")));
    }
    ASSERT_TRUE(QFile::rename(file(QStringLiteral("first.qvxp")), file(QStringLiteral("motif.qvx"))));
    QImage ghost(4, 3, QImage::Format_ARGB32);
    ghost.fill(Qt::red);
    ASSERT_TRUE(ghost.save(file(QStringLiteral("motif.png"))));
    const QByteArray original = readAll(file(QStringLiteral("motif.qvx")));

    auto w = makeWindow();
    TStitch& st = w->stitch();
    const Answers open = run(*w, "MenuTemplate", {choose(file(QStringLiteral("motif.qvx")))});
    EXPECT_TRUE(open.done);
    EXPECT_EQ(open.unexpected, 0);
    EXPECT_EQ(st.filename(), file(QStringLiteral("motif.qvxp")));
    EXPECT_EQ(w->windowTitle(), kPrefix + QStringLiteral("motif.qvxp - Rose 0"));
    EXPECT_EQ(st.RecentFiles, QStringList({file(QStringLiteral("motif.qvx"))}));
    EXPECT_TRUE(w->ghost().isLoaded());

    // "Save" after a change writes motif.qvxp without asking; the opened file stays.
    w->document().updatePixel(0, 0, st.Colors.keys().at(5), true);
    st.Change();
    EXPECT_EQ(run(*w, "MenuSave").unexpected, 0);
    EXPECT_TRUE(QFileInfo(file(QStringLiteral("motif.qvxp"))).isFile());
    EXPECT_EQ(readAll(file(QStringLiteral("motif.qvx"))), original);
    EXPECT_TRUE(st.fileSaved());
    EXPECT_EQ(st.RecentFiles.first(), file(QStringLiteral("motif.qvxp")));

    // The ghost picture goes with the design to its new name.
    EXPECT_TRUE(run(*w, "MenuSaveAs", {choose(file(QStringLiteral("copy")))}).done);
    EXPECT_EQ(QImage(file(QStringLiteral("copy.png"))).size(), QSize(4, 3));
    EXPECT_EQ(st.RecentFiles, QStringList({file(QStringLiteral("copy.qvxp")),
                                           file(QStringLiteral("motif.qvxp")),
                                           file(QStringLiteral("motif.qvx"))}));
}

TEST_F(FileCommandsTest, OpenThatFailsShowsTheErrorAndKeepsTheDesign)
{
    QByteArray good;
    {
        auto w = makeWindow();
        draw(*w, 2);
        saveDirectly(*w, file(QStringLiteral("good.qvxp")));
        good = readAll(file(QStringLiteral("good.qvxp")));
    }
    const struct { const char* label; const char* name; QByteArray bytes; } rows[] = {
        {"garbage", "garbage.qvxp", "this is no design"},
        {"empty", "empty.qvxp", ""},
        {"cut in half", "half.qvxp", good.left(good.size() / 2)},
        {"cut before the last byte", "short.qvx", good.left(good.size() - 1)},
        {"text design that is no text design", "bad.stv", good},
        {"other extension", "picture.txt", good},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        QFile::remove(m_settings);
        const QString path = file(QString::fromLatin1(r.name));
        writeAll(path, r.bytes);
        auto w = makeWindow();
        TStitch& st = w->stitch();
        draw(*w, 1);
        const QJsonObject before = designSummary(w->document(), true);
        const QString caption = w->windowTitle();
        const QString palette = st.colorsname();

        const Answers script = run(*w, "MenuTemplate", {click("No"), choose(path), click("OK")});
        EXPECT_TRUE(script.done);
        EXPECT_EQ(script.unexpected, 0);
        ASSERT_EQ(script.texts.size(), 2);
        EXPECT_TRUE(script.texts.at(1).contains(QDir::toNativeSeparators(path)))
            << script.texts.at(1).toStdString();
        EXPECT_EQ(designSummary(w->document(), true), before);
        EXPECT_EQ(st.colorsname(), palette);
        EXPECT_EQ(st.Title, QStringLiteral("Rose 1"));
        EXPECT_FALSE(st.fileSaved());
        EXPECT_TRUE(saveEnabled(*w));
        EXPECT_FALSE(st.FileNameAssigned);
        EXPECT_EQ(w->windowTitle(), caption);
        EXPECT_TRUE(st.RecentFiles.isEmpty());
        EXPECT_EQ(readAll(path), r.bytes);
    }
}

TEST_F(FileCommandsTest, FailedSaveShowsTheErrorAndKeepsTheOldFileAndTheUnsavedState)
{
    // Each row makes the next save of `target` fail; the returned function undoes it.
    using Breaker = std::function<std::function<void()>(const QString& folder, const QString& target)>;
    const struct { const char* label; Breaker brk; } rows[] = {
        {"read-only folder",
         [](const QString& folder, const QString&) -> std::function<void()> {
             QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
             return [folder] {
                 QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
             };
         }},
        {"disk full",
         [](const QString&, const QString&) -> std::function<void()> {
             // Writes beyond a few bytes fail as on a full disk.
             std::signal(SIGXFSZ, SIG_IGN);
             rlimit old{};
             getrlimit(RLIMIT_FSIZE, &old);
             rlimit small = old;
             small.rlim_cur = 64;
             setrlimit(RLIMIT_FSIZE, &small);
             return [old] { setrlimit(RLIMIT_FSIZE, &old); };
         }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        reset();
        const QString folder = file(QStringLiteral("designs"));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString target = folder + QStringLiteral("/rose.qvxp");
        auto w = makeWindow();
        TStitch& st = w->stitch();
        draw(*w);
        saveDirectly(*w, target);
        const QByteArray old = readAll(target);
        ASSERT_FALSE(old.isEmpty());
        draw(*w, 3);
        ASSERT_TRUE(saveEnabled(*w));

        const std::function<void()> undo = r.brk(folder, target);
        // The super-user writes into read-only folders: nothing to show there.
        QFile probe(folder + QStringLiteral("/probe"));
        const bool broken = !probe.open(QIODevice::WriteOnly) || probe.write(QByteArray(256, 'x')) != 256
            || !probe.flush();
        probe.close();
        probe.remove();
        if (!broken) {
            undo();
            std::cout << "[ skipped  ] " << r.label << ": the folder stays writable here\n";
            continue;
        }
        const Answers script = run(*w, "MenuSave", {click("OK")});
        undo();
        EXPECT_TRUE(script.done);
        EXPECT_EQ(script.unexpected, 0);
        ASSERT_EQ(script.texts.size(), 1);
        EXPECT_TRUE(script.texts.first().contains(QDir::toNativeSeparators(target)))
            << script.texts.first().toStdString();
        EXPECT_FALSE(st.fileSaved());
        EXPECT_TRUE(saveEnabled(*w));
        EXPECT_EQ(readAll(target), old);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({QStringLiteral("rose.qvxp")}));

        // "Yes" to the unsaved-changes question fails the same way and keeps the design.
        const QJsonObject design = designSummary(w->document(), true);
        r.brk(folder, target);
        const Answers question = run(*w, "MenuNew", {click("Yes"), click("OK")});
        undo();
        EXPECT_TRUE(question.done);
        EXPECT_EQ(question.unexpected, 0);
        EXPECT_FALSE(question.titles.contains(QStringLiteral("New Image")));
        EXPECT_EQ(designSummary(w->document(), true), design);
        EXPECT_FALSE(st.fileSaved());
        EXPECT_EQ(readAll(target), old);
    }
}

TEST_F(FileCommandsTest, UnsavedChangesQuestionOnNewAndOnClosing)
{
    enum Command { New, Close };
    enum Name { Unnamed, Named, NamedInMissingFolder };
    // The answers given, whether the design is written to `written`, whether the command goes
    // on (the New Image dialog comes, or the window closes).
    const struct { const char* label; Command command; Name name; QList<ModalScript::Step> steps; const char* written; bool goesOn; } rows[] = {
        {"new: yes saves under the name", New, Named, {click("Yes"), click("Cancel")}, "named.qvxp", true},
        {"new: yes asks for a name", New, Unnamed, {click("Yes"), choose(QStringLiteral("fresh")), click("Cancel")}, "fresh.qvxp", true},
        {"new: yes, name dialog cancelled", New, Unnamed, {click("Yes"), choose(QString())}, nullptr, false},
        {"new: yes, replacing declined", New, Unnamed, {click("Yes"), choose(QStringLiteral("old")), click("No")}, nullptr, false},
        {"new: yes, replacing accepted", New, Unnamed, {click("Yes"), choose(QStringLiteral("old")), click("Yes"), click("Cancel")}, "old.qvxp", true},
        {"new: yes, save fails", New, NamedInMissingFolder, {click("Yes"), click("OK")}, nullptr, false},
        {"new: no", New, Named, {click("No"), click("Cancel")}, nullptr, true},
        {"new: cancel", New, Named, {click("Cancel")}, nullptr, false},
        {"close: yes saves under the name", Close, Named, {click("Yes")}, "named.qvxp", true},
        {"close: yes asks for a name", Close, Unnamed, {click("Yes"), choose(QStringLiteral("fresh"))}, "fresh.qvxp", true},
        {"close: yes, name dialog cancelled", Close, Unnamed, {click("Yes"), choose(QString())}, nullptr, false},
        {"close: yes, save fails", Close, NamedInMissingFolder, {click("Yes"), click("OK")}, nullptr, false},
        {"close: no", Close, Unnamed, {click("No")}, nullptr, true},
        {"close: cancel", Close, Unnamed, {click("Cancel")}, nullptr, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        reset();
        const QByteArray oldBytes = "an old file";
        writeAll(file(QStringLiteral("old.qvxp")), oldBytes);
        auto w = makeWindow();
        TStitch& st = w->stitch();
        st.SavePath = m_dir + QLatin1Char('/');
        draw(*w);
        if (r.name != Unnamed) {
            st.setFilename(r.name == Named ? file(QStringLiteral("named.qvxp"))
                                           : file(QStringLiteral("missing/named.qvxp")));
            st.FileNameAssigned = true;
        }
        const QJsonObject design = designSummary(w->document(), true);

        ModalScript script(r.steps);
        bool goesOn = false;
        if (r.command == New) {
            w->action(QStringLiteral("MenuNew"))->trigger();
            goesOn = script.titles.contains(QStringLiteral("New Image"));
        } else {
            goesOn = w->close();
        }
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.unexpected, 0);
        EXPECT_EQ(script.texts.value(0), QStringLiteral("Data is not saved, save now?"));
        EXPECT_EQ(goesOn, r.goesOn);
        EXPECT_EQ(st.fileSaved(), r.written != nullptr);
        for (const char* name : {"named.qvxp", "fresh.qvxp"}) {
            SCOPED_TRACE(name);
            const bool expected = r.written && qstrcmp(r.written, name) == 0;
            EXPECT_EQ(QFileInfo(file(QString::fromLatin1(name))).isFile(), expected);
        }
        if (r.written) {
            DesignFileContent content = readDesignFile(file(QString::fromLatin1(r.written)));
            EXPECT_EQ(content.qvx.width, 50u);
            EXPECT_EQ(st.filename(), file(QString::fromLatin1(r.written)));
            EXPECT_TRUE(st.FileNameAssigned);
        } else {
            EXPECT_EQ(readAll(file(QStringLiteral("old.qvxp"))), oldBytes);
        }
        // Nothing replaced the design (the New Image dialog was cancelled where it came).
        EXPECT_EQ(designSummary(w->document(), true), design);
    }
}

TEST(RecentFilesList, InsertKeepsOrderMaximumAndNoDuplicates)
{
    auto list = [](int n) {
        QStringList l;
        for (int i = 1; i <= n; ++i)
            l << QStringLiteral("/d/%1.qvxp").arg(i);
        return l;
    };
    const struct { const char* label; QStringList before; QString path; QStringList after; bool changed; } rows[] = {
        {"into an empty list", {}, "/d/a.qvxp", {"/d/a.qvxp"}, true},
        {"new path goes on top", {"/d/a.qvxp", "/d/b.qvxp"}, "/d/c.qvxp", {"/d/c.qvxp", "/d/a.qvxp", "/d/b.qvxp"}, true},
        {"already first", {"/d/a.qvxp", "/d/b.qvxp"}, "/d/a.qvxp", {"/d/a.qvxp", "/d/b.qvxp"}, false},
        {"further down moves up", {"/d/a.qvxp", "/d/b.qvxp", "/d/c.qvxp"}, "/d/c.qvxp", {"/d/c.qvxp", "/d/a.qvxp", "/d/b.qvxp"}, true},
        {"names differing in case are two files", {"/d/A.qvxp"}, "/d/a.qvxp", {"/d/a.qvxp", "/d/A.qvxp"}, true},
        {"ten entries grow to eleven", list(10), "/d/new.qvxp", QStringList{"/d/new.qvxp"} + list(10), true},
        {"eleven entries: only the oldest goes", list(11), "/d/new.qvxp", QStringList{"/d/new.qvxp"} + list(10), true},
        {"eleven entries, the oldest chosen again", list(11), "/d/11.qvxp", QStringList{"/d/11.qvxp"} + list(10), true},
        {"eleven entries, one in the middle chosen", list(11), "/d/5.qvxp",
         QStringList{"/d/5.qvxp", "/d/1.qvxp", "/d/2.qvxp", "/d/3.qvxp", "/d/4.qvxp", "/d/6.qvxp",
                     "/d/7.qvxp", "/d/8.qvxp", "/d/9.qvxp", "/d/10.qvxp"},
         true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        QStringList l = r.before;
        EXPECT_EQ(insertRecentFile(l, r.path), r.changed);
        EXPECT_EQ(l, r.after);
        EXPECT_LE(l.size(), kMaxRecentFiles);
    }
}

TEST_F(FileCommandsTest, ReopenMenuFollowsTheRecentFilesAndTheSettings)
{
    const QString a = file(QStringLiteral("a.qvxp"));
    const QString b = file(QStringLiteral("b & c.qvxp"));
    const QString gone = file(QStringLiteral("gone.qvxp"));
    {
        auto w = makeWindow();
        draw(*w, 0);
        saveDirectly(*w, a);
        draw(*w, 4);
        saveDirectly(*w, b);
    }

    auto w = makeWindow();
    TStitch& st = w->stitch();
    QAction* reopen = w->action(QStringLiteral("MenuReopen"));
    EXPECT_FALSE(reopen->isEnabled());
    EXPECT_TRUE(w->reopenMenu()->actions().isEmpty());
    for (const QString& p : {a, gone, b})
        w->MRUListInsert(p);
    EXPECT_TRUE(reopen->isEnabled());
    const QStringList expected{b, gone, a};
    EXPECT_EQ(st.RecentFiles, expected);
    auto menuShows = [&](const QStringList& paths) {
        const QList<QAction*> entries = w->reopenMenu()->actions();
        ASSERT_EQ(entries.size(), paths.size());
        for (int i = 0; i < paths.size(); ++i) {
            // "&" of a path shows as itself, not as an accelerator.
            EXPECT_EQ(entries[i]->text(), QStringLiteral("%1 - %2").arg(i + 1).arg(
                          QDir::toNativeSeparators(paths[i]).replace(QLatin1Char('&'), QStringLiteral("&&"))));
            EXPECT_EQ(entries[i]->toolTip(), QDir::toNativeSeparators(paths[i]));
        }
    };
    menuShows(expected);

    // A file that has disappeared does nothing.
    const QJsonObject before = designSummary(w->document(), true);
    {
        ModalScript script;
        w->reopenMenu()->actions().at(1)->trigger();
        EXPECT_EQ(script.unexpected, 0);
    }
    EXPECT_EQ(designSummary(w->document(), true), before);
    EXPECT_EQ(st.RecentFiles, expected);

    // An existing one opens and comes to the top; the list survives the new start-up
    // initialisation that opening runs.
    {
        ModalScript script;
        w->reopenMenu()->actions().at(2)->trigger();
        EXPECT_EQ(script.unexpected, 0);
    }
    EXPECT_EQ(st.filename(), a);
    EXPECT_EQ(st.Title, QStringLiteral("Rose 0"));
    EXPECT_EQ(st.RecentFiles, QStringList({a, b, gone}));
    menuShows({a, b, gone});

    // Unsaved changes are asked about first; "Cancel" keeps the design.
    draw(*w, 5);
    {
        ModalScript script({click("Cancel")});
        w->reopenMenu()->actions().at(1)->trigger();
        EXPECT_TRUE(script.done());
    }
    EXPECT_EQ(st.filename(), a);
    EXPECT_EQ(st.RecentFiles, QStringList({a, b, gone}));

    // Closing writes the list; the next start reads it back in order.
    {
        ModalScript script({click("No")});
        EXPECT_TRUE(w->close());
    }
    w.reset();
    SettingsStore store(m_settings);
    EXPECT_EQ(store.subkeyStrings(QStringLiteral("LastFiles")), QStringList({a, b, gone}));
    auto again = makeWindow();
    EXPECT_EQ(again->stitch().RecentFiles, QStringList({a, b, gone}));
    EXPECT_EQ(again->reopenMenu()->actions().size(), 3);
}

TEST_F(FileCommandsTest, DialogsStartInTheRememberedFolders)
{
    const QString first = file(QStringLiteral("first"));
    const QString second = file(QStringLiteral("second"));
    const QString patterns = file(QStringLiteral("patterns"));
    for (const QString& d : {first, second, patterns})
        ASSERT_TRUE(QDir().mkpath(d));
    {
        auto w = makeWindow();
        draw(*w);
        saveDirectly(*w, second + QStringLiteral("/x.qvxp"));
        saveDirectly(*w, first + QStringLiteral("/y.qvxp"));
    }
    auto w = makeWindow();
    TStitch& st = w->stitch();
    st.PatternsPath = patterns + QLatin1Char('/');
    st.SavePath = patterns + QLatin1Char('/');

    // Without recent files: the patterns folder, which is remembered.
    DialogSeen seen;
    EXPECT_TRUE(run(*w, "MenuTemplate", {choose(second + QStringLiteral("/x.qvxp"), &seen)}).done);
    EXPECT_EQ(seen.objectName, QStringLiteral("OpenDialog"));
    EXPECT_EQ(seen.directory, patterns);
    EXPECT_EQ(seen.filters, QStringList({QStringLiteral("All design files (*.qvx *.stv *.qvxp)"),
                                         QStringLiteral("Brodora (*.qvx)"),
                                         QStringLiteral("Tesselka (*.qvxp)"),
                                         QStringLiteral("Ravlin 1/2 (*.stv)"),
                                         QStringLiteral("All files (*)")}));
    EXPECT_EQ(QDir(st.PatternsPath).absolutePath(), patterns);
    EXPECT_TRUE(st.PatternsPath.endsWith(QDir::separator()));

    // With recent files: the folder of the first one, for opening and for saving.
    EXPECT_TRUE(run(*w, "MenuTemplate", {choose(first + QStringLiteral("/y.qvxp"), &seen)}).done);
    EXPECT_EQ(seen.directory, second);
    EXPECT_EQ(QDir(st.PatternsPath).absolutePath(), second);

    EXPECT_TRUE(run(*w, "MenuSaveAs", {choose(QString(), &seen)}).done);
    EXPECT_EQ(seen.directory, first);
    EXPECT_EQ(QFileInfo(seen.selected.value(0)).fileName(), QStringLiteral("y.qvxp"));
    // A cancelled dialog changes nothing.
    EXPECT_EQ(QDir(st.SavePath).absolutePath(), patterns);
    EXPECT_EQ(st.filename(), first + QStringLiteral("/y.qvxp"));
}

TEST_F(FileCommandsTest, OpenTemplateAsAsksForTheApplicationMode)
{
    {
        auto w = makeWindow();
        draw(*w);
        saveDirectly(*w, file(QStringLiteral("m.qvxp")));
    }
    auto pick = [](bool knitting, bool ok) -> ModalScript::Step {
        return [knitting, ok](QWidget* d) {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Application mode"));
            auto* stitches = d->findChild<QRadioButton*>(QStringLiteral("RStitches"));
            auto* knit = d->findChild<QRadioButton*>(QStringLiteral("RKnitting"));
            ASSERT_TRUE(stitches && knit);
            EXPECT_TRUE(stitches->isChecked());
            (knitting ? knit : stitches)->setChecked(true);
            click(ok ? QStringLiteral("OK") : QStringLiteral("Cancel"))(d);
        };
    };
    const struct { const char* label; bool knitting; bool ok; QSize cell; } rows[] = {
        {"stitches", false, true, {8, 8}},
        {"knitting", true, true, {8, 6}},
        {"cancelled", true, false, {8, 8}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        QFile::remove(m_settings);
        auto w = makeWindow();
        QAction* openAs = w->action(QStringLiteral("OpenTemplateAs1"));
        EXPECT_FALSE(openAs->isVisible());
        ModalScript script({choose(file(QStringLiteral("m.qvxp"))), pick(r.knitting, r.ok)});
        openAs->trigger();
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.unexpected, 0);
        EXPECT_EQ(w->document().KnittingMode, r.ok && r.knitting);
        EXPECT_EQ(w->document().cellSize, r.cell);
        EXPECT_EQ(w->stitch().filename(), r.ok ? file(QStringLiteral("m.qvxp")) : QStringLiteral("New file.qvxp"));
        EXPECT_EQ(w->stitch().RecentFiles.size(), r.ok ? 1 : 0);
    }
}

TEST_F(FileCommandsTest, TheGhostBesideADesignShowsOverTheChartUntilTheNextDesign)
{
    // Two saved designs of empty (white) cells, one with a black ghost picture beside it.
    {
        auto w = makeWindow();
        saveDirectly(*w, file(QStringLiteral("plain.qvxp")));
        saveDirectly(*w, file(QStringLiteral("traced.qvxp")));
    }
    QImage ghost(1, 1, QImage::Format_ARGB32);
    ghost.fill(0xFF000000u);
    ASSERT_TRUE(ghost.save(file(QStringLiteral("traced.png"))));

    auto w = makeWindow(file(QStringLiteral("traced.qvxp")));
    ChartView* view = w->chartView();
    auto cellPixel = [view] {
        return TColor32(view->image().pixel(view->geometry().cellRect(0, 0).center()));
    };
    // Shown at once at the start opacity of 50; the shadow button is hidden in this product
    // but follows the ghost.
    ASSERT_TRUE(w->ghostState()->showGhostLayer());
    EXPECT_EQ(w->ghostState()->ghostOpacity(), 50);
    EXPECT_EQ(cellPixel(), GhostOverlay::blend(0xFFFFFFFFu, 0xFF000000u, 50, w->stitch().BackGroundColor));
    EXPECT_TRUE(w->shadowButton()->isEnabled());
    EXPECT_FALSE(w->shadowButton()->isVisible());

    // The next design has no ghost: the overlay goes and the chart is plain again.
    EXPECT_TRUE(run(*w, "MenuTemplate", {choose(file(QStringLiteral("plain.qvxp")))}).done);
    EXPECT_FALSE(w->ghostState()->GhostLoaded());
    EXPECT_FALSE(w->ghostState()->showGhostLayer());
    EXPECT_FALSE(w->shadowButton()->isEnabled());
    EXPECT_EQ(cellPixel(), 0xFFFFFFFFu);
}

TEST_F(FileCommandsTest, ConvertingAPictureShowsItsGhostOverTheNewDesign)
{
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(qRgb(30, 60, 200));
    ASSERT_TRUE(picture.save(file(QStringLiteral("blue.png"))));

    auto w = makeWindow();
    const Answers convert = run(*w, "MenuConvert", {choose(file(QStringLiteral("blue.png"))), throughTheWizard});
    EXPECT_TRUE(convert.done);
    EXPECT_EQ(convert.unexpected, 0);

    EXPECT_EQ(w->document().width(), 40);
    EXPECT_EQ(w->ghost().ghostPicture.size(), QSize(40, 30));
    EXPECT_TRUE(w->ghost().resample); // a whole copy of the adjusted picture
    EXPECT_TRUE(w->ghostState()->showGhostLayer());
    EXPECT_EQ(w->ghostState()->ghostOpacity(), 50);
}

TEST_F(FileCommandsTest, DesignNamedOnTheCommandLine)
{
    QJsonObject saved;
    {
        auto w = makeWindow();
        draw(*w, 6);
        saveDirectly(*w, file(QStringLiteral("start.qvxp")));
        saved = designSummary(w->document(), true);
    }
    writeAll(file(QStringLiteral("damaged.qvxp")), "not a design");
    const struct { const char* label; QString argument; bool opens; bool message; } rows[] = {
        {"existing file", file(QStringLiteral("start.qvxp")), true, false},
        {"relative path", QDir::current().relativeFilePath(file(QStringLiteral("start.qvxp"))), true, false},
        {"missing file", file(QStringLiteral("missing.qvxp")), false, false},
        {"damaged file", file(QStringLiteral("damaged.qvxp")), false, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        QFile::remove(m_settings);
        auto w = makeWindow(r.argument);
        TStitch& st = w->stitch();
        EXPECT_TRUE(st.fileSaved());
        EXPECT_FALSE(saveEnabled(*w));
        const QString messages = w->startupMessages().join(QLatin1Char('\n'));
        EXPECT_EQ(messages.contains(QDir::toNativeSeparators(QFileInfo(r.argument).absoluteFilePath())),
                  r.message)
            << messages.toStdString();
        if (r.opens) {
            EXPECT_EQ(designSummary(w->document(), true), saved);
            EXPECT_EQ(st.filename(), file(QStringLiteral("start.qvxp")));
            EXPECT_TRUE(st.FileNameAssigned);
            EXPECT_EQ(st.RecentFiles, QStringList({file(QStringLiteral("start.qvxp"))}));
            EXPECT_EQ(w->windowTitle(), kPrefix + QStringLiteral("start.qvxp - Rose 6"));
            EXPECT_EQ(QDir(st.PatternsPath).absolutePath(), m_dir);
        } else {
            EXPECT_EQ(w->document().width(), 50);
            EXPECT_EQ(w->document().height(), 50);
            EXPECT_EQ(st.usedColors(), 0);
            EXPECT_FALSE(st.FileNameAssigned);
            EXPECT_TRUE(st.RecentFiles.isEmpty());
            EXPECT_EQ(w->windowTitle(), kPrefix + QStringLiteral("New file.qvxp"));
        }
    }
}

TEST_F(FileCommandsTest, WizzardFollowsTheOpenedPictureAndTheCommandStatesReachTheWindow)
{
    QImage picture(20, 16, QImage::Format_ARGB32);
    picture.fill(qRgb(200, 40, 40));
    ASSERT_TRUE(picture.save(file(QStringLiteral("red.png"))));
    writeAll(file(QStringLiteral("broken.png")), "no picture");

    auto w = makeWindow();
    saveDirectly(*w, file(QStringLiteral("plain.qvxp")));
    QAction* wizzard = w->action(QStringLiteral("MenuWizzard"));
    const auto enabled = [&w](const char* name) { return w->action(QString::fromLatin1(name))->isEnabled(); };
    const auto newDesign = [](bool knitting) -> ModalScript::Step {
        return [knitting](QWidget* d) {
            auto* dialog = qobject_cast<TFNewImage*>(d);
            ASSERT_NE(dialog, nullptr);
            dialog->knittingButton()->setChecked(knitting);
            dialog->crossButton()->setChecked(!knitting);
            dialog->okButton()->click();
        };
    };
    const auto wizardShown = [](QWidget* d) {
        EXPECT_NE(qobject_cast<TFWizzard*>(d), nullptr);
        d->close();
    };

    // Each step: a command with its answers, then whether "Wizzard ..." is enabled.
    const struct { const char* label; const char* command; QList<ModalScript::Step> steps; bool wizard; } rows[] = {
        {"picture that cannot be read", "MenuConvert", {choose(file(QStringLiteral("broken.png"))), click("OK")}, false},
        {"picture chosen, wizard cancelled", "MenuConvert", {choose(file(QStringLiteral("red.png"))), dismiss()}, true},
        {"the wizard shown again", "MenuWizzard", {wizardShown}, true},
        {"a new design", "MenuNew", {newDesign(false)}, false},
        {"converted", "MenuConvert", {click("No"), choose(file(QStringLiteral("red.png"))), throughTheWizard}, true},
        {"the converted picture shown again", "MenuWizzard", {wizardShown}, true},
        {"an opened design", "MenuTemplate", {click("No"), choose(file(QStringLiteral("plain.qvxp")))}, false},
    };
    EXPECT_FALSE(wizzard->isEnabled());
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        const Answers a = run(*w, r.command, r.steps);
        EXPECT_TRUE(a.done);
        EXPECT_EQ(a.unexpected, 0);
        EXPECT_EQ(wizzard->isEnabled(), r.wizard);
        // The other states of an open design as the window shows them: no selection and
        // nothing copied; the design's settings can be changed.
        for (const char* name : {"MenuCut", "MenuCopy", "MenuPaste", "MenuMerge"})
            EXPECT_FALSE(enabled(name)) << name;
        EXPECT_TRUE(enabled("MenuPatternSettings"));
        EXPECT_TRUE(enabled("ButtonZoomIn"));
        EXPECT_TRUE(w->chart()->viewport()->isEnabled());
    }
    EXPECT_EQ(w->document().width(), 50);

    // A knitting chart has no quarter stitches: the (hidden) quarter tool cannot be chosen;
    // the next cross-stitch design has it again.
    const struct { bool knitting; TMode mode; } designs[] = {{true, modDraw}, {false, modQDraw}};
    for (const auto& d : designs) {
        SCOPED_TRACE(d.knitting);
        w->stitch().setFileSaved(true);
        EXPECT_TRUE(run(*w, "MenuNew", {newDesign(d.knitting)}).done);
        EXPECT_EQ(w->document().KnittingMode, d.knitting);
        w->action(QStringLiteral("ButtonDrawQuarter"))->trigger();
        EXPECT_EQ(w->tools()->mode(), d.mode);
        EXPECT_TRUE(enabled("ButtonDraw"));
    }
}

} // namespace
