// The conversion wizard driven as a user does: a small PNG written by the test, through the four
// steps with the buttons, the size and colour fields and their delayed effect, and "Finish",
// after which the design and the ghost picture are the converted picture's.

#include "convert/ui/TFWizzard.h"

#include "core/PatternDocument.h"
#include "files/GhostPicture.h"
#include "session/DesignSummary.h"
#include "session/Session.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QJsonDocument>
#include <QProcess>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class WizardDialog : public testing::Test
{
protected:
    void SetUp() override
    {
        static int n = 0;
        Session::Options o;
        o.settingsFile = testsupport::tempRoot() + QStringLiteral("/wizard-ui-%1.ini").arg(++n);
        o.dataDir = testsupport::shippedDataDir();
        session = std::make_unique<Session>(o);
        session->initialiseWithNewDesign();

        // A 64 x 48 picture of four coloured quarters.
        QImage p(64, 48, QImage::Format_ARGB32);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                p.setPixel(x, y, x < 32 ? (y < 24 ? qRgb(200, 30, 30) : qRgb(30, 30, 200))
                                        : (y < 24 ? qRgb(240, 240, 40) : qRgb(20, 120, 20)));
        path = testsupport::tempRoot() + QStringLiteral("/quarters-%1.png").arg(n);
        ASSERT_TRUE(p.save(path));
        wizard = std::make_unique<TFWizzard>(session->stitch());
        wizard->setSource(loadPicture(path), path);
        wizard->show();
    }
    void click(QPushButton* b)
    {
        ASSERT_TRUE(b->isEnabled()) << b->text().toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }

    std::unique_ptr<Session> session;
    std::unique_ptr<TFWizzard> wizard;
    QString path;
};

} // namespace

