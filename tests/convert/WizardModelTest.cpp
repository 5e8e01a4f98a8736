// The conversion wizard's logic without widgets: its defaults, the zoom it opens at, the rubber
// band's drag rules, crop and size, the colour work of step 4 (kept when cancelled) and the
// design that "Finish" and "Create empty template" build with the shipped catalogues.

#include "convert/WizardModel.h"

#include "core/PatternDocument.h"
#include "core/QuillError.h"
#include "session/Session.h"
#include "support/ShippedSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <functional>

namespace {

class Wizard : public testing::Test
{
protected:
    void SetUp() override
    {
        session = testsupport::startShippedSession();
        model = std::make_unique<WizardModel>(session->stitch());
    }
    TStitch& st() { return session->stitch(); }
    PatternDocument& doc() { return session->document(); }

    // A picture of smooth gradients, so that matching and dithering have work to do.
    static QImage gradient(int w, int h)
    {
        QImage p(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                p.setPixel(x, y, qRgba(x * 255 / std::max(1, w - 1), 255 - y * 255 / std::max(1, h - 1),
                                       (x * y) % 256, 255));
        return p;
    }
    // Through steps 1 to 4 with the whole picture.
    void walk(const QImage& picture, int size)
    {
        model->setSource(picture, QStringLiteral("/pictures/walk.png"));
        model->ResetAll(QSize(800, 600));
        model->SetStep(2);
        model->SetStep(3);
        model->setSize(size);
        model->SetStep(4);
    }

    std::unique_ptr<Session> session;
    std::unique_ptr<WizardModel> model;
};

} // namespace

TEST_F(Wizard, StartsWithTheDefaults)
{
    EXPECT_EQ(model->size(), 100);
    EXPECT_EQ(model->colors(), 500);
    EXPECT_EQ(model->dither(), DitherMethod::None);
    EXPECT_EQ(model->level(), 0);
    EXPECT_EQ(model->brightness(), 0);
    EXPECT_EQ(model->contrast(), 100);
    EXPECT_EQ(model->characters(), st().defaultCharacters);
    EXPECT_TRUE(model->palette().isEmpty()); // none selected before step 4
    EXPECT_FALSE(model->paletteChosen());

    model->setSource(gradient(40, 30));
    model->setBrightnessContrast(40, 150);
    model->ResetAll(QSize(800, 600));
    EXPECT_EQ(model->step(), 1);
    EXPECT_EQ(model->selectionRect(), QRectF(0, 0, 40, 30)); // the whole picture
    EXPECT_EQ(model->brightness(), 0);
    EXPECT_EQ(model->contrast(), 100);

    // Step 4 selects the default palette when none is chosen, and keeps a chosen one.
    model->SetStep(2);
    model->SetStep(3);
    model->SetStep(4);
    EXPECT_EQ(model->palette(), st().defaultPalette);
    EXPECT_FALSE(model->paletteChosen()); // only processing sets it
}

TEST_F(Wizard, OpensAtTheZoomThatFitsTheView)
{
    struct Case
    {
        QSize picture, view;
        double zoom;
        int bar;
        QSize shown;
    };
    const Case cases[] = {
        {{400, 300}, {800, 600}, 1.0, 100, {400, 300}},   // fits
        {{800, 600}, {400, 300}, 0.5, 50, {400, 300}},    // twice as large
        {{400, 300}, {400, 300}, 1.0, 100, {400, 300}},   // as large as the view: not taller
        {{1000, 300}, {400, 300}, 0.4, 40, {400, 120}},   // the narrower ratio decides
        {{3000, 100}, {100, 100}, 1.0 / 30, 10, {100, 3}}, // the bar stops at 10
        {{401, 301}, {200, 1000}, 200.0 / 401, 50, {200, 150}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture.width() << "x" << c.picture.height() << " in "
                                        << c.view.width() << "x" << c.view.height());
        model->setSource(gradient(c.picture.width(), c.picture.height()));
        model->ResetAll(c.view);
        EXPECT_DOUBLE_EQ(model->zoomFactor(), c.zoom);
        EXPECT_EQ(model->zoomBarPosition(), c.bar);
        EXPECT_EQ(model->selectionViewSize(), c.shown);
        EXPECT_EQ(model->selectionView().size(), c.shown);
    }
}

TEST_F(Wizard, RubberBandStaysInsideThePicture)
{
    // A 200 x 100 picture shown at zoom 0.5 (100 x 50 view pixels) with the view scrolled so
    // that the picture starts at (10, 20). The selection (40, 20)-(120, 80) is the frame
    // (30, 30)-(70, 60).
    using D = WizardModel::Drag;
    struct Case
    {
        const char* name;
        D kind;
        QRectF proposed; // view pixels (left, top, width, height)
        QRectF frame;    // as placed
        QRectF selection;
    };
    const Case cases[] = {
        {"move inside", D::Move, {40, 35, 40, 30}, {40, 35, 40, 30}, {60, 30, 80, 60}},
        {"move past the right edge keeps the width", D::Move, {90, 30, 40, 30}, {70, 30, 40, 30},
         {120, 20, 80, 60}},
        {"move past the left edge", D::Move, {-5, 30, 40, 30}, {10, 30, 40, 30}, {0, 20, 80, 60}},
        {"move past the top and bottom edges", D::Move, {30, 0, 40, 30}, {30, 20, 40, 30},
         {40, 0, 80, 60}},
        {"move past the bottom edge", D::Move, {30, 60, 40, 30}, {30, 40, 40, 30}, {40, 40, 80, 60}},
        {"right edge past the picture", D::Right, {30, 30, 200, 30}, {30, 30, 80, 30},
         {40, 20, 160, 60}},
        {"left edge past the picture", D::Left, {0, 30, 70, 30}, {10, 30, 60, 30}, {0, 20, 120, 60}},
        {"top edge past the picture", D::Top, {30, 5, 40, 55}, {30, 20, 40, 40}, {40, 0, 80, 80}},
        {"bottom edge past the picture", D::Bottom, {30, 30, 40, 90}, {30, 30, 40, 40},
         {40, 20, 80, 80}},
        {"corner past both edges", D::BottomRight, {30, 30, 200, 200}, {30, 30, 80, 40},
         {40, 20, 160, 80}},
        {"corner past both edges, top left", D::TopLeft, {0, 0, 70, 60}, {10, 20, 60, 40},
         {0, 0, 120, 80}},
        {"edge dragged over the opposite one keeps a pixel", D::Right, {30, 30, -20, 30},
         {30, 30, 1, 30}, {40, 20, 2, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model->setSource(gradient(200, 100));
        model->ResetAll(QSize(100, 50));
        ASSERT_DOUBLE_EQ(model->zoomFactor(), 0.5);
        model->setSelectionRect(QRectF(QPointF(40, 20), QPointF(120, 80)));
        const QPointF offset(10, 20);
        ASSERT_EQ(model->rubberFrame(offset), QRectF(30, 30, 40, 30));
        EXPECT_EQ(model->RubberResize(c.proposed, c.kind, offset), c.frame);
        EXPECT_EQ(model->selectionRect(), c.selection);
    }

    // While the band is hidden a drag is refused.
    model->setSelectionRect(QRectF(QPointF(40, 20), QPointF(120, 80)));
    model->setRubberVisible(false);
    EXPECT_EQ(model->RubberResize(QRectF(0, 0, 10, 10), D::Move, QPointF(10, 20)), QRectF(30, 30, 40, 30));
    EXPECT_EQ(model->selectionRect(), QRectF(QPointF(40, 20), QPointF(120, 80)));
}

TEST_F(Wizard, CropsAdjustsAndSizes)
{
    QImage p = gradient(400, 300);
    p.setPixel(10, 20, qRgba(100, 200, 0, 255));
    model->setSource(p);
    model->ResetAll(QSize(800, 600));
    // The crop's coordinates are rounded, halves to even: 10.5 -> 10, 20.5 -> 20.
    model->setSelectionRect(QRectF(QPointF(10.5, 20.5), QPointF(343.4, 220.2)));
    model->SetStep(2);
    ASSERT_EQ(model->preAdjustments().size(), QSize(333, 200));
    EXPECT_EQ(model->preAdjustments().pixel(0, 0), qRgba(100, 200, 0, 255));
    model->setBrightnessContrast(0, 150); // 100 stays, 200 -> 250, 0 -> 0
    EXPECT_EQ(model->adjusted().pixel(0, 0), qRgba(100, 250, 0, 255));
    EXPECT_EQ(model->preAdjustments().pixel(0, 0), qRgba(100, 200, 0, 255)); // kept for the next change
    model->resetAdjustments();
    EXPECT_EQ(model->adjusted().pixel(0, 0), qRgba(100, 200, 0, 255));

    model->SetStep(3);
    EXPECT_EQ(model->sizeMaximum(), 333);
    EXPECT_EQ(model->designSize(), QSize(100, 60)); // R(100 x 200 / 333)

    struct Case
    {
        QSize picture;
        int n;
        QSize design;
    };
    for (const Case& c : {Case{{400, 300}, 100, {100, 75}}, Case{{300, 400}, 100, {75, 100}},
                          Case{{50, 50}, 20, {20, 20}}, Case{{50, 40}, 999, {50, 40}},
                          Case{{300, 2}, 100, {100, 1}}, Case{{400, 300}, 1, {2, 2}}}) {
        SCOPED_TRACE(testing::Message() << c.picture.width() << "x" << c.picture.height() << " N " << c.n);
        model->setSource(gradient(c.picture.width(), c.picture.height()));
        model->ResetAll(QSize(800, 600));
        model->SetStep(2);
        model->setSize(c.n);
        EXPECT_EQ(model->designSize(), c.design);
        EXPECT_EQ(model->resized().size(), c.design);
    }
}

TEST_F(Wizard, PureRecomputationsGiveTheModelsPictures)
{
    // Each row runs steps 1 to 3 twice: on `model` with the synchronous methods, and on a
    // second model that only installs what the pure functions computed (as the dialog does on
    // another thread). Pictures, crop, values and the settings Finish uses must agree, and
    // they must be the crop, the adjustment and the size worked out here by hand.
    struct Case
    {
        const char* name;
        QSize picture;
        double zoom;
        QRectF selection;
        int brightness, contrast; // in effect when step 2 starts
        int brightness2, contrast2; // then set on step 2
        int size;
        QRect crop;       // the selection rounded (halves to even), in source pixels
        int b, c;         // the step-2 values after clamping
        QSize design;     // the longer side gets the size, the other keeps the proportion
    };
    const Case cases[] = {
        {"whole picture", {40, 30}, 0.5, {0, 0, 40, 30}, 0, 100, 30, 120, 20, {0, 0, 40, 30}, 30, 120, {20, 15}},
        {"fractional crop", {40, 30}, 0.37, {QPointF(3.5, 2.5), QPointF(31.2, 22.8)}, 60, 150, -40, 90, 13,
         {4, 2, 27, 21}, -40, 90, {13, 10}},
        {"flat crop widened, size above the maximum", {40, 30}, 1.0, {QPointF(12.2, 5), QPointF(12.4, 25)},
         -80, 40, 0, 100, 100, {12, 5, 1, 20}, 0, 100, {1, 20}},
        {"tall picture, size below the minimum", {17, 23}, 0.8, {0, 0, 17, 23}, 255, 0, 10, 255, 1,
         {0, 0, 17, 23}, 10, 255, {1, 2}},
        {"values out of range are clamped", {24, 24}, 0.25, {QPointF(4, 4), QPointF(20, 12)}, 300, -5, -999,
         999, 7, {4, 4, 16, 8}, -255, 255, {7, 4}},
    };
    // Each channel x becomes clamp(R(x c / 100) + (100 - c) + b, 0, 255); alpha stays.
    const auto adjustedByHand = [](const QImage& in, int b, int c) {
        QImage out = in.convertToFormat(QImage::Format_ARGB32);
        const auto ch = [b, c](int x) {
            return std::clamp(int(std::nearbyint(x * c / 100.0)) + (100 - c) + b, 0, 255);
        };
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) {
                const QRgb p = out.pixel(x, y);
                out.setPixel(x, y, qRgba(ch(qRed(p)), ch(qGreen(p)), ch(qBlue(p)), qAlpha(p)));
            }
        return out;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage picture = gradient(c.picture.width(), c.picture.height());
        model->setSource(picture);
        model->ResetAll(QSize(800, 600));
        model->SetZoomFactor(c.zoom);
        const QImage view = WizardModel::makeSelectionView(picture, c.zoom);
        EXPECT_EQ(view, model->selectionView());
        EXPECT_EQ(view.size(), WizardModel::selectionViewSizeOf(picture.size(), c.zoom));

        WizardModel installed(st());
        installed.setSource(picture);
        installed.ResetAll(QSize(800, 600));

        // Step 2: crop with the values in effect, then new values.
        model->setSelectionRect(c.selection);
        model->setBrightnessContrast(c.brightness, c.contrast);
        model->SetStep(2);
        installed.setSelectionRect(c.selection);
        installed.setCurrentStep(2);
        const WizardModel::PreAdjustments pre =
            WizardModel::makePreAdjustments(picture, c.selection, c.brightness, c.contrast);
        EXPECT_EQ(pre.picture, model->preAdjustments());
        EXPECT_EQ(pre.adjusted.picture, model->adjusted());
        EXPECT_EQ(pre.selection, model->selectionRect());
        EXPECT_EQ(pre.adjusted.brightness, model->brightness());
        EXPECT_EQ(pre.adjusted.contrast, model->contrast());
        installed.installPreAdjustments(pre);
        EXPECT_EQ(model->preAdjustments(), picture.copy(c.crop));
        EXPECT_EQ(model->adjusted(), adjustedByHand(picture.copy(c.crop), std::clamp(c.brightness, -255, 255),
                                                    std::clamp(c.contrast, 0, 255)));

        model->setBrightnessContrast(c.brightness2, c.contrast2);
        const WizardModel::Adjusted adjusted = WizardModel::makeAdjusted(pre.picture, c.brightness2, c.contrast2);
        EXPECT_EQ(adjusted.picture, model->adjusted());
        EXPECT_EQ(adjusted.brightness, model->brightness());
        EXPECT_EQ(adjusted.contrast, model->contrast());
        installed.installAdjusted(adjusted);
        EXPECT_EQ(model->brightness(), c.b);
        EXPECT_EQ(model->contrast(), c.c);
        EXPECT_EQ(model->adjusted(), adjustedByHand(picture.copy(c.crop), c.b, c.c));

        // Step 3.
        model->SetStep(3);
        model->setSize(c.size);
        installed.setCurrentStep(3);
        const WizardModel::Resized resized = WizardModel::makeResized(adjusted.picture, c.size);
        EXPECT_EQ(resized.picture, model->resized());
        EXPECT_EQ(resized.size, model->size());
        installed.installResized(resized);
        EXPECT_EQ(model->resized().size(), c.design);
        EXPECT_EQ(model->designSize(), c.design);

        EXPECT_EQ(installed.step(), 3);
        EXPECT_EQ(installed.selectionRect(), model->selectionRect());
        EXPECT_EQ(installed.preAdjustments(), model->preAdjustments());
        EXPECT_EQ(installed.adjusted(), model->adjusted());
        EXPECT_EQ(installed.resized(), model->resized());
        EXPECT_EQ(installed.sizeMaximum(), model->sizeMaximum());
        const ConversionSettings a = installed.settings(), b = model->settings();
        EXPECT_EQ(a.crop, b.crop);
        EXPECT_EQ(a.brightness, b.brightness);
        EXPECT_EQ(a.contrast, b.contrast);
        EXPECT_EQ(a.size, b.size);
    }

    // Without a picture nothing is computed, and the values are still clamped.
    EXPECT_TRUE(WizardModel::makeSelectionView(QImage(), 0.5).isNull());
    const WizardModel::PreAdjustments none = WizardModel::makePreAdjustments(QImage(), QRectF(0, 0, 5, 5), 400, 100);
    EXPECT_TRUE(none.picture.isNull());
    EXPECT_EQ(none.adjusted.brightness, WizardModel::kBrightnessMax);
    EXPECT_TRUE(WizardModel::makeAdjusted(QImage(), 0, 100).picture.isNull());
    EXPECT_TRUE(WizardModel::makeResized(QImage(), 50).picture.isNull());
}

TEST_F(Wizard, FlatCropKeepsOnePixel)
{
    model->setSource(gradient(40, 30));
    model->ResetAll(QSize(800, 600));
    model->setSelectionRect(QRectF(QPointF(12.2, 5), QPointF(12.4, 25)));
    model->SetStep(2);
    EXPECT_EQ(model->adjusted().size(), QSize(1, 20));
    model->SetStep(3);
    EXPECT_FALSE(model->designSize().isEmpty());
}

TEST_F(Wizard, FinishBuildsTheDesignTheWizardShows)
{
    walk(gradient(48, 36), 24);
    ASSERT_EQ(model->designSize(), QSize(24, 18));
    model->setColors(12);
    ASSERT_TRUE(model->processPalette());
    ASSERT_TRUE(model->paletteChosen());
    EXPECT_LE(model->reducedColors().size(), 12);

    const ColorTable palette = st().ColorPalettes.value(model->palette());
    ASSERT_TRUE(model->resultCurrent());
    model->finish(doc(), false);
    ASSERT_EQ(doc().width(), 24);
    ASSERT_EQ(doc().height(), 18);
    QSet<ColorKey> used;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 24; ++x) {
            const ColorKey k = model->finalPicture().at(x, y);
            ASSERT_EQ(TColor32(doc().CrossCells.pixel(x, y)), keyToPixel(k)) << x << "," << y;
            used.insert(k);
        }
    EXPECT_EQ(st().Colors.size(), palette.size()); // the whole palette
    for (ColorKey k : used)
        EXPECT_TRUE(st().Colors.contains(k));
    EXPECT_EQ(st().colorsname(), model->palette());
    EXPECT_EQ(st().fileMode, fmConvert);
    EXPECT_TRUE(st().filename().endsWith(QStringLiteral("/pictures/walk.qvxp")));
    EXPECT_EQ(doc().checkInvariant(), QString());

    // convertPicture with the same settings makes the same design from the source alone.
    Session::Options o;
    o.settingsFile = testsupport::tempRoot() + QStringLiteral("/wizard-direct.ini");
    o.dataDir = testsupport::shippedDataDir();
    Session direct(o);
    direct.initialiseWithNewDesign();
    ConversionResult r;
    ASSERT_TRUE(convertPicture(model->source(), model->settings(), direct.document(), &r));
    EXPECT_EQ(r.adjusted, model->adjusted()); // the ghost picture
    EXPECT_EQ(direct.document().CrossCells, doc().CrossCells);
    EXPECT_EQ(direct.stitch().Colors.keys(), st().Colors.keys());
    EXPECT_EQ(direct.stitch().filename(), st().filename());
}

TEST_F(Wizard, FinishNeedsAResultOfTheCurrentSettings)
{
    walk(gradient(48, 36), 24);
    EXPECT_FALSE(model->resultCurrent());
    EXPECT_THROW(model->checkFinish(false), QuillError); // no colour work yet
    EXPECT_NO_THROW(model->checkFinish(true));           // the empty template needs none
    ASSERT_TRUE(model->processPalette());
    ASSERT_TRUE(model->resultCurrent());
    const int available = model->maxAvailableColors();
    ASSERT_GT(available, 3);
    QString otherPalette;
    for (const QString& name : model->paletteNames())
        if (name != model->palette())
            otherPalette = name;
    ASSERT_FALSE(otherPalette.isEmpty());

    struct Case
    {
        const char* what;
        std::function<void(WizardModel&)> change;
        bool current; // the result still is the one processPalette would give
    };
    const Case cases[] = {
        {"more colours than available", [&](WizardModel& m) { m.setColors(available + 1); }, true},
        {"exactly the colours available", [&](WizardModel& m) { m.setColors(available); }, true},
        {"the level without dithering", [](WizardModel& m) { m.setLevel(40); }, true},
        {"fewer colours", [&](WizardModel& m) { m.setColors(available - 1); }, false},
        {"another palette", [&](WizardModel& m) { m.setPalette(otherPalette); }, false},
        {"dithering", [](WizardModel& m) { m.setDither(DitherMethod::Stucki); }, false},
        {"another size", [](WizardModel& m) { m.setSize(20); }, false},
        {"another character set", [](WizardModel& m) { m.setCharacters(QStringLiteral("No such set")); },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WizardModel m(st());
        m.setSource(gradient(48, 36), QStringLiteral("/pictures/walk.png"));
        m.ResetAll(QSize(800, 600));
        m.SetStep(2);
        m.SetStep(3);
        m.setSize(24);
        m.SetStep(4);
        ASSERT_TRUE(m.processPalette());
        c.change(m);
        EXPECT_EQ(m.resultCurrent(), c.current);
        if (!c.current) {
            // A stale result is refused before the design is touched.
            const QImage cells = doc().CrossCells;
            EXPECT_THROW(m.finish(doc(), false), QuillError);
            EXPECT_EQ(doc().CrossCells, cells);
        }
    }

    // With dithering, the level counts too.
    model->setDither(DitherMethod::FloydSteinberg);
    ASSERT_TRUE(model->processPalette());
    model->setLevel(model->level() + 10);
    EXPECT_FALSE(model->resultCurrent());
}

TEST_F(Wizard, EmptyTemplateHasNoStitchesAndTheWholePalette)
{
    walk(gradient(30, 20), 15);
    model->finish(doc(), true);
    ASSERT_EQ(QSize(doc().width(), doc().height()), QSize(15, 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 15; ++x)
            ASSERT_TRUE(doc().isEmptyPixel(doc().CrossCells.pixel(x, y)));
    const ColorTable palette = st().ColorPalettes.value(model->palette());
    EXPECT_EQ(st().Colors.size(), palette.size());
    for (const auto& [key, info] : st().Colors)
        EXPECT_EQ(info.colorCount, 0);
}

TEST_F(Wizard, CancelledRunKeepsThePreviousResult)
{
    walk(gradient(60, 40), 30);
    // Cancelled before any result: nothing is chosen yet.
    model->setDither(DitherMethod::FloydSteinberg);
    EXPECT_FALSE(model->processPalette([](int, int) { return false; }));
    EXPECT_FALSE(model->paletteChosen());

    model->setDither(DitherMethod::None);
    ASSERT_TRUE(model->processPalette());
    const KeyRaster before = model->finalPicture();
    const ColorTable reducedBefore = model->reducedColors();
    const int maxBefore = model->maxAvailableColors();

    struct Case
    {
        DitherMethod method;
        int colors;
        int cancelAt; // progress calls answered true before the cancel
    };
    for (const Case& c : {Case{DitherMethod::FloydSteinberg, 500, 0}, Case{DitherMethod::Stucki, 6, 1},
                          Case{DitherMethod::SierraLite, 3, 2}}) {
        SCOPED_TRACE(ditherMethodName(c.method).toStdString());
        model->setDither(c.method);
        model->setColors(c.colors);
        model->setLevel(100);
        int calls = 0;
        EXPECT_FALSE(model->processPalette([&](int, int) { return calls++ < c.cancelAt; }));
        EXPECT_EQ(model->finalPicture(), before);
        EXPECT_EQ(model->reducedColors().size(), reducedBefore.size());
        EXPECT_EQ(model->maxAvailableColors(), maxBefore);
        EXPECT_TRUE(model->paletteChosen());
    }

    // The kept result is not the one the settings ask for: "Finish" refuses it.
    EXPECT_FALSE(model->resultCurrent());
    EXPECT_THROW(model->checkFinish(false), QuillError);

    // The same settings run to the end do change the result, so the checks above can fail.
    ASSERT_TRUE(model->processPalette());
    EXPECT_NE(model->finalPicture(), before);
    EXPECT_TRUE(model->resultCurrent());
}

TEST_F(Wizard, UnknownPaletteIsAnError)
{
    walk(gradient(20, 20), 10);
    model->setPalette(QStringLiteral("No such palette"));
    EXPECT_THROW(model->processPalette(), QuillError);
    EXPECT_FALSE(model->paletteChosen());
}

TEST_F(Wizard, UnreadablePictureNamesTheFile)
{
    const QString path = testsupport::tempRoot() + QStringLiteral("/not-a-picture.png");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is no picture");
    f.close();
    for (const QString& p : {path, testsupport::tempRoot() + QStringLiteral("/drawing.wmf")}) {
        try {
            model->loadSource(p);
            ADD_FAILURE() << "no error for " << p.toStdString();
        } catch (const QuillError& e) {
            EXPECT_TRUE(e.message().contains(QFileInfo(p).fileName())) << e.message().toStdString();
        }
        EXPECT_FALSE(model->hasSource());
    }
}
