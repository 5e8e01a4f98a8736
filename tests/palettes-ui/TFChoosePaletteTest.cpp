// The palette list dialog driven as a user drives it: the rows and captions, the row of the
// design's palette, the fields of save mode, the file-name rule when the field is left, and
// the messages and result of OK.
#include "core/TStitch.h"
#include "palettes/ui/TFChoosePalette.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The dialog with its message boxes recorded instead of shown; questions get `answer`.
class RecordingChoosePalette : public TFChoosePalette
{
public:
    using TFChoosePalette::TFChoosePalette;

    struct Shown
    {
        QMessageBox::Icon icon;
        QString text;
        QMessageBox::StandardButtons buttons;
    };
    QList<Shown> shown;
    QMessageBox::StandardButton answer = QMessageBox::Ok;

    QStringList texts() const
    {
        QStringList t;
        for (const Shown& s : shown)
            t << s.text;
        return t;
    }

protected:
    QMessageBox::StandardButton showMessage(QMessageBox::Icon icon, const QString& text,
                                            QMessageBox::StandardButtons buttons) override
    {
        shown.append({icon, text, buttons});
        return buttons.testFlag(QMessageBox::Cancel) ? answer : QMessageBox::Ok;
    }
};

const QString kExists = QStringLiteral("File already exists. Override it?");
const QString kSameVersion = QStringLiteral("Palette with same version already exists. Can not save.");
const QString kInvalid = QStringLiteral("Invalid file name.");

class TFChoosePaletteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString folder = testsupport::tempRoot() + QStringLiteral("/choosepalette/");
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        write(folder + QStringLiteral("sample.ctb"), ";$NSample\r\n;$V1.0\r\n\"Black\", 310, 0, 0, 0, 12\r\n");
        write(folder + QStringLiteral("other.ctb"), ";$NOther\r\n;$V2.0\r\n");
        write(folder + QStringLiteral("plain.ctb"), ";$NPlain\r\n\r\nB5200, 255, 255, 255, 3\r\n");
        m_stitch.PalettesPath = folder;
    }

    // The save mode as the palette editor opens it for the palette "Sample" 1.0 of sample.ctb.
    template <typename Dialog>
    static void showSaveModeForSample(Dialog& dlg)
    {
        dlg.paletteFilename = QStringLiteral("sample.ctb");
        dlg.palettename = QStringLiteral("Sample");
        dlg.paletteVersion = QStringLiteral("1.0");
        dlg.prepare(vmAllowChange);
        dlg.show();
    }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    static void type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    static QStringList rowTexts(const QTreeWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* it = list->topLevelItem(i);
            out << it->text(0) + QLatin1Char('|') + it->text(1) + QLatin1Char('|') + it->text(2);
        }
        return out;
    }

    TStitch m_stitch;
};

TEST_F(TFChoosePaletteTest, ShowsCaptionsColumnsAndOneRowPerFile)
{
    RecordingChoosePalette dlg(m_stitch);
    dlg.prepare(vmView);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Palette list"));
    EXPECT_EQ(dlg.findChild<QGroupBox*>()->title(), QStringLiteral(" Choose palette "));
    QTreeWidget* list = dlg.listView();
    const QTreeWidgetItem* header = list->headerItem();
    EXPECT_EQ(QStringList({header->text(0), header->text(1), header->text(2)}),
              QStringList({"Filename", "Palette", "Version"}));
    EXPECT_EQ(list->columnWidth(0), 200);
    EXPECT_EQ(list->columnWidth(1), 100);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(rowTexts(list), QStringList({"other.ctb|Other|2.0", "plain.ctb|Plain|",
                                           "sample.ctb|Sample|1.0"}));
    EXPECT_FALSE(dlg.editPanel()->isVisible());
    EXPECT_EQ(dlg.okButton()->text(), QStringLiteral("OK"));
    EXPECT_TRUE(dlg.okButton()->isDefault());
    EXPECT_EQ(dlg.cancelButton()->text(), QStringLiteral("Cancel"));
    QStringList labels;
    for (const QLabel* l : dlg.editPanel()->findChildren<QLabel*>())
        labels << l->text();
    EXPECT_EQ(labels, QStringList({"Filename :", "Palette :", "Version :"}));
}

