// The options dialog driven as a user does: the fields show the settings, typed values and
// "Default" reach the values OK hands back, Cancel changes nothing, and the product mode's
// groups.
#include "app/ModalScript.h"
#include "core/OptionsValues.h"
#include "core/Product.h"
#include "core/TStitch.h"
#include "core/ui/TFOptions.h"
#include "support/SmallDesign.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

using namespace testsupport;

class TFOptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ColorTable second = *d.stitch.ColorPalettes.find(QStringLiteral("Small"));
        d.stitch.ColorPalettes.insert(QStringLiteral("Second"), second);
        d.stitch.defaultPalette = QStringLiteral("Small");
        d.stitch.defaultCharacters = QStringLiteral("Shapes");
        d.stitch.libraryPath = QStringLiteral("/home/someone/a/rather/long/path/to/the/motif/library/");
        d.stitch.SubTitle = Product::kDefaultSubtitle;
        d.stitch.BookInfo = QStringLiteral("<p>By <b>Anna</b></p>");
        d.stitch.checkForUpdates = true;
        for (const OptionNumberDef& def : optionNumbers())
            def.field(d.stitch) = def.minimum + 1;
        dialog = std::make_unique<TFOptions>(d.stitch);
        dialog->setValues(OptionsValues::from(d.stitch));
        dialog->applyProductMode();
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    // Types a number into a field as the user does: select all, type, leave the field.
    void type(QSpinBox* field, int value)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QString::number(value));
        field->interpretText();
    }

    SmallDesign d;
    std::unique_ptr<TFOptions> dialog;
};

TEST_F(TFOptionsTest, TheFieldsShowTheSettings)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Options"));
    ASSERT_EQ(dialog->tabs()->count(), 2);
    EXPECT_EQ(dialog->tabs()->tabText(0), QStringLiteral("General Settings"));
    EXPECT_EQ(dialog->tabs()->tabText(1), QStringLiteral("Printing Settings"));
    EXPECT_EQ(dialog->paletteBox()->count(), 2);
    EXPECT_EQ(dialog->paletteBox()->currentText(), QStringLiteral("Small"));
    EXPECT_EQ(dialog->symbolsBox()->currentText(), QStringLiteral("Shapes"));
    EXPECT_EQ(dialog->pathEdit()->text(), d.stitch.libraryPath);
    // The label shows the path shortened to its width.
    const QString shown = dialog->pathLabel()->text();
    EXPECT_LE(dialog->pathLabel()->fontMetrics().horizontalAdvance(shown),
              qMax(50, dialog->pathLabel()->width()));
    EXPECT_EQ(dialog->subTitleEdit()->text(), Product::kDefaultSubtitle);
    EXPECT_EQ(dialog->bookInfoEdit()->toPlainText(), QStringLiteral("By Anna"));
    EXPECT_TRUE(dialog->updatesCheck()->isChecked());
    for (const OptionNumberDef& def : optionNumbers()) {
        QSpinBox* field = dialog->numberField(def.id);
        ASSERT_NE(field, nullptr) << def.control;
        EXPECT_EQ(field->objectName(), QString::fromLatin1(def.control));
        EXPECT_EQ(field->minimum(), def.minimum) << def.control;
        EXPECT_EQ(field->maximum(), def.maximum) << def.control;
        EXPECT_EQ(field->value(), def.minimum + 1) << def.control;
    }
    // The pixel-art product: bags shown, the stitch behaviour hidden.
    dialog->tabs()->setCurrentIndex(1);
    EXPECT_TRUE(dialog->bagGroup()->isVisible());
    EXPECT_FALSE(dialog->stitchGroup()->isVisible());
}

