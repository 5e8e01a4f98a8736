// The conversion wizard driven as a user does: a small PNG written by the test, through the four
// steps with the buttons, the size and colour fields and their delayed effect, and "Finish",
// after which the design and the ghost picture are the converted picture's. The pictures of
// steps 1 to 3 are computed in the background: rapid changes end with the newest picture,
// "Next" waits for it, and a wizard closed or destroyed meanwhile is left alone.

#include "convert/ui/TFWizzard.h"

#include "convert/ui/BackgroundJob.h"
#include "i18n/ui/THelpWindow.h"

#include "core/PatternDocument.h"
#include "files/GhostPicture.h"
#include "session/DesignSummary.h"
#include "session/Session.h"
#include "support/ShippedSession.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonDocument>
#include <QProcess>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
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
        session = testsupport::startShippedSession();

        // A 64 x 48 picture of four coloured quarters.
        QImage p(64, 48, QImage::Format_ARGB32);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                p.setPixel(x, y, x < 32 ? (y < 24 ? qRgb(200, 30, 30) : qRgb(30, 30, 200))
                                        : (y < 24 ? qRgb(240, 240, 40) : qRgb(20, 120, 20)));
        path = testsupport::currentTestPath(QStringLiteral("-quarters.png"));
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
    // Until the pictures being computed have arrived.
    void settle()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !wizard->isBusy(); }, 20000));
    }
    // Through the steps to step 4 with a design of 16 x 12.
    void toStep4()
    {
        settle();
        click(wizard->nextButton());
        settle();
        click(wizard->nextButton());
        settle();
        wizard->sizeField()->setValue(16);
        click(wizard->setSizeButton());
        settle();
        click(wizard->nextButton());
        ASSERT_EQ(wizard->step(), 4);
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

    settle();
    click(wizard->nextButton()); // step 2
    EXPECT_EQ(wizard->step(), 2);
    settle();
    wizard->brightnessBar()->setValue(-255); // every channel 0
    settle();
    EXPECT_EQ(wizard->model().adjusted().pixel(5, 5), qRgb(0, 0, 0));
    click(wizard->resetButton());
    EXPECT_EQ(wizard->brightnessBar()->value(), 0);
    EXPECT_EQ(wizard->contrastBar()->value(), 100);
    settle();
    EXPECT_EQ(wizard->model().adjusted().pixel(5, 5), qRgb(200, 30, 30));

    click(wizard->nextButton()); // step 3
    EXPECT_EQ(wizard->step(), 3);
    settle();
    EXPECT_EQ(wizard->originalSizeLabel()->text(), QStringLiteral("64 x 48"));
    EXPECT_EQ(wizard->sizeField()->maximum(), 64);
    EXPECT_EQ(wizard->newSizeLabel()->text(), QStringLiteral("64 x 48")); // 100 limited to 64
    // A typed size takes effect only when the delay runs out (or "Set size" is pressed).
    wizard->sizeField()->setValue(16);
    EXPECT_TRUE(wizard->sizeTimer()->isActive());
    EXPECT_EQ(wizard->newSizeLabel()->text(), QStringLiteral("64 x 48"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !wizard->sizeTimer()->isActive(); }, 4000));
    settle();
    EXPECT_EQ(wizard->newSizeLabel()->text(), QStringLiteral("16 x 12"));
    wizard->sizeField()->setValue(20);
    click(wizard->setSizeButton());
    EXPECT_FALSE(wizard->sizeTimer()->isActive());
    settle();
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
    // The count field starts at the colours available without running the colour work again.
    EXPECT_EQ(wizard->colorsField()->value(), std::clamp(wizard->model().maxAvailableColors(), 2, 600));
    EXPECT_FALSE(wizard->colorsTimer()->isActive());
    EXPECT_TRUE(wizard->model().resultCurrent());

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
    settle();
    click(wizard->nextButton());
    settle();
    wizard->sizeField()->setValue(8);
    click(wizard->setSizeButton());
    settle();

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