TEST_F(TFChoosePaletteTest, SelectsTheRowOfTheDesignsPalette)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"Sample v1.0", "sample.ctb"},
        {"Other v2.0", "other.ctb"},
        // A palette without a version is catalogued under its bare name.
        {"Plain", "plain.ctb"},
        {"Missing v1", nullptr},
    };
    RecordingChoosePalette dlg(m_stitch);
    for (const auto& [palette, file] : cases) {
        m_stitch.fcolorsName = QString::fromUtf8(palette);
        dlg.prepare(vmView);
        const auto row = dlg.selectedRow();
        ASSERT_EQ(row.has_value(), file != nullptr) << palette;
        if (file) {
            EXPECT_EQ(row->fileName, QString::fromUtf8(file)) << palette;
        }
    }
}

// View mode: the user clicks a row and OK; the dialog returns that row. The save checks do not
// run on the hidden fields, even when they hold a duplicate from an earlier save.
TEST_F(TFChoosePaletteTest, ViewModeReturnsTheClickedRow)
{
    RecordingChoosePalette dlg(m_stitch);
    dlg.paletteFilename = QStringLiteral("copy.ctb");
    dlg.palettename = QStringLiteral("Sample");
    dlg.paletteVersion = QStringLiteral("1.0");
    dlg.prepare(vmAllowChange);
    m_stitch.fcolorsName = QStringLiteral("Sample v1.0");
    dlg.prepare(vmView);
    dlg.show();
    QTreeWidget* list = dlg.listView();
    const QRect r = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(dlg.shown.isEmpty());
    ASSERT_TRUE(dlg.selectedRow().has_value());
    EXPECT_EQ(*dlg.selectedRow(), (PaletteFileRow{"plain.ctb", "Plain", "", false}));
    // The hidden fields kept their contents.
    EXPECT_EQ(dlg.enteredFilename(), QStringLiteral("copy.ctb"));
}

TEST_F(TFChoosePaletteTest, SaveModeShowsTheCallersValues)
{
    RecordingChoosePalette dlg(m_stitch);
    showSaveModeForSample(dlg);
    EXPECT_TRUE(dlg.editPanel()->isVisible());
    EXPECT_EQ(dlg.filenameEdit()->text(), QStringLiteral("sample.ctb"));
    EXPECT_EQ(dlg.nameEdit()->text(), QStringLiteral("Sample"));
    EXPECT_EQ(dlg.versionEdit()->text(), QStringLiteral("1.0"));
}

struct SaveCase
{
    const char* fileName;
    const char* name;
    const char* version;
    QMessageBox::StandardButton answer; // to the file-exists question
    QStringList messages;
    bool accepted;
    const char* fileAfter; // the file-name field afterwards
};

TEST_F(TFChoosePaletteTest, OkInSaveModeAsksRefusesOrAccepts)
{
    const auto ok = QMessageBox::Ok, cancel = QMessageBox::Cancel;
    const std::vector<SaveCase> cases = {
        {"fresh.txt", "Fresh", "1", ok, {}, true, "fresh.ctb"},
        {"fresh", "Sample", "1.1", ok, {}, true, "fresh.ctb"},
        // Saving again into its own file under its own name and version.
        {"sample.ctb", "Sample", "1.0", ok, {kExists}, true, "sample.ctb"},
        {"sample.ctb", "Sample", "1.0", cancel, {kExists}, false, "sample.ctb"},
        {"copy", "Sample", "1.0", ok, {kSameVersion}, false, "copy.ctb"},
        {"other.ctb", "Sample", "1.0", ok, {kExists, kSameVersion}, false, "other.ctb"},
        {"other.ctb", "Sample", "1.0", cancel, {kExists}, false, "other.ctb"},
        {"new.ctb", "Plain", "", ok, {kSameVersion}, false, "new.ctb"},
        {"", "Fresh", "1", ok, {kInvalid}, false, ".ctb"},
        {"../escape", "Fresh", "1", ok, {kInvalid}, false, "../escape.ctb"},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fileName << " " << c.name << " " << c.version);
        RecordingChoosePalette dlg(m_stitch);
        dlg.answer = c.answer;
        dlg.prepare(vmAllowChange);
        dlg.show();
        type(dlg.filenameEdit(), QString::fromUtf8(c.fileName));
        type(dlg.nameEdit(), QString::fromUtf8(c.name));
        type(dlg.versionEdit(), QString::fromUtf8(c.version));
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
        EXPECT_EQ(dlg.texts(), c.messages);
        EXPECT_EQ(dlg.result() == QDialog::Accepted, c.accepted);
        EXPECT_EQ(dlg.isVisible(), !c.accepted);
        EXPECT_EQ(dlg.enteredFilename(), QString::fromUtf8(c.fileAfter));
        EXPECT_EQ(dlg.enteredName(), QString::fromUtf8(c.name));
        EXPECT_EQ(dlg.enteredVersion(), QString::fromUtf8(c.version));
        if (!dlg.shown.isEmpty() && dlg.shown.first().text == kExists) {
            EXPECT_EQ(dlg.shown.first().icon, QMessageBox::Warning);
            EXPECT_EQ(dlg.shown.first().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        }
    }
}