TEST_F(WizardDialog, StepsThroughAndFinishes)
{
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Wizard"));
    EXPECT_EQ(wizard->step(), 1);
    EXPECT_FALSE(wizard->prevButton()->isEnabled());
    EXPECT_FALSE(wizard->emptyTemplateButton()->isEnabled());
    EXPECT_EQ(wizard->nextButton()->text(), QStringLiteral("Next"));

    click(wizard->nextButton()); // step 2
    EXPECT_EQ(wizard->step(), 2);
    wizard->brightnessBar()->setValue(-255); // every channel 0
    EXPECT_EQ(wizard->model().adjusted().pixel(5, 5), qRgb(0, 0, 0));
    click(wizard->resetButton());
    EXPECT_EQ(wizard->brightnessBar()->value(), 0);
    EXPECT_EQ(wizard->contrastBar()->value(), 100);
    EXPECT_EQ(wizard->model().adjusted().pixel(5, 5), qRgb(200, 30, 30));

    click(wizard->nextButton()); // step 3
    EXPECT_EQ(wizard->step(), 3);
    EXPECT_EQ(wizard->originalSizeLabel()->text(), QStringLiteral("64 x 48"));
    EXPECT_EQ(wizard->sizeField()->maximum(), 64);
    EXPECT_EQ(wizard->newSizeLabel()->text(), QStringLiteral("64 x 48")); // 100 limited to 64
    // A typed size takes effect only when the delay runs out (or "Set size" is pressed).
    wizard->sizeField()->setValue(16);
    EXPECT_TRUE(wizard->sizeTimer()->isActive());
    EXPECT_EQ(wizard->newSizeLabel()->text(), QStringLiteral("64 x 48"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !wizard->sizeTimer()->isActive(); }, 4000));
    EXPECT_EQ(wizard->newSizeLabel()->text(), QStringLiteral("16 x 12"));
    wizard->sizeField()->setValue(20);
    click(wizard->setSizeButton());
    EXPECT_FALSE(wizard->sizeTimer()->isActive());
    EXPECT_EQ(wizard->newSizeLabel()->text(), QStringLiteral("20 x 15"));

    click(wizard->nextButton()); // step 4: the default palette is processed
    EXPECT_EQ(wizard->step(), 4);
    EXPECT_FALSE(wizard->sizeTimer()->isActive()); // step changes stop the timers
    EXPECT_EQ(wizard->nextButton()->text(), QStringLiteral("Finish"));
    EXPECT_TRUE(wizard->emptyTemplateButton()->isEnabled());
    EXPECT_EQ(wizard->paletteList()->currentText(), session->stitch().defaultPalette);
    EXPECT_EQ(wizard->symbolsList()->currentText(), session->stitch().defaultCharacters);
    EXPECT_EQ(wizard->ditherList()->currentText(), QStringLiteral("none"));
    EXPECT_EQ(wizard->ditherList()->count(), 5);
    EXPECT_TRUE(wizard->model().paletteChosen());
    EXPECT_EQ(wizard->maxColorsLabel()->text(), QString::number(wizard->model().maxAvailableColors()));
    EXPECT_GT(wizard->model().maxAvailableColors(), 2); // the blurred borders add colours

    // Two colours asked for: the count applies a second after the last change.
    wizard->colorsField()->setValue(2);
    EXPECT_TRUE(wizard->colorsTimer()->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !wizard->colorsTimer()->isActive(); }, 3000));
    EXPECT_EQ(wizard->model().reducedColors().size(), 2);

    click(wizard->nextButton()); // Finish
    EXPECT_EQ(wizard->result(), int(QDialog::Accepted));
    EXPECT_FALSE(wizard->emptyTemplateChosen());

    GhostPicture ghost;
    ASSERT_TRUE(wizard->buildDesign(*session, ghost));
    PatternDocument& doc = session->document();
    ASSERT_EQ(QSize(doc.width(), doc.height()), QSize(20, 15));
    EXPECT_EQ(session->stitch().colorsname(), session->stitch().defaultPalette);
    EXPECT_EQ(ghost.ghostPicture.size(), QSize(64, 48)); // the adjusted picture
    EXPECT_EQ(ghost.ghostPicture.pixel(50, 40), qRgb(20, 120, 20));
    QSet<TColor32> cells;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x)
            cells.insert(doc.CrossCells.pixel(x, y));
    EXPECT_EQ(cells.size(), 2);
    EXPECT_EQ(doc.checkInvariant(), QString());

    // The command line makes the same design from the same picture and options.
    const QString out = testsupport::tempRoot() + QStringLiteral("/wizard-cli.qvxp");
    const QStringList common{"--settings", testsupport::tempRoot() + "/wizard-cli.ini", "--data",
                             testsupport::shippedDataDir()};
    QProcess cli;
    cli.start(QStringLiteral(QUILLMARK_CLI),
              common + QStringList{"convert", path, "-o", out, "--size", "20", "--colors", "2"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    cli.start(QStringLiteral(QUILLMARK_CLI), common + QStringList{"info", out, "--cells"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QJsonObject fromCli = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    const QJsonObject fromWizard = designSummary(doc, true);
    for (const char* field : {"width", "height", "palette", "characters", "usedColors", "cells", "quarters"})
        EXPECT_EQ(fromCli[field], fromWizard[field]) << field;
}

TEST_F(WizardDialog, EmptyTemplateAndCancel)
{
    const QImage cellsBefore = session->document().CrossCells;
    click(wizard->nextButton());
    click(wizard->prevButton());
    EXPECT_EQ(wizard->step(), 1);
    click(wizard->nextButton());
    click(wizard->nextButton());
    wizard->sizeField()->setValue(8);
    click(wizard->setSizeButton());

    // Cancel leaves the design alone.
    click(wizard->cancelButton());
    EXPECT_EQ(wizard->result(), int(QDialog::Rejected));
    EXPECT_EQ(session->document().CrossCells, cellsBefore);

    wizard->show();
    click(wizard->nextButton());
    EXPECT_EQ(wizard->step(), 4);
    click(wizard->emptyTemplateButton());
    EXPECT_EQ(wizard->result(), int(QDialog::Accepted));
    EXPECT_TRUE(wizard->emptyTemplateChosen());
    GhostPicture ghost;
    ASSERT_TRUE(wizard->buildDesign(*session, ghost));
    PatternDocument& doc = session->document();
    ASSERT_EQ(QSize(doc.width(), doc.height()), QSize(8, 6));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_TRUE(doc.isEmptyPixel(doc.CrossCells.pixel(x, y)));
    EXPECT_EQ(session->stitch().Colors.size(),
              session->stitch().ColorPalettes.value(session->stitch().defaultPalette).size());
    EXPECT_TRUE(ghost.isLoaded());
}
