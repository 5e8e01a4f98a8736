// The design-settings dialog driven as a user does: the fields show the design, the background
// panel takes the chosen colour, OK applies the changes through the history (undo gives the
// design back) and Cancel changes nothing.
#include "app/ModalScript.h"
#include "convert/ui/TFTemplateSettings.h"
#include "editing/TActions.h"
#include "support/SmallDesign.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace testsupport;

class TFTemplateSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ColorTable other = *d.stitch.ColorPalettes.find(QStringLiteral("Small"));
        other.remove(kBlue);
        d.stitch.ColorPalettes.insert(QStringLiteral("No blue"), other);
        d.doc.updatePixel(0, 0, kRed, false);
        d.doc.updatePixel(1, 0, kRed, false);
        d.doc.updatePixel(2, 0, kBlue, false);
        d.doc.CalcColorUsage();
        d.stitch.Title = QStringLiteral("Roses");
        d.stitch.comment = {QStringLiteral("one"), QStringLiteral("two")};
        d.stitch.setFileSaved(true);
    }

    SmallDesign d{6, 4};
    TActions history{d.doc};
};

TEST_F(TFTemplateSettingsTest, TheFieldsShowTheDesign)
{
    TFTemplateSettings dialog(d.doc);
    dialog.setValues(DesignSettingsValues::from(d.doc));
    dialog.applyProductMode();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Design Settings"));
    EXPECT_EQ(dialog.paletteBox()->currentText(), QStringLiteral("Small"));
    EXPECT_EQ(dialog.paletteBox()->count(), 2);
    EXPECT_EQ(dialog.symbolsBox()->currentText(), QStringLiteral("Shapes"));
    EXPECT_EQ(dialog.titleEdit()->text(), QStringLiteral("Roses"));
    EXPECT_EQ(dialog.commentEdit()->toPlainText(), QStringLiteral("one\ntwo"));
    EXPECT_EQ(dialog.lenField()->value(), 10);
    EXPECT_FALSE(dialog.threadGroup()->isVisible());
    EXPECT_TRUE(dialog.colorsCountField()->isEnabled());
    EXPECT_EQ(dialog.colorsCountField()->value(), 2);
    EXPECT_EQ(dialog.colorsCountField()->minimum(), 1);
    EXPECT_EQ(dialog.colorsCountField()->maximum(), 2);
    EXPECT_EQ(dialog.widthField()->value(), 6);
    EXPECT_EQ(dialog.heightField()->value(), 4);
    EXPECT_EQ(dialog.widthField()->maximum(), 32767);
    // The background panel shows the background colour.
    const QImage panel = dialog.backgroundPanel()->grab().toImage();
    EXPECT_EQ(QColor(panel.pixel(panel.rect().center())), QColor(Qt::white));

    // One used colour: the count cannot be changed.
    d.doc.updatePixel(2, 0, d.stitch.BackGroundColor, false);
    dialog.setValues(DesignSettingsValues::from(d.doc));
    EXPECT_FALSE(dialog.colorsCountField()->isEnabled());
    EXPECT_EQ(dialog.colorsCountField()->value(), 1);
}

TEST_F(TFTemplateSettingsTest, OkAppliesTheChangesAndUndoGivesTheDesignBack)
{
    const QJsonObject before = snapshot(d.doc);
    const ColorKey chosen = makeColorKey(250, 240, 200);
    apptest::ModalScript script({[&](QWidget* w) {
        auto* dialog = qobject_cast<TFTemplateSettings*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->setColorChooser([&](const QColor& current) -> std::optional<QColor> {
            EXPECT_EQ(current, QColor(Qt::white));
            return keyToQColor(chosen);
        });
        dialog->backgroundPanel()->click();
        dialog->titleEdit()->setText(QStringLiteral("Tulips"));
        dialog->paletteBox()->setCurrentText(QStringLiteral("No blue"));
        dialog->widthField()->setValue(2);
        dialog->okButton()->click();
    }});
    const std::optional<DesignSettingsResult> r = showTemplateSettings(nullptr, d.doc, history);
    EXPECT_TRUE(script.done());
    ASSERT_TRUE(r.has_value());
    EXPECT_TRUE(r->changed);
    EXPECT_TRUE(r->titleChanged);
    EXPECT_EQ(r->actions, 3);
    EXPECT_EQ(d.stitch.Title, QStringLiteral("Tulips"));
    EXPECT_EQ(d.stitch.BackGroundColor, keyToBackground(chosen));
    EXPECT_EQ(d.stitch.colorsname(), QStringLiteral("No blue"));
    EXPECT_EQ(d.doc.width(), 2);
    EXPECT_FALSE(d.stitch.fileSaved());
    EXPECT_EQ(d.doc.checkInvariant().toStdString(), "");

    for (int i = 0; i < r->actions; ++i)
        history.Undo();
    QJsonObject undone = snapshot(d.doc);
    undone["title"] = before["title"]; // the title is not in the history
    EXPECT_EQ(undone, before);
}

TEST_F(TFTemplateSettingsTest, CancelChangesNothing)
{
    const QJsonObject before = snapshot(d.doc);
    apptest::ModalScript script({[](QWidget* w) {
        auto* dialog = qobject_cast<TFTemplateSettings*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->titleEdit()->setText(QStringLiteral("Tulips"));
        dialog->heightField()->setValue(9);
        dialog->cancelButton()->click();
    }});
    EXPECT_FALSE(showTemplateSettings(nullptr, d.doc, history).has_value());
    EXPECT_TRUE(script.done());
    EXPECT_EQ(snapshot(d.doc), before);
    EXPECT_EQ(history.count(), 0);
    EXPECT_TRUE(d.stitch.fileSaved());
}

TEST_F(TFTemplateSettingsTest, AChooserCancelledKeepsThePanel)
{
    TFTemplateSettings dialog(d.doc);
    dialog.setValues(DesignSettingsValues::from(d.doc));
    dialog.setColorChooser([](const QColor&) { return std::optional<QColor>(); });
    dialog.backgroundPanel()->click();
    EXPECT_EQ(dialog.values().background, kWhite);
}

} // namespace
