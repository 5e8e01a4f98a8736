// The whole conversion on small pictures with the shipped palettes and character sets: the
// design it builds, its determinism, and what it leaves alone when it cannot finish.

#include "convert/PictureConversion.h"

#include "core/QuillError.h"
#include "session/Session.h"
#include "support/SmallDesign.h"
#include "support/ShippedSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

class Conversion : public testing::Test
{
protected:
    void SetUp() override
    {
        session = testsupport::startShippedSession();
        picture = QImage(20, 20, QImage::Format_ARGB32);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                picture.setPixel(x, y, qRgba(x * 12, 255 - y * 12, (x * y) % 256, 255));
    }
    PatternDocument& doc() { return session->document(); }
    TStitch& st() { return session->stitch(); }

    std::unique_ptr<Session> session;
    QImage picture;
};

} // namespace

TEST_F(Conversion, BuildsAConsistentDesign)
{
    struct Case
    {
        DitherMethod dither;
        int colors;
        int level;
    };
    for (const Case& c : {Case{DitherMethod::None, 8, 0}, Case{DitherMethod::FloydSteinberg, 8, 100},
                          Case{DitherMethod::JarvisJudiceNinke, 600, 50}}) {
        SCOPED_TRACE(ditherMethodName(c.dither).toStdString());
        ConversionSettings s;
        s.palette = QStringLiteral("DMC");
        s.colors = c.colors;
        s.dither = c.dither;
        s.level = c.level;
        s.sourcePath = QStringLiteral("/pictures/cat.jpeg");
        ConversionResult r;
        ASSERT_TRUE(convertPicture(picture, s, doc(), &r));

        EXPECT_EQ(doc().width(), 20); // the size is limited to the picture's larger side
        EXPECT_EQ(doc().height(), 20);
        EXPECT_EQ(doc().checkInvariant(), QString());
        EXPECT_EQ(st().fileMode, fmConvert);
        EXPECT_FALSE(st().fileSaved());
        EXPECT_EQ(st().colorsname(), QStringLiteral("DMC"));
        EXPECT_EQ(st().filename(), QStringLiteral("/pictures/cat.qvxp"));
        EXPECT_EQ(st().chars.CharsName, st().defaultCharacters);
        EXPECT_EQ(r.adjusted, picture);
        EXPECT_LE(st().usedColors(), qMin(c.colors, r.maxAvailableColors));
        EXPECT_EQ(r.colorsCount, qMin(c.colors, r.maxAvailableColors));

        // The whole palette is in the table, the kept colours first, the first one drawn with.
        const ColorTable& dmc = *st().ColorPalettes.find(QStringLiteral("DMC"));
        EXPECT_EQ(st().Colors.size(), dmc.size());
        for (int i = 0; i < r.reduced.size(); ++i)
            EXPECT_EQ(st().Colors.at(i).first, r.reduced.at(i).first);
        EXPECT_EQ(st().drawcolor(), r.reduced.at(0).first);
        for (const auto& [key, e] : st().Colors)
            EXPECT_EQ(e.colorCount > 0, r.reduced.contains(key) && e.colorCount > 0);

        // One cell per pixel of the final picture.
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(pixelToKey(doc().CrossCells.pixel(x, y)), r.final.at(x, y));

        // Same input, same design.
        const QJsonObject first = testsupport::snapshot(doc());
        ASSERT_TRUE(convertPicture(picture, s, doc()));
        EXPECT_EQ(testsupport::snapshot(doc()), first);
    }
}

TEST_F(Conversion, CropAdjustSizeAndEmptyDesign)
{
    QImage wide(40, 20, QImage::Format_ARGB32);
    wide.fill(qRgba(90, 90, 90, 255));
    ConversionSettings s;
    s.palette = QStringLiteral("Anchor");
    s.size = 10;
    s.brightness = -255; // every channel 0
    s.crop = QRectF(QPointF(0.4, 0), QPointF(40, 20));
    ConversionResult r;
    ASSERT_TRUE(convertPicture(wide, s, doc(), &r));
    EXPECT_EQ(r.adjusted.size(), QSize(40, 20));
    EXPECT_EQ(r.adjusted.pixel(3, 3), qRgba(0, 0, 0, 255));
    EXPECT_EQ(QSize(doc().width(), doc().height()), QSize(10, 5));
    EXPECT_EQ(st().usedColors(), 1);
    EXPECT_EQ(doc().checkInvariant(), QString());

    s.emptyDesign = true;
    ASSERT_TRUE(convertPicture(wide, s, doc(), &r));
    EXPECT_EQ(st().usedColors(), 0);
    EXPECT_EQ(st().Colors.size(), st().ColorPalettes.find(QStringLiteral("Anchor"))->size());
    for (int y = 0; y < doc().height(); ++y)
        for (int x = 0; x < doc().width(); ++x)
            ASSERT_EQ(doc().CrossCells.pixel(x, y), st().BackGroundColor);
    EXPECT_EQ(doc().checkInvariant(), QString());
}

TEST_F(Conversion, FailuresLeaveTheDesignAlone)
{
    const QJsonObject before = testsupport::snapshot(doc());
    struct Case
    {
        const char* what;
        ConversionSettings settings;
    };
    ConversionSettings unknownPalette;
    unknownPalette.palette = QStringLiteral("No such palette");
    ConversionSettings unknownSet;
    unknownSet.characters = QStringLiteral("No such set");
    ConversionSettings emptyCrop;
    emptyCrop.crop = QRectF(3, 3, 0.2, 5);
    for (const Case& c : {Case{"palette", unknownPalette}, Case{"characters", unknownSet},
                          Case{"crop", emptyCrop}}) {
        EXPECT_THROW(convertPicture(picture, c.settings, doc()), QuillError) << c.what;
        EXPECT_EQ(testsupport::snapshot(doc()), before) << c.what;
    }
    ConversionSettings dithered;
    dithered.dither = DitherMethod::Stucki;
    EXPECT_FALSE(convertPicture(picture, dithered, doc(), nullptr, [](int, int) { return false; }));
    EXPECT_EQ(testsupport::snapshot(doc()), before);
}