TEST_F(WizardDialog, FinishTakesAPendingCountAndAFailedBuildChangesNothing)
{
    toStep4();
    // "Finish" pressed before the count's delay ran out: the count typed last is used.
    wizard->colorsField()->setValue(2);
    ASSERT_TRUE(wizard->colorsTimer()->isActive());
    click(wizard->nextButton());
    EXPECT_EQ(wizard->result(), int(QDialog::Accepted));
    EXPECT_FALSE(wizard->colorsTimer()->isActive());
    EXPECT_EQ(wizard->model().reducedColors().size(), 2);
    EXPECT_TRUE(wizard->model().resultCurrent());

    // The character set is gone from the catalogue: the design cannot be built. Nothing of
    // the open design, its state or the ghost picture changes.
    TStitch& st = session->stitch();
    PatternDocument& doc = session->document();
    ASSERT_TRUE(st.characters.remove(wizard->symbolsList()->currentText()));
    doc.KnittingMode = true;
    st.setFileSaved(true);
    const QImage cells = doc.CrossCells;
    GhostPicture ghost;
    ghost.ghostPicture = QImage(3, 3, QImage::Format_ARGB32);
    ghost.ghostPicture.fill(0xFF102030u);
    const QImage ghostBefore = ghost.ghostPicture;
    QStringList messages;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                messages << box->text();
                box->done(QMessageBox::Ok);
            }
    });
    closer.start(20);
    int reinitialised = 0;
    EXPECT_FALSE(wizard->buildDesign(*session, ghost, [&] { return ++reinitialised > 0; }));
    closer.stop();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(wizard->symbolsList()->currentText()))
        << messages.first().toStdString();
    EXPECT_EQ(reinitialised, 0); // checked before the settings were read again
    EXPECT_TRUE(doc.KnittingMode);
    EXPECT_TRUE(st.fileSaved());
    EXPECT_EQ(doc.CrossCells, cells);
    EXPECT_EQ(ghost.ghostPicture, ghostBefore);
}

TEST_F(WizardDialog, StepFourEnteredAgainWorksOutTheNewSize)
{
    toStep4();
    ASSERT_EQ(wizard->model().finalPicture().width, 16);
    click(wizard->prevButton());
    wizard->sizeField()->setValue(8);
    click(wizard->setSizeButton());
    settle();
    click(wizard->nextButton());
    ASSERT_EQ(wizard->step(), 4);
    // The colours of the 16 x 12 picture are not shown or built for the 8 x 6 one.
    EXPECT_TRUE(wizard->model().resultCurrent());
    EXPECT_EQ(wizard->model().finalPicture().width, 8);
    click(wizard->nextButton()); // Finish
    GhostPicture ghost;
    ASSERT_TRUE(wizard->buildDesign(*session, ghost));
    EXPECT_EQ(QSize(session->document().width(), session->document().height()), QSize(8, 6));
}

TEST_F(WizardDialog, RapidChangesEndWithTheNewestPicture)
{
    WizardModel& m = wizard->model();
    settle();
    wizard->nextButton()->click(); // step 2: the crop is computed in the background
    ASSERT_EQ(wizard->step(), 2);
    // Moved while the crop is computed, and again once it is there: the last values win.
    struct Series
    {
        const char* name;
        bool settleFirst;
        std::vector<std::pair<int, int>> values; // brightness, contrast
    };
    const Series series[] = {
        {"while the crop is computed", false, {{-255, 100}, {40, 100}, {0, 30}, {120, 150}}},
        {"one after another", true, {{-100, 100}, {200, 100}, {33, 180}}},
    };
    for (const Series& sr : series) {
        SCOPED_TRACE(sr.name);
        if (sr.settleFirst)
            settle();
        for (const auto& [b, c] : sr.values) {
            wizard->brightnessBar()->setValue(b);
            wizard->contrastBar()->setValue(c);
        }
        // No event has run yet, so the newest picture is certainly still pending.
        EXPECT_TRUE(wizard->isBusy());
        EXPECT_FALSE(wizard->busyIndicator()->isHidden());
        EXPECT_EQ(wizard->adjustmentPreview()->cursor().shape(), Qt::WaitCursor);
        settle();
        EXPECT_TRUE(wizard->busyIndicator()->isHidden());
        EXPECT_NE(wizard->adjustmentPreview()->cursor().shape(), Qt::WaitCursor);
        const auto [b, c] = sr.values.back();
        EXPECT_EQ(m.brightness(), b);
        EXPECT_EQ(m.contrast(), c);
        EXPECT_EQ(m.adjusted(), adjustBrightnessContrast(m.preAdjustments(), b, c));
    }

    // "Next" pressed while the picture is pending moves on once the newest one is there.
    wizard->brightnessBar()->setValue(-20);
    wizard->nextButton()->click();
    EXPECT_EQ(wizard->step(), 2);
    EXPECT_FALSE(wizard->nextButton()->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return wizard->step() == 3; }, 20000));
    EXPECT_EQ(m.brightness(), -20);
    EXPECT_EQ(m.adjusted(), adjustBrightnessContrast(m.preAdjustments(), -20, 180));

    // A series of sizes: the last one is the design size.
    for (int n : {10, 30, 5, 17}) {
        wizard->sizeField()->setValue(n);
        wizard->setSizeButton()->click();
    }
    EXPECT_TRUE(wizard->isBusy());
    EXPECT_EQ(wizard->sizePreview()->cursor().shape(), Qt::WaitCursor);
    settle();
    EXPECT_EQ(m.size(), 17);
    EXPECT_EQ(m.designSize(), QSize(17, 13));
    EXPECT_EQ(wizard->newSizeLabel()->text(), QStringLiteral("17 x 13"));
    EXPECT_EQ(m.resized(), WizardModel::makeResized(m.adjusted(), 17).picture);

    // A typed size whose delay has not run out is the size step 4 gets.
    wizard->sizeField()->setValue(12);
    ASSERT_TRUE(wizard->sizeTimer()->isActive());
    wizard->nextButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return wizard->step() == 4; }, 20000));
    EXPECT_EQ(m.designSize(), QSize(12, 9));
    EXPECT_EQ(m.finalPicture().width, 12);
    EXPECT_TRUE(wizard->nextButton()->isEnabled()); // "Finish"
}

