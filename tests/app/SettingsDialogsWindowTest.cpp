// The Tools menu's "Options ..." and "Pattern settings ..." from the main window: both are
// enabled, confirmed options reach the settings file at once (a new start reads them), and the
// design settings change the design, the caption and, through Undo, come back.
#include "ModalScript.h"
#include "WindowFixture.h"
#include "app/MainWindow.h"
#include "convert/ui/TFTemplateSettings.h"
#include "core/OptionsValues.h"
#include "core/SettingsStore.h"
#include "core/ui/TFOptions.h"
#include "i18n/ui/THelpWindow.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace apptest;

class SettingsDialogsWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings = testsupport::currentTestPath(QStringLiteral(".ini"));
        w = showFreshMainWindow(m_settings);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }

    void run(const char* action, QList<ModalScript::Step> steps)
    {
        ModalScript script(std::move(steps));
        QAction* a = w->action(QString::fromLatin1(action));
        ASSERT_TRUE(a->isEnabled()) << action;
        a->trigger();
        EXPECT_TRUE(script.done()) << action;
        EXPECT_EQ(script.unexpected, 0) << action;
    }

    QString m_settings;
    std::unique_ptr<MainWindow> w;
};

TEST_F(SettingsDialogsWindowTest, OptionsReachTheSettingsFile)
{
    ASSERT_TRUE(w->stitch().Title.isEmpty());
    run("MenuOptions", {[](QWidget* d) {
        auto* options = qobject_cast<TFOptions*>(d);
        ASSERT_NE(options, nullptr);
        options->titleEdit()->setText(QStringLiteral("Rose"));
        options->numberField(OptionNumber::BagSize)->setValue(321);
        options->numberField(OptionNumber::ThinLines)->setValue(7);
        options->okButton()->click();
    }});
    EXPECT_EQ(w->stitch().BagSize, 321);
    // The untitled design took the default title, and the caption shows it.
    EXPECT_EQ(w->stitch().Title, QStringLiteral("Rose"));
    EXPECT_TRUE(w->windowTitle().endsWith(QStringLiteral(" - Rose"))) << w->windowTitle().toStdString();

    // Written through at once: a new store on the file reads the values.
    SettingsStore store(m_settings);
    EXPECT_EQ(store.readInteger(QStringLiteral("BagSize")), 321);
    EXPECT_EQ(store.readInteger(QStringLiteral("ThinLines")), 7);
    EXPECT_EQ(store.readString(QStringLiteral("DefaultTitle")), QStringLiteral("Rose"));

    // Cancel writes nothing.
    run("MenuOptions", {[](QWidget* d) {
        auto* options = qobject_cast<TFOptions*>(d);
        ASSERT_NE(options, nullptr);
        options->numberField(OptionNumber::BagSize)->setValue(5);
        options->cancelButton()->click();
    }});
    EXPECT_EQ(w->stitch().BagSize, 321);
    EXPECT_EQ(SettingsStore(m_settings).readInteger(QStringLiteral("BagSize")), 321);
}

TEST_F(SettingsDialogsWindowTest, PatternSettingsChangeTheDesignAndUndoBringsItBack)
{
    const int width = w->document().width();
    run("MenuPatternSettings", {[](QWidget* d) {
        auto* settings = qobject_cast<TFTemplateSettings*>(d);
        ASSERT_NE(settings, nullptr);
        settings->titleEdit()->setText(QStringLiteral("Tulips"));
        settings->widthField()->setValue(20);
        settings->okButton()->click();
    }});
    EXPECT_EQ(w->document().width(), 20);
    EXPECT_EQ(w->stitch().Title, QStringLiteral("Tulips"));
    EXPECT_TRUE(w->windowTitle().endsWith(QStringLiteral(" - Tulips")));
    QAction* undo = w->action(QStringLiteral("Undo1"));
    ASSERT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(w->document().width(), width);
    EXPECT_FALSE(undo->isEnabled());
}

TEST_F(SettingsDialogsWindowTest, TheDialogsSpeakTheChosenLanguageAndOpenTheirHelp)
{
    struct Seen { QString title, tab, ok, help; };
    auto look = [this](const char* action) {
        Seen seen;
        run(action, {[&seen](QWidget* d) {
            seen.title = d->windowTitle();
            if (auto* options = qobject_cast<TFOptions*>(d)) {
                seen.tab = options->tabs()->tabText(1);
                seen.ok = options->okButton()->text();
                options->helpButton()->click();
            } else if (auto* settings = qobject_cast<TFTemplateSettings*>(d)) {
                seen.ok = settings->okButton()->text();
                settings->helpButton()->click();
            }
            if (auto* help = d->findChild<THelpWindow*>())
                seen.help = help->title();
            d->close();
        }});
        return seen;
    };
    const Seen options = look("MenuOptions");
    const Seen settings = look("MenuPatternSettings");
    EXPECT_EQ(options.title, QStringLiteral("Options"));
    EXPECT_EQ(options.tab, QStringLiteral("Printing Settings"));
    EXPECT_EQ(options.help, QStringLiteral("Options"));
    EXPECT_EQ(settings.title, QStringLiteral("Design Settings"));
    EXPECT_EQ(settings.help, QStringLiteral("Pattern settings"));

    ASSERT_TRUE(w->MenuLanguageClick(QStringLiteral("deutsch.lang")));
    const Seen optionsDe = look("MenuOptions");
    const Seen settingsDe = look("MenuPatternSettings");
    EXPECT_EQ(optionsDe.title, QStringLiteral("Optionen"));
    EXPECT_EQ(optionsDe.tab, QStringLiteral("Druckeinstellungen"));
    EXPECT_EQ(optionsDe.help, QStringLiteral("Optionen"));
    EXPECT_EQ(settingsDe.title, QStringLiteral("Mustereinstellungen"));
    EXPECT_EQ(settingsDe.help, QStringLiteral("Mustereinstellungen"));

    ASSERT_TRUE(w->MenuLanguageClick(QStringLiteral("english.lang")));
    const Seen optionsEn = look("MenuOptions");
    const Seen settingsEn = look("MenuPatternSettings");
    EXPECT_EQ(optionsEn.title, options.title);
    EXPECT_EQ(optionsEn.tab, options.tab);
    EXPECT_EQ(optionsEn.ok, options.ok);
    EXPECT_EQ(settingsEn.title, settings.title);
    EXPECT_EQ(settingsEn.ok, settings.ok);
}

} // namespace
