// The picture stages of a conversion: loading and its limits, crop, brightness and contrast,
// size, and the resampler.

#include "convert/PictureConversion.h"
#include "convert/Resampler.h"

#include "core/QuillError.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace {

QImage grayRow(const QList<int>& values)
{
    QImage img(int(values.size()), 1, QImage::Format_ARGB32);
    for (int x = 0; x < values.size(); ++x)
        img.setPixel(x, 0, qRgba(values[x], values[x], values[x], 255));
    return img;
}

QList<int> redRow(const QImage& img, int y = 0)
{
    QList<int> out;
    for (int x = 0; x < img.width(); ++x)
        out.append(qRed(img.pixel(x, y)));
    return out;
}

quint32 crc32(const QByteArray& data)
{
    quint32 c = 0xFFFFFFFFu;
    for (char ch : data) {
        c ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

// A PNG of a signature, a header chunk claiming the given size: reading its size needs
// no pixel memory.
QString pngHeaderFile(const QString& name, quint32 w, quint32 h)
{
    QByteArray ihdr("IHDR");
    char be[4];
    qToBigEndian(w, be);
    ihdr.append(be, 4);
    qToBigEndian(h, be);
    ihdr.append(be, 4);
    ihdr.append("\x08\x06\x00\x00\x00", 5); // 8-bit RGBA, no interlace
    QByteArray file("\x89PNG\r\n\x1a\n", 8);
    qToBigEndian(quint32(13), be);
    file.append(be, 4);
    file.append(ihdr);
    qToBigEndian(crc32(ihdr), be);
    file.append(be, 4);
    // An empty data chunk and the end chunk: the reader stops at the data and reports the size.
    for (const char* type : {"IDAT", "IEND"}) {
        qToBigEndian(quint32(0), be);
        file.append(be, 4);
        file.append(type, 4);
        qToBigEndian(crc32(QByteArray(type, 4)), be);
        file.append(be, 4);
    }
    const QString path = testsupport::tempRoot() + QLatin1Char('/') + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(file);
    return path;
}

} // namespace

TEST(Resampler, KernelValues)
{
    EXPECT_DOUBLE_EQ(hammingSincKernel(0), 1.0);
    EXPECT_NEAR(hammingSincKernel(0.5), 0.597386, 1e-6);
    EXPECT_NEAR(hammingSincKernel(-1.5), -0.114592, 1e-6);
    EXPECT_NEAR(hammingSincKernel(1), 0.0, 1e-12);
    EXPECT_EQ(hammingSincKernel(3), 0.0);
    EXPECT_EQ(hammingSincKernel(-4.2), 0.0);
}

TEST(Resampler, TapsAreRoundedAndSumToOne)
{
    // Enlarging 2 -> 4: output 0 is centred on -0.25.
    const auto up = resampleTaps(0, 2, 4);
    ASSERT_EQ(up.size(), 4u);
    EXPECT_EQ(up[0].first, -3);
    EXPECT_EQ(up[0].weights, (std::vector<int>{2, -14, 66, 227, -30, 5}));
    EXPECT_EQ(up[1].weights, (std::vector<int>{5, -30, 227, 66, -14, 2}));
    // Reducing 4 -> 2 stretches the kernel to 6 source pixels on each side, values halved.
    const auto down = resampleTaps(0, 4, 2);
    EXPECT_EQ(down[0].first, -5);
    EXPECT_EQ(down[0].weights, (std::vector<int>{1, 3, -7, -15, 33, 113, 113, 33, -15, -7, 3, 1}));
    for (const auto& taps : {up, down, resampleTaps(3, 7, 3), resampleTaps(0, 1000, 37)}) {
        for (const ResampleTaps& t : taps) {
            int sum = 0;
            for (int w : t.weights)
                sum += w;
            EXPECT_EQ(sum, 256);
        }
    }
}

TEST(Resampler, TinyPictures)
{
    struct Case
    {
        QList<int> source;
        int width;
        QList<int> expected;
    };
    // Edge pixels repeat beyond the picture; every channel is rounded and clamped to 0..255.
    const Case cases[] = {
        {{0, 255}, 4, {0, 54, 201, 255}},
        {{0, 100, 200, 255}, 2, {52, 229}},
        {{10, 200, 30}, 5, {0, 96, 200, 110, 12}},
        {{77}, 3, {77, 77, 77}},
        {{5, 6, 7}, 3, {5, 6, 7}}, // same size: a copy
    };
    for (const Case& c : cases) {
        const QImage out = resampled(grayRow(c.source), QSize(c.width, 1));
        EXPECT_EQ(redRow(out), c.expected);
        EXPECT_EQ(qAlpha(out.pixel(0, 0)), 255);
    }
    // Columns like rows: a 1 x 2 column enlarged to 1 x 4.
    const QImage column = grayRow({0, 255}).transformed(QTransform(0, 1, 1, 0, 0, 0));
    const QImage tall = resampled(column, QSize(1, 4));
    QList<int> values;
    for (int y = 0; y < 4; ++y)
        values.append(qRed(tall.pixel(0, y)));
    EXPECT_EQ(values, (QList<int>{0, 54, 201, 255}));
}

TEST(Resampler, SourceRectangleReadsNeighboursInsideThePicture)
{
    // Drawing pixels 1..2 of (0, 90, 90, 255) into 4 pixels: the taps beyond the rectangle read
    // the picture's own pixels 0 and 3, not copies of the rectangle's edge.
    QImage dst(4, 1, QImage::Format_ARGB32);
    ResampleDraw(grayRow({0, 90, 90, 255}), dst, QRect(1, 0, 2, 1), dst.rect());
    QImage plain(4, 1, QImage::Format_ARGB32);
    ResampleDraw(grayRow({90, 90}), plain, QRect(0, 0, 2, 1), plain.rect());
    EXPECT_EQ(redRow(plain), (QList<int>{90, 90, 90, 90}));
    EXPECT_NE(redRow(dst), redRow(plain));
}

TEST(PictureStages, BrightnessContrastTable)
{
    struct Case
    {
        int brightness, contrast, x, expected;
    };
    const Case cases[] = {
        {0, 100, 0, 0}, {0, 100, 137, 137}, {0, 100, 255, 255},
        {0, 150, 0, 0}, {0, 150, 100, 100}, {0, 150, 200, 250}, {0, 150, 255, 255},
        {-255, 100, 255, 0}, {-255, 100, 0, 0},
        {40, 100, 230, 255}, {40, 100, 10, 50},
        {0, 0, 0, 100}, {0, 0, 255, 100},
        {0, 101, 50, 49}, // R(50.5) = 50 (halves to even; rounding up would give 50) - 1
        {0, 103, 50, 49}, // R(51.5) = 52, -3
    };
    for (const Case& c : cases) {
        const auto t = brightnessContrastTable(c.brightness, c.contrast);
        EXPECT_EQ(t[size_t(c.x)], c.expected) << c.brightness << " " << c.contrast << " " << c.x;
    }
    QImage img(2, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(200, 100, 0, 77));
    img.setPixel(1, 0, qRgba(255, 255, 255, 255));
    const QImage out = adjustBrightnessContrast(img, 0, 150);
    EXPECT_EQ(out.pixel(0, 0), qRgba(250, 100, 0, 77)); // alpha untouched
    EXPECT_EQ(out.pixel(1, 0), qRgba(255, 255, 255, 255));
}

TEST(PictureStages, FitSizeAndCrop)
{
    struct Case
    {
        QSize picture;
        int n;
        QSize expected;
    };
    const Case cases[] = {
        {{400, 300}, 100, {100, 75}},
        {{300, 400}, 100, {75, 100}},
        {{250, 250}, 100, {100, 100}},
        {{333, 200}, 100, {100, 60}},
        {{200, 3}, 100, {100, 2}},   // R(1.5) = 2
        {{200, 5}, 100, {100, 2}},   // R(2.5) = 2, halves to even
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitSize(c.picture, c.n), c.expected) << c.picture.width() << "x" << c.picture.height();
    EXPECT_EQ(FitSize(QRect(0, 0, 400, 300), QRect(0, 0, 100, 100)), QRect(0, 0, 100, 75));

    EXPECT_EQ(roundedSelection(QRectF(QPointF(0.5, 1.5), QPointF(10.5, 11.49))), QRect(0, 2, 10, 9));
    QImage src(10, 10, QImage::Format_ARGB32);
    src.fill(qRgba(1, 2, 3, 255));
    src.setPixel(3, 4, qRgba(9, 9, 9, 255));
    const QImage crop = cropPicture(src, QRectF(QPointF(2.6, 3.6), QPointF(6.2, 8.0)));
    EXPECT_EQ(crop.size(), QSize(3, 4));
    EXPECT_EQ(crop.pixel(0, 0), qRgba(9, 9, 9, 255));
}

TEST(PictureLoading, LimitsAndFormats)
{
    // Over 50,000,000 pixels: refused from the header, naming the file.
    const QString huge = pngHeaderFile(QStringLiteral("huge.png"), 10000, 5001);
    try {
        loadPicture(huge);
        FAIL() << "a picture of 50,010,000 pixels was accepted";
    } catch (const QuillError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Out of Memory. Picture is very big!"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("huge.png")));
    }
    const QString wide = pngHeaderFile(QStringLiteral("wide.png"), 2000000000u, 1);
    EXPECT_THROW(loadPicture(wide), QuillError);

    struct Bad
    {
        QString name;
        QByteArray bytes;
        QString mention;
    };
    const Bad bad[] = {
        {QStringLiteral("drawing.wmf"), QByteArray("\xD7\xCD\xC6\x9A", 4), QStringLiteral("not supported")},
        {QStringLiteral("drawing.emf"), QByteArray(64, '\0'), QStringLiteral("not supported")},
        {QStringLiteral("garbage.png"), QByteArray("not a picture"), QStringLiteral("garbage.png")},
    };
    for (const Bad& b : bad) {
        const QString path = testsupport::tempRoot() + QLatin1Char('/') + b.name;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b.bytes);
        f.close();
        try {
            loadPicture(path);
            ADD_FAILURE() << b.name.toStdString() << " was read";
        } catch (const QuillError& e) {
            EXPECT_TRUE(e.message().contains(b.mention)) << e.message().toStdString();
        }
    }
    EXPECT_THROW(loadPicture(testsupport::tempRoot() + QStringLiteral("/missing.jpg")), QuillError);

    // The readable formats come back as ARGB32 with their pixels.
    QImage img(3, 2, QImage::Format_ARGB32);
    img.fill(qRgba(10, 200, 30, 255));
    for (const char* fmt : {"png", "bmp", "tiff", "jpg", "ico"}) {
        const QString path = testsupport::tempRoot() + QStringLiteral("/small.") + QLatin1String(fmt);
        ASSERT_TRUE(img.save(path, fmt)) << fmt;
        const QImage back = loadPicture(path);
        EXPECT_EQ(back.format(), QImage::Format_ARGB32) << fmt;
        EXPECT_EQ(back.size(), img.size()) << fmt;
        EXPECT_NEAR(qGreen(back.pixel(1, 1)), 200, 8) << fmt;
    }
}