// Cancel after the question keeps the dialog open; a second OK asks again and can then save.
TEST_F(TFChoosePaletteTest, TheDialogStaysUsableAfterARefusal)
{
    RecordingChoosePalette dlg(m_stitch);
    showSaveModeForSample(dlg);
    dlg.answer = QMessageBox::Cancel;
    QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    dlg.answer = QMessageBox::Ok;
    QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.texts(), QStringList({kExists, kExists}));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(TFChoosePaletteTest, LeavingTheFileNameFieldAppliesTheExtension)
{
    RecordingChoosePalette dlg(m_stitch);
    dlg.prepare(vmAllowChange);
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    type(dlg.filenameEdit(), QStringLiteral("green.txt"));
    ASSERT_TRUE(dlg.filenameEdit()->hasFocus());
    EXPECT_EQ(dlg.filenameEdit()->text(), QStringLiteral("green.txt"));
    QTest::keyClick(dlg.filenameEdit(), Qt::Key_Tab);
    EXPECT_FALSE(dlg.filenameEdit()->hasFocus());
    EXPECT_EQ(dlg.filenameEdit()->text(), QStringLiteral("green.ctb"));

    // Return in the field saves with the rule applied too.
    type(dlg.filenameEdit(), QStringLiteral("blue.pal"));
    type(dlg.nameEdit(), QStringLiteral("Blue"));
    type(dlg.versionEdit(), QStringLiteral("1"));
    dlg.filenameEdit()->setFocus();
    QTest::keyClick(dlg.filenameEdit(), Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.enteredFilename(), QStringLiteral("blue.ctb"));
}

TEST_F(TFChoosePaletteTest, MessagesAndCaptionsAreTranslated)
{
    m_stitch.Language.insert(kSameVersion, QStringLiteral("Diese Version gibt es schon."));
    m_stitch.Language.insert(QStringLiteral("Palette list"), QStringLiteral("Paletten"));
    RecordingChoosePalette dlg(m_stitch);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Paletten"));
    EXPECT_EQ(dlg.MessagePaletteWithSameVersion, QStringLiteral("Diese Version gibt es schon."));
    EXPECT_EQ(dlg.MessageFileAlreadyExists, kExists);
    dlg.prepare(vmAllowChange);
    dlg.show();
    type(dlg.filenameEdit(), QStringLiteral("copy.ctb"));
    type(dlg.nameEdit(), QStringLiteral("Other"));
    type(dlg.versionEdit(), QStringLiteral("2.0"));
    QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.texts(), QStringList({QStringLiteral("Diese Version gibt es schon.")}));
}

TEST_F(TFChoosePaletteTest, AnEmptyFolderGivesAnEmptyList)
{
    m_stitch.PalettesPath = testsupport::tempRoot() + QStringLiteral("/no-palettes-here/");
    RecordingChoosePalette dlg(m_stitch);
    dlg.prepare(vmView);
    EXPECT_EQ(dlg.listView()->topLevelItemCount(), 0);
    EXPECT_FALSE(dlg.selectedRow().has_value());
}

} // namespace
