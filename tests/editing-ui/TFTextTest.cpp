// The text dialog driven as a user does: its first choices, the fields set by typing and
// choosing, the preview and size line following each change, OK giving the block the preview
// showed, an oversize text refused with the dialog left open, and the choices kept for the next use.
#include "editing/TActions.h"
#include "editing/ui/TFText.h"
#include "i18n/ui/THelpWindow.h"
#include "support/SmallDesign.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace testsupport;

class TFTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        d.stitch.setDrawcolor(kGreen);
        dialog = std::make_unique<TFText>(d.stitch);
        dialog->setMessageHandler([this](const QString& text) { messages << text; });
        dialog->prepare(6);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    // Types `text` into an editable field after selecting what it holds.
    void typeInto(QWidget* field, const QString& text)
    {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    // Chooses the row of `combo` showing `text`, as picking it from the list does.
    void choose(QComboBox* combo, const QString& text)
    {
        const int row = combo->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        combo->setCurrentIndex(row);
    }

    QString sizeLine(QSize s) const
    {
        return QStringLiteral("Size: %1x%2").arg(s.width()).arg(s.height());
    }

    SmallDesign d{40, 40};
    TActions history{d.doc};
    std::unique_ptr<TFText> dialog;
    QStringList messages;
};

TEST_F(TFTextTest, FirstChoicesAndTheColourList)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Insert text"));
    EXPECT_EQ(dialog->fontList()->currentText(), TextRendering::defaultFamily());
    EXPECT_EQ(dialog->fontList()->count(), TextRendering::fontFamilies().size());
    EXPECT_EQ(dialog->sizeList()->currentText(), QStringLiteral("10"));
    QStringList sizes;
    for (int i = 0; i < dialog->sizeList()->count(); ++i)
        sizes << dialog->sizeList()->itemText(i);
    EXPECT_EQ(sizes.join(' '), QStringLiteral("8 9 10 11 12 14 16 18 20 22 24 26 28 36 48 72"));
    EXPECT_EQ(dialog->styleList()->currentText(), QStringLiteral("Bold"));
    EXPECT_EQ(dialog->styleList()->count(), 4);
    EXPECT_TRUE(dialog->autoEnlargeBox()->isChecked());
    EXPECT_TRUE(dialog->textField()->text().isEmpty());
    EXPECT_TRUE(dialog->textField()->hasFocus());
    EXPECT_TRUE(dialog->okButton()->isDefault());

    // The design's colours in palette order, named, each row in its colour; the draw colour chosen.
    EXPECT_EQ(dialog->colors(), QList<ColorKey>({kRed, kGreen, kWhite, kBlue}));
    QStringList names;
    for (int i = 0; i < dialog->colorList()->count(); ++i)
        names << dialog->colorList()->itemText(i);
    EXPECT_EQ(names, QStringList({"Red", "Green", "White", "Blue"}));
    EXPECT_EQ(dialog->colorList()->itemData(3, Qt::BackgroundRole).value<QColor>(), QColor(0, 0, 255));
    EXPECT_EQ(dialog->colorList()->currentText(), QStringLiteral("Green"));
    EXPECT_EQ(dialog->settings().color, kGreen);
}