TEST_F(WizardDialog, ClosingWhileAPictureIsComputedIsSafe)
{
    // A picture large enough that its crop, adjustment and size take a noticeable time.
    QImage big(2400, 1800, QImage::Format_ARGB32);
    big.fill(qRgb(90, 160, 220));
    struct Case
    {
        const char* name;
        std::function<void(TFWizzard&)> act; // leaves a picture pending
        bool cancelFirst;
    };
    const Case cases[] = {
        {"zoom changed", [](TFWizzard& w) { w.zoomBar()->setValue(37); }, false},
        {"crop of step 2", [](TFWizzard& w) { w.nextButton()->click(); }, false},
        {"Next waiting, then Cancel", [](TFWizzard& w) {
             w.nextButton()->click();
             w.nextButton()->click();
         }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        wizard = std::make_unique<TFWizzard>(session->stitch());
        wizard->setSource(big, QString());
        wizard->show();
        settle();
        c.act(*wizard);
        ASSERT_TRUE(wizard->isBusy());
        const int step = wizard->step();
        if (c.cancelFirst) {
            wizard->cancelButton()->click();
            EXPECT_EQ(wizard->result(), int(QDialog::Rejected));
            // The picture still arrives, but the closed wizard does not move on.
            settle();
            EXPECT_EQ(wizard->step(), step);
            EXPECT_FALSE(wizard->model().adjusted().isNull());
        }
        wizard->setSource(big, QString()); // pending work again, then the dialog goes
        c.act(*wizard);
        wizard.reset();
        EXPECT_TRUE(BackgroundJob::waitForThreads(20000));
        QTest::qWait(20); // the finished threads' events run against nothing
    }
    EXPECT_EQ(BackgroundJob::runningThreads(), 0);
}

TEST_F(WizardDialog, LevelBarAppliesWhenReleasedAndAtOnceByKeyboard)
{
    toStep4();
    QSlider* bar = wizard->levelBar();
    wizard->ditherList()->setCurrentIndex(1); // Floyd-Steinberg
    ASSERT_TRUE(wizard->model().resultCurrent());
    const int runLevel = wizard->model().level();

    // Pressed on the handle and dragged: the bar follows, the picture is not worked out again.
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = opt.sliderValue = bar->value();
    const QRect handle = bar->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, bar);
    ASSERT_TRUE(handle.isValid());
    QPoint p = handle.center();
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, p);
    ASSERT_TRUE(bar->isSliderDown());
    for (int step = 1; step <= 4; ++step) {
        SCOPED_TRACE(step);
        p.rx() += bar->width() / 10;
        QMouseEvent move(QEvent::MouseMove, QPointF(p), bar->mapToGlobal(QPointF(p)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        EXPECT_GT(bar->value(), runLevel);
        EXPECT_FALSE(wizard->model().resultCurrent()); // the last run still is the one shown
    }
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, p);
    EXPECT_FALSE(bar->isSliderDown());
    EXPECT_EQ(wizard->model().level(), bar->value());
    EXPECT_TRUE(wizard->model().resultCurrent());

    // Keys move the bar and apply each step at once.
    bar->setFocus();
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_PageDown, Qt::Key_Home}) {
        SCOPED_TRACE(int(key));
        const int before = bar->value();
        QTest::keyClick(bar, key);
        EXPECT_NE(bar->value(), before);
        EXPECT_EQ(wizard->model().level(), bar->value());
        EXPECT_TRUE(wizard->model().resultCurrent());
    }
}

