// The change-character dialog driven as a user does, on a design with the shipped DMC palette
// and symbol set: clicking used and free symbols, the keyboard, "OK" and "Cancel", the greyed
// cells, and the entry point that refuses an unused draw colour.
#include "core/PatternDocument.h"
#include "palettes/ui/TFChangeCharacter.h"
#include "session/Session.h"
#include "support/ShippedSession.h"
#include "support/TestSupport.h"
#include "i18n/ui/THelpWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class ChangeCharacterWidgetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session = testsupport::startShippedSession();
        TStitch& st = session->stitch();
        ASSERT_GE(st.Colors.size(), 6);
        // Five used colours; the draw colour is the first.
        for (int i = 0; i < 5; ++i) {
            const ColorKey c = st.Colors.at(i * 7).first;
            used << c;
            for (int x = 0; x <= i; ++x)
                doc().updatePixel(x, i, c, true);
        }
        st.setDrawcolor(used.first());
        ASSERT_EQ(doc().checkInvariant(), QString());
    }

    PatternDocument& doc() { return session->document(); }
    TStitch& st() { return session->stitch(); }

    // A cell of the grid at a symbol position.
    static QPoint cellCenter(int position)
    {
        return SymbolGrid::cellRect(position % 25, position / 25).center();
    }
    // The first position inside the string that no used colour shows.
    int firstFreePosition() const
    {
        const TCharacters& chars = session->stitch().chars;
        for (int p = 0; p < chars.fcharacters.size(); ++p) {
            if (chars.CharsUsed.value(p) < 1)
                return p;
        }
        return -1;
    }

    std::unique_ptr<Session> session;
    QList<ColorKey> used;
};

TEST_F(ChangeCharacterWidgetTest, PickingAFreeSymbolChangesTheDrawColour)
{
    TFChangeCharacter dialog(doc());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change symbol for the current color"));
    QStringList labels;
    for (QLabel* l : dialog.findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains(
        QStringLiteral("Select new symbol for the current color. Grayed symbols are already in use")));
    EXPECT_EQ(dialog.grid()->size(), QSize(25 * 24 + 1, 25 * 24 + 1));
    EXPECT_EQ(dialog.okButton()->isEnabled(), st().chars.CharsUsed.value(0) < 1);

    // Another colour's symbol cannot be chosen.
    const int taken = st().Colors.find(used[2])->charID;
    QTest::mouseClick(dialog.grid(), Qt::LeftButton, {}, cellCenter(taken));
    EXPECT_EQ(dialog.logic().selectedPosition(), taken);
    EXPECT_FALSE(dialog.okButton()->isEnabled());

    // Past the end of the string (625 cells, fewer symbols): not either.
    ASSERT_LT(st().chars.fcharacters.size(), 625);
    QTest::mouseClick(dialog.grid(), Qt::LeftButton, {}, cellCenter(624));
    EXPECT_FALSE(dialog.okButton()->isEnabled());

    const int free = firstFreePosition();
    ASSERT_GE(free, 0);
    QTest::mouseClick(dialog.grid(), Qt::LeftButton, {}, cellCenter(free));
    EXPECT_TRUE(dialog.okButton()->isEnabled());
    const int oldPosition = st().Colors.find(used[0])->charID;
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(st().Colors.find(used[0])->charID, free);
    EXPECT_EQ(st().chars.CharsUsed.value(free), 1);
    EXPECT_EQ(st().chars.CharsUsed.value(oldPosition), 0);
    const int row = doc().colorSymbolsIndexOf(used[0]);
    ASSERT_GE(row, 0);
    EXPECT_EQ(doc().ColorSymbolsList[row].Symbol, st().chars.fcharacters.at(free));
    EXPECT_EQ(doc().checkInvariant(), QString());
}

TEST_F(ChangeCharacterWidgetTest, UsedSymbolsAreGreyedAndCancelChangesNothing)
{
    TFChangeCharacter dialog(doc());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // Select a cell that is neither of the two looked at.
    QTest::mouseClick(dialog.grid(), Qt::LeftButton, {}, cellCenter(600));
    const QImage shot = dialog.grid()->grab().toImage();
    const int usedPos = st().Colors.find(used[1])->charID;
    const int freePos = firstFreePosition();
    auto corner = [&](int p) {
        const QRect cell = SymbolGrid::cellRect(p % 25, p / 25);
        return shot.pixelColor(cell.right(), cell.bottom());
    };
    auto inkIn = [&](int p) {
        const QRect cell = SymbolGrid::cellRect(p % 25, p / 25);
        const QColor bg = corner(p);
        int n = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x)
                n += shot.pixelColor(x, y) != bg ? 1 : 0;
        }
        return n;
    };
    EXPECT_EQ(corner(usedPos), QColor(192, 192, 192));
    EXPECT_NE(corner(freePos), QColor(192, 192, 192));
    EXPECT_GT(inkIn(usedPos), 10);
    EXPECT_GT(inkIn(freePos), 10);
    // A cell past the end of the string stays blank.
    const int past = st().chars.fcharacters.size() + 1;
    EXPECT_EQ(inkIn(past), 0);

    if (const QString shots = qEnvironmentVariable("QUILL_SCREENSHOT_DIR"); !shots.isEmpty()) {
        QTest::mouseClick(dialog.grid(), Qt::LeftButton, {}, cellCenter(freePos));
        dialog.grab().save(shots + QStringLiteral("/change-character.png"));
    }

    const ColorTable before = st().Colors;
    const QList<qint32> usedBefore = st().chars.CharsUsed;
    QTest::mouseClick(dialog.grid(), Qt::LeftButton, {}, cellCenter(freePos));
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(st().Colors == before);
    EXPECT_EQ(st().chars.CharsUsed, usedBefore);
}

TEST_F(ChangeCharacterWidgetTest, KeyboardMovesTheSelection)
{
    TFChangeCharacter dialog(doc());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(dialog.grid(), Qt::Key_Down);
    QTest::keyClick(dialog.grid(), Qt::Key_Right);
    QTest::keyClick(dialog.grid(), Qt::Key_Right);
    EXPECT_EQ(dialog.logic().selectedPosition(), 27);
    EXPECT_EQ(dialog.okButton()->isEnabled(), symbolPositionFree(st(), 27));
    QTest::keyClick(dialog.grid(), Qt::Key_Up);
    QTest::keyClick(dialog.grid(), Qt::Key_Up); // stays in the first row
    EXPECT_EQ(dialog.logic().selectedPosition(), 2);
}

TEST_F(ChangeCharacterWidgetTest, HelpAndTheEntryPoint)
{
    TFChangeCharacter dialog(doc());
    QStringList messages;
    dialog.showMessage = [&](const QString& t) { messages << t; };
    QPushButton* help = nullptr;
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        help = b->text() == QStringLiteral("Help") ? b : help;
    ASSERT_NE(help, nullptr);
    QTest::mouseClick(help, Qt::LeftButton);
    // The help window at the dialog's page, and no message instead.
    EXPECT_TRUE(messages.isEmpty());
    auto* page = dialog.findChild<THelpWindow*>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->context(), 3600);
    page->close();

    // An unused draw colour opens no dialog.
    const ColorKey unused = st().Colors.at(1).first;
    ASSERT_EQ(st().Colors.find(unused)->colorCount, 0);
    st().setDrawcolor(unused);
    bool opened = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            opened = true;
            w->close();
        }
    });
    guard.start(10);
    EXPECT_FALSE(showChangeCharacter(nullptr, doc()));
    EXPECT_FALSE(opened);
}

} // namespace