TEST_F(TFTextTest, SetFieldsAndOkGiveTheBlockThePreviewShowed)
{
    choose(dialog->fontList(), QStringLiteral("DejaVu Sans"));
    typeInto(dialog->sizeList()->lineEdit(), QStringLiteral("14"));
    choose(dialog->styleList(), QStringLiteral("Regular"));
    choose(dialog->colorList(), QStringLiteral("Blue"));
    typeInto(dialog->textField(), QStringLiteral("Ok"));

    const TTextSettings s = dialog->settings();
    EXPECT_EQ(s.fontFamily, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(s.pointSize, 14);
    EXPECT_EQ(s.style, tsRegular);
    EXPECT_EQ(s.color, kBlue);
    EXPECT_EQ(s.text, QStringLiteral("Ok"));
    const QSize extent = TextRendering::measure(s).size;
    EXPECT_EQ(dialog->sizeLabel()->text(), sizeLine(extent));
    // The preview: the cells at the chart's zoom, blue on the design's background.
    const QImage& shown = dialog->preview()->cells();
    ASSERT_EQ(shown.size(), extent);
    EXPECT_EQ(dialog->preview()->size(), extent * 6);

    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(messages.isEmpty());

    // What the window makes of the choices: the block, cell for cell what the preview showed.
    const TClipboard block = TextRendering::makeTextBlock(d.doc, history, dialog->settings(),
                                                          dialog->autoEnlarge());
    ASSERT_EQ(block.size(), extent);
    int text = 0;
    for (int y = 0; y < extent.height(); ++y)
        for (int x = 0; x < extent.width(); ++x) {
            const bool blue = shown.pixel(x, y) == keyToOpaquePixel(kBlue);
            EXPECT_EQ(block.ClipCross.pixel(x, y), blue ? keyToPixel(kBlue) : d.bg());
            text += blue;
        }
    EXPECT_GT(text, 20);
    EXPECT_EQ(d.doc.width(), 40); // the text fits: no enlargement
}

TEST_F(TFTextTest, EveryChangeRedrawsThePreviewAndTheSizeLine)
{
    typeInto(dialog->textField(), QStringLiteral("Jolly"));
    choose(dialog->fontList(), QStringLiteral("Liberation Serif"));
    typeInto(dialog->sizeList()->lineEdit(), QStringLiteral("20"));
    const struct { const char* style; TTextStyle value; } steps[] = {
        {"Bold Italic", tsBoldItalic}, {"Regular", tsRegular}, {"Italic", tsItalic},
    };
    QImage before = dialog->preview()->cells();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.style);
        choose(dialog->styleList(), QString::fromLatin1(step.style));
        EXPECT_EQ(dialog->settings().style, step.value);
        const QSize extent = TextRendering::measure(dialog->settings()).size;
        EXPECT_EQ(dialog->sizeLabel()->text(), sizeLine(extent));
        EXPECT_NE(dialog->preview()->cells(), before);
        before = dialog->preview()->cells();
    }
    // A size that is no whole number is ignored: the size stays and so does the preview.
    for (const char* entry : {"abc", "0", "-4", "12.5"}) {
        // Pasted over the field's text, one change.
        QLineEdit* field = dialog->sizeList()->lineEdit();
        field->selectAll();
        field->insert(QString::fromLatin1(entry));
        EXPECT_EQ(dialog->settings().pointSize, 20) << entry;
        EXPECT_EQ(dialog->preview()->cells(), before) << entry;
    }
}

TEST_F(TFTextTest, AnOversizeTextIsRefusedAndTheDialogStaysOpen)
{
    typeInto(dialog->textField(), QStringLiteral("Big"));
    typeInto(dialog->sizeList()->lineEdit(), QStringLiteral("30000"));
    EXPECT_FALSE(dialog->problem().isEmpty());
    EXPECT_TRUE(dialog->preview()->cells().isNull());
    EXPECT_TRUE(dialog->sizeLabel()->text().contains(QStringLiteral("30000")));
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.first(), dialog->problem());

    // A smaller size makes it acceptable again.
    typeInto(dialog->sizeList()->lineEdit(), QStringLiteral("12"));
    EXPECT_TRUE(dialog->problem().isEmpty());
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(TFTextTest, ChoicesStayForTheNextUseAndTheTextIsEmptied)
{
    choose(dialog->fontList(), QStringLiteral("DejaVu Sans"));
    typeInto(dialog->sizeList()->lineEdit(), QStringLiteral("16"));
    choose(dialog->styleList(), QStringLiteral("Italic"));
    dialog->autoEnlargeBox()->setChecked(false);
    typeInto(dialog->textField(), QStringLiteral("Name"));
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);

    d.stitch.setDrawcolor(kRed);
    dialog->prepare(8);
    dialog->show();
    EXPECT_TRUE(dialog->textField()->text().isEmpty());
    EXPECT_TRUE(dialog->settings().text.isEmpty());
    EXPECT_EQ(dialog->fontList()->currentText(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(dialog->settings().pointSize, 16);
    EXPECT_EQ(dialog->settings().style, tsItalic);
    EXPECT_FALSE(dialog->autoEnlarge());
    EXPECT_EQ(dialog->colorList()->currentText(), QStringLiteral("Red"));
    EXPECT_TRUE(dialog->preview()->cells().isNull());
}

TEST_F(TFTextTest, HelpOpensItsPage)
{
    QTest::mouseClick(dialog->helpButton(), Qt::LeftButton);
    auto* help = dialog->findChild<THelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->context(), TFText::kHelpContext);
    EXPECT_EQ(help->title(), QStringLiteral("Insert text"));
    help->close();
}

} // namespace