TEST_F(WizardDialog, ColoursCountShowsTheColoursKeptAndAPaletteChangeAsksForAll)
{
    toStep4();
    QSpinBox* field = wizard->colorsField();
    const auto kept = [&] { return int(wizard->model().reducedColors().size()); };
    const int all = wizard->model().maxAvailableColors();
    ASSERT_GT(all, 2);
    ASSERT_EQ(field->value(), all);

    // Typed counts, applied by "Set used colors": the field shows what was kept.
    const struct { int typed; int shown; } counts[] = {{2, 2}, {all + 50, all}, {all - 1, all - 1}, {600, all}};
    for (const auto& c : counts) {
        SCOPED_TRACE(c.typed);
        field->setValue(c.typed);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !wizard->colorsTimer()->isActive(); }, 3000));
        EXPECT_EQ(field->value(), c.shown);
        EXPECT_EQ(kept(), c.shown);
        EXPECT_TRUE(wizard->model().resultCurrent());
    }

    // Another palette after a reduction to two: the count goes back to all the palette gives.
    field->setValue(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !wizard->colorsTimer()->isActive(); }, 3000));
    ASSERT_EQ(kept(), 2);
    QComboBox* palettes = wizard->paletteList();
    ASSERT_GT(palettes->count(), 1);
    palettes->setCurrentIndex(palettes->currentIndex() == 0 ? 1 : 0);
    const int available = wizard->model().maxAvailableColors();
    EXPECT_EQ(wizard->maxColorsLabel()->text(), QString::number(available));
    EXPECT_EQ(field->value(), std::clamp(available, 2, 600));
    EXPECT_EQ(kept(), available);
    EXPECT_FALSE(wizard->colorsTimer()->isActive());
    EXPECT_TRUE(wizard->model().resultCurrent());
}

TEST_F(WizardDialog, HelpShowsThePageOfEachStepBesideTheWizard)
{
    QPushButton* help = nullptr;
    for (QPushButton* b : wizard->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Help"))
            help = b;
    ASSERT_NE(help, nullptr);
    const struct { int step; int context; const char* title; } pages[] = {
        {1, 5100, "Step 1: choose the part of the picture"},
        {2, 5200, "Step 2: brightness and contrast"},
        {3, 5300, "Step 3: size of the pattern"},
        {4, 5400, "Step 4: palette, symbols and colours"},
    };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.step);
        settle();
        if (wizard->step() < p.step)
            click(wizard->nextButton());
        settle();
        ASSERT_EQ(wizard->step(), p.step);
        click(help);
        for (QWidget* w : QApplication::topLevelWidgets()) // no message box instead
            EXPECT_FALSE(qobject_cast<QMessageBox*>(w) && w->isVisible());
        const auto windows = wizard->findChildren<THelpWindow*>();
        ASSERT_EQ(windows.size(), 1); // one window, showing the newest page
        THelpWindow* page = windows.first();
        EXPECT_TRUE(page->isVisible());
        EXPECT_EQ(page->context(), p.context);
        EXPECT_EQ(page->title(), QString::fromLatin1(p.title));
        EXPECT_FALSE(page->text().isEmpty());
    }
    // An unknown context still gives a page.
    THelpWindow* page = showHelpContext(wizard.get(), session->stitch(), 1);
    EXPECT_EQ(page->context(), 1);
    EXPECT_EQ(page->text(), QStringLiteral("There is no help for this topic yet."));
}