TEST_F(TFOptionsTest, TypedValuesReachTheValues)
{
    dialog->paletteBox()->setCurrentIndex(1);
    dialog->titleEdit()->setText(QStringLiteral("Rose"));
    dialog->updatesCheck()->click();
    dialog->tabs()->setCurrentIndex(1);
    type(dialog->numberField(OptionNumber::ThickLines), 70);
    type(dialog->numberField(OptionNumber::PrintPosTop), -20);
    type(dialog->numberField(OptionNumber::LabelWidth), 2999);
    // Beyond the range the field stops at its end; letters are not taken.
    type(dialog->numberField(OptionNumber::SymbolSize), 900);
    QSpinBox* bags = dialog->numberField(OptionNumber::BagSize);
    bags->setFocus();
    bags->selectAll();
    QTest::keyClicks(bags, QStringLiteral("4x2"));
    bags->interpretText();

    const OptionsValues v = dialog->values();
    EXPECT_EQ(v.palette, QStringLiteral("Second"));
    EXPECT_EQ(v.defaultTitle, QStringLiteral("Rose"));
    EXPECT_FALSE(v.checkForUpdates);
    EXPECT_EQ(v.number(OptionNumber::ThickLines), 70);
    EXPECT_EQ(v.number(OptionNumber::PrintPosTop), -20);
    EXPECT_EQ(v.number(OptionNumber::LabelWidth), 2999);
    EXPECT_LE(v.number(OptionNumber::SymbolSize), 300);
    EXPECT_EQ(v.number(OptionNumber::BagSize), 42);
    // The book information was not edited: it stays as stored.
    EXPECT_EQ(v.bookInfo, d.stitch.BookInfo);
}

TEST_F(TFOptionsTest, EditedBookInfoIsHtml)
{
    QTextEdit* memo = dialog->bookInfoEdit();
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, QStringLiteral(" and Ben"));
    const QString html = dialog->values().bookInfo;
    EXPECT_TRUE(Qt::mightBeRichText(html));
    QTextDocument read;
    read.setHtml(html);
    EXPECT_EQ(read.toPlainText(), QStringLiteral("By Anna and Ben"));
    EXPECT_TRUE(html.contains(QStringLiteral("font-weight"))) << html.toStdString(); // still bold

    memo->selectAll();
    QTest::keyClick(memo, Qt::Key_Delete);
    EXPECT_EQ(dialog->values().bookInfo, QString());
}

TEST_F(TFOptionsTest, DefaultThenCancelChangesNothing)
{
    dialog.reset();
    const OptionsValues before = OptionsValues::from(d.stitch);
    bool defaulted = false;
    apptest::ModalScript script({[&](QWidget* w) {
        auto* options = qobject_cast<TFOptions*>(w);
        ASSERT_NE(options, nullptr);
        options->defaultButton()->click();
        defaulted = options->numberField(OptionNumber::BagSize)->value() == 200
            && options->numberField(OptionNumber::BorderLeft)->value() == 10;
        options->cancelButton()->click();
    }});
    EXPECT_FALSE(showOptionsDialog(nullptr, d.stitch));
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(defaulted);
    EXPECT_EQ(OptionsValues::from(d.stitch), before);
}

TEST_F(TFOptionsTest, OkPutsTheFieldsIntoTheSettings)
{
    dialog.reset();
    d.stitch.Title.clear();
    apptest::ModalScript script({[&](QWidget* w) {
        auto* options = qobject_cast<TFOptions*>(w);
        ASSERT_NE(options, nullptr);
        options->titleEdit()->setText(QStringLiteral("Rose"));
        options->numberField(OptionNumber::LegendDistance)->setValue(12);
        options->okButton()->click();
    }});
    bool titled = false;
    EXPECT_TRUE(showOptionsDialog(nullptr, d.stitch, &titled));
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(titled);
    EXPECT_EQ(d.stitch.DefaultTitle, QStringLiteral("Rose"));
    EXPECT_EQ(d.stitch.Title, QStringLiteral("Rose"));
    EXPECT_EQ(d.stitch.LegendDistance, 12);
}

} // namespace
