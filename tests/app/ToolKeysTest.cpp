// Every tool's key chooses its tool in the main window, whether its button is shown or hidden
// in this product, and every key shows in its tool's tool tip.
#include "ModalScript.h"
#include "WindowFixture.h"
#include "app/ToolKeys.h"
#include "editing/ToolController.h"
#include "editing/ui/TFText.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

using namespace apptest;

TEST(ToolKeys, EachKeyChoosesItsToolShownOrHidden)
{
    const QString settings = testsupport::currentTestPath(QStringLiteral(".ini"));
    auto w = showFreshMainWindow(settings);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    auto act = [&](const char* name) { return w->action(QString::fromLatin1(name)); };

    // key, modifiers, the mode it chooses (-1: the text tool, which opens its dialog), the
    // fill mode it sets (-1: none), the action whose tool tip names the key, and whether this
    // product hides the tool's button.
    const struct Row { Qt::Key key; Qt::KeyboardModifiers mods; int mode; int fill; const char* tip; bool hidden; } rows[] = {
        {Qt::Key_D, Qt::NoModifier, modDraw, -1, "ButtonDraw", false},
        {Qt::Key_E, Qt::NoModifier, modErase, -1, "ButtonErase", false},
        {Qt::Key_I, Qt::NoModifier, modPipette, -1, "ButtonPipette", false},
        {Qt::Key_F, Qt::NoModifier, modFill, -1, "ButtonFill", false},
        {Qt::Key_R, Qt::NoModifier, modReplaceColor, -1, "ButtonSwitchColors", false},
        {Qt::Key_H, Qt::NoModifier, modCursor, -1, "ButtonCursor", false},
        {Qt::Key_L, Qt::NoModifier, modHighlight, -1, "ButtonHighlight", false},
        {Qt::Key_Q, Qt::NoModifier, modQDraw, -1, "ButtonDrawQuarter", true},
        {Qt::Key_N, Qt::NoModifier, modLine, -1, "ButtonDrawLine", false},
        {Qt::Key_U, Qt::NoModifier, modRectangle, fillNone, "ButtonDrawRectangle", false},
        {Qt::Key_U, Qt::ShiftModifier, modRectangle, fillFull, "ButtonDrawRectangle", false},
        {Qt::Key_C, Qt::NoModifier, modCircle, fillNone, "ButtonDrawCircle", false},
        {Qt::Key_C, Qt::ShiftModifier, modCircle, fillFull, "ButtonDrawCircle", false},
        {Qt::Key_J, Qt::NoModifier, modInlineBorder, -1, "ButtonInlineBorder", false},
        {Qt::Key_J, Qt::ShiftModifier, modOutlineBorder, -1, "ButtonOutlineBorder", false},
        {Qt::Key_O, Qt::NoModifier, modOutline, -1, "ButtonOutline", false},
        {Qt::Key_B, Qt::NoModifier, modBackStitch, -1, "ButtonBackStitchDraw", true},
        {Qt::Key_K, Qt::NoModifier, modFrenchKnot, -1, "ButtonKnot", true},
        {Qt::Key_P, Qt::NoModifier, modRhode, -1, "ButtonRhode", true},
        {Qt::Key_M, Qt::NoModifier, modSelection, -1, "ButtonSelection", false},
        {Qt::Key_T, Qt::NoModifier, -1, -1, "ButtonText", false},
    };
    ASSERT_EQ(std::size(rows), std::size(ToolKeys::kBindings));

    for (const Row& r : rows) {
        const QKeySequence sequence(int(r.mods) | r.key);
        const QString key = sequence.toString(QKeySequence::NativeText);
        SCOPED_TRACE(key.toStdString());
        QAction* tip = act(r.tip);
        ASSERT_NE(tip, nullptr);
        // The tool tip names the key: "Fill (F)", "Draw rectangle (U; Filled rectangle: Shift+U)".
        EXPECT_TRUE(tip->toolTip().contains(QStringLiteral("(") + key + QStringLiteral(")"))
                    || tip->toolTip().contains(QStringLiteral("(") + key + QStringLiteral(";"))
                    || tip->toolTip().contains(QStringLiteral(": ") + key + QStringLiteral(")")))
            << tip->toolTip().toStdString();
        // The tool's button is on the tool bar; this product hides some (and a narrow window
        // moves others into the bar's overflow). The key works either way.
        const QWidget* button = w->mainToolBar()->findChild<QWidget*>(QString::fromLatin1(r.tip));
        ASSERT_NE(button, nullptr);
        if (r.hidden)
            EXPECT_FALSE(button->isVisible());

        // Start from another tool, and with the other fill mode.
        w->Setmode(r.mode == modDraw ? modCursor : modDraw);
        if (r.fill >= 0)
            w->tools()->setFillMode(r.fill == fillFull ? fillNone : fillFull);

        if (r.mode < 0) {
            // The text tool runs at once: its dialog opens, and Cancel leaves the tool as it was.
            QString opened;
            ModalScript script({[&](QWidget* d) {
                opened = QString::fromLatin1(d->metaObject()->className());
                d->close();
            }});
            QTest::keyClick(w.get(), r.key, r.mods);
            EXPECT_TRUE(script.done());
            EXPECT_EQ(opened, QStringLiteral("TFText"));
            EXPECT_EQ(w->tools()->mode(), modDraw);
            continue;
        }
        QTest::keyClick(w.get(), r.key, r.mods);
        EXPECT_EQ(int(w->tools()->mode()), r.mode);
        if (r.fill >= 0)
            EXPECT_EQ(int(w->tools()->fillMode()), r.fill);
        // Exactly the chosen tool's button is pressed.
        if (QAction* tool = w->toolAction(TMode(r.mode)))
            EXPECT_TRUE(tool->isChecked());
        if (r.mode == modHighlight) {
            // The highlight is a toggle: its key again returns to the tool before it.
            QTest::keyClick(w.get(), r.key, r.mods);
            EXPECT_EQ(w->tools()->mode(), modDraw);
        }
    }

    // A tool the command states switch off ignores its key: the quarter tool of a knitting
    // chart stays unchosen even though its key is bound.
    w->Setmode(modDraw);
    QAction* quarter = act("ButtonDrawQuarter");
    quarter->setEnabled(false);
    QTest::keyClick(w.get(), Qt::Key_Q);
    EXPECT_EQ(w->tools()->mode(), modDraw);

    w.reset();
    QFile::remove(settings);
}

} // namespace
