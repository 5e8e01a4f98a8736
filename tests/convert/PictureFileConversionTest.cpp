// Converting a picture file without a whole copy of it: JPEG pictures decoded band by band
// give the pixels Qt's reader gives, every other picture is read whole, and the conversion of
// the file gives the design and ghost picture of loadPicture, convertPicture and the ghost
// the wizard's result leaves.

#include "convert/PictureConversion.h"
#include "convert/PictureRows.h"

#include "core/PatternDocument.h"
#include "core/QuillError.h"
#include "session/Session.h"
#include "support/ShippedSession.h"
#include "support/TestSupport.h"
#include "view/GhostOverlay.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

QImage testPicture(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const quint32 n = (quint32(x) * 2654435761u) ^ (quint32(y) * 40503u);
            img.setPixel(x, y, qRgba((x * 9 + int(n % 31)) % 256, (y * 7) % 256, (x * y + int(n >> 27)) % 256, 255));
        }
    return img;
}

struct JpegKind
{
    const char* name;
    int h0 = 2, v0 = 2;         // sampling factors of the first component (others 1 x 1)
    J_COLOR_SPACE space = JCS_YCbCr;
    bool progressive = false;
    int restart = 0;             // restart interval in MCU rows
    bool exifTurned = false;     // an Exif orientation "turned 90 degrees", which Qt's reader
                                 // reports but does not apply unless asked to
    bool readWhole = false;      // expected to be read whole by Qt's reader
};

// Writes the picture with libjpeg with the given layout; CMYK pictures get the colours
// inverted into four channels.
QString writeJpeg(const QImage& img, const JpegKind& k, const QString& path)
{
    std::FILE* f = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!f)
        return {};
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = JDIMENSION(img.width());
    c.image_height = JDIMENSION(img.height());
    const bool cmyk = k.space == JCS_CMYK;
    c.input_components = cmyk ? 4 : 3;
    c.in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_colorspace(&c, k.space);
    jpeg_set_quality(&c, 88, TRUE);
    c.comp_info[0].h_samp_factor = k.h0;
    c.comp_info[0].v_samp_factor = k.v0;
    c.restart_in_rows = k.restart;
    if (k.progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    if (k.exifTurned) {
        // "Exif\0\0", a little-endian TIFF header and one entry: orientation (0x0112) = 6.
        const unsigned char exif[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                                      0x12, 1, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
        jpeg_write_marker(&c, JPEG_APP0 + 1, exif, sizeof exif);
    }
    std::vector<JSAMPLE> row(size_t(img.width()) * size_t(c.input_components));
    while (c.next_scanline < c.image_height) {
        const int y = int(c.next_scanline);
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            JSAMPLE* o = row.data() + size_t(x) * size_t(c.input_components);
            if (cmyk) {
                o[0] = JSAMPLE(qRed(p));
                o[1] = JSAMPLE(qGreen(p));
                o[2] = JSAMPLE(qBlue(p));
                o[3] = JSAMPLE(200);
            } else {
                o[0] = JSAMPLE(qRed(p));
                o[1] = JSAMPLE(qGreen(p));
                o[2] = JSAMPLE(qBlue(p));
            }
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(f);
    return path;
}

// All rows of the picture through PictureRows, bands of `band` rows.
QImage readAllRows(PictureRows& rows, int band)
{
    if (!rows.whole().isNull())
        return rows.whole();
    QImage out(rows.size(), QImage::Format_ARGB32);
    std::vector<quint32> buffer(size_t(rows.size().width()) * size_t(band));
    int y = 0;
    while (int n = rows.readRows(buffer.data(), band)) {
        for (int k = 0; k < n; ++k)
            std::copy_n(buffer.data() + size_t(k) * size_t(rows.size().width()), rows.size().width(),
                        reinterpret_cast<quint32*>(out.scanLine(y + k)));
        y += n;
    }
    EXPECT_EQ(y, rows.size().height());
    return out;
}

} // namespace

TEST(PictureRows, JpegBandsGiveTheReadersPixels)
{
    const JpegKind kinds[] = {
        {"4:2:0", 2, 2},
        {"4:2:2", 2, 1},
        {"4:4:0", 1, 2},
        {"4:4:4", 1, 1},
        {"4:2:0 progressive", 2, 2, JCS_YCbCr, true},
        {"4:2:0 restart markers", 2, 2, JCS_YCbCr, false, 1},
        {"RGB", 1, 1, JCS_RGB},
        {"CMYK", 1, 1, JCS_CMYK, false, 0, false, true},
        {"Exif turned", 2, 2, JCS_YCbCr, false, 0, true, false},
    };
    for (const QSize size : {QSize(33, 17), QSize(64, 48), QSize(1, 1), QSize(301, 2)}) {
        const QImage img = testPicture(size.width(), size.height());
        for (const JpegKind& k : kinds) {
            SCOPED_TRACE(std::string(k.name) + " " + std::to_string(size.width()) + "x" + std::to_string(size.height()));
            const QString path = writeJpeg(img, k, testsupport::currentTestPath(QStringLiteral(".jpg")));
            ASSERT_FALSE(path.isEmpty());
            const QImage expected = loadPicture(path);
            EXPECT_EQ(expected, readPictureWithQt(path));
            if (k.exifTurned) {
                EXPECT_EQ(QImageReader(path).transformation(), QImageIOHandler::TransformationRotate90);
            }
            PictureRows rows(path);
            EXPECT_EQ(rows.whole().isNull(), !k.readWhole);
            EXPECT_EQ(rows.size(), expected.size());
            for (const int band : {1, 16}) {
                PictureRows again(path);
                const QImage got = readAllRows(again, band);
                EXPECT_EQ(got.format(), QImage::Format_ARGB32);
                EXPECT_TRUE(got == expected) << "band " << band;
            }
        }
    }
}

TEST(PictureRows, DamagedAndOtherPictures)
{
    const QImage img = testPicture(40, 30);
    const QString good = writeJpeg(img, {"4:2:0"}, testsupport::currentTestPath(QStringLiteral(".jpg")));
    QFile f(good);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();

    // A cut file: Qt's reader and the band decoder fill the missing part alike.
    const QString cut = testsupport::currentTestPath(QStringLiteral("-cut.jpg"));
    QFile c(cut);
    ASSERT_TRUE(c.open(QIODevice::WriteOnly));
    c.write(bytes.left(bytes.size() * 2 / 3));
    c.close();
    PictureRows rows(cut);
    EXPECT_TRUE(readAllRows(rows, 8) == loadPicture(cut));

    // Not a JPEG: read whole, as loadPicture reads it; errors as loadPicture's.
    const QString png = testsupport::currentTestPath(QStringLiteral(".png"));
    ASSERT_TRUE(img.save(png));
    EXPECT_EQ(PictureRows(png).whole(), loadPicture(png));
    const QString garbage = testsupport::currentTestPath(QStringLiteral("-garbage.jpg"));
    QFile g(garbage);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(bytes.left(40)); // the header cut short
    g.close();
    for (const QString& bad : {garbage, testsupport::currentTestPath(QStringLiteral("-missing.jpg"))}) {
        QString expected;
        try {
            loadPicture(bad);
        } catch (const QuillError& e) {
            expected = e.message();
        }
        ASSERT_FALSE(expected.isEmpty()) << bad.toStdString();
        try {
            PictureRows r(bad);
            ADD_FAILURE() << bad.toStdString() << " was opened";
        } catch (const QuillError& e) {
            EXPECT_EQ(e.message(), expected);
        }
    }
}

namespace {

class PictureFileConversion : public testing::Test
{
protected:
    void SetUp() override
    {
        session = testsupport::startShippedSession();
    }
    PatternDocument& doc() { return session->document(); }
    std::unique_ptr<Session> session;
};

} // namespace

TEST_F(PictureFileConversion, SameDesignAndGhostAsThePictureInMemory)
{
    struct Case
    {
        const char* name;
        QSize picture;
        const char* suffix;
        QRectF crop;
        int brightness, contrast, size;
        DitherMethod dither;
    };
    const Case cases[] = {
        {"small JPEG, ghost the whole picture", {300, 200}, "jpg", {}, 0, 100, 80, DitherMethod::None},
        {"JPEG, cropped and adjusted", {1500, 700}, "jpg", QRectF(QPointF(3.4, 10.6), QPointF(1401, 650)), -30, 140, 120,
         DitherMethod::Stucki},
        {"JPEG, a crop of one row", {1200, 300}, "jpg", QRectF(QPointF(0, 299), QPointF(1200, 300)), 0, 100, 50,
         DitherMethod::None},
        {"BMP, full size", {1100, 90}, "bmp", {}, 10, 100, 1100, DitherMethod::SierraLite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = testsupport::currentTestPath(QStringLiteral(".") + QLatin1String(c.suffix));
        ASSERT_TRUE(testPicture(c.picture.width(), c.picture.height()).save(path, nullptr, 85));
        ConversionSettings s;
        s.palette = QStringLiteral("DMC");
        s.colors = 25;
        s.size = c.size;
        s.crop = c.crop;
        s.brightness = c.brightness;
        s.contrast = c.contrast;
        s.dither = c.dither;
        s.sourcePath = path;

        ConversionResult r;
        ASSERT_TRUE(convertPicture(loadPicture(path), s, doc(), &r));
        const QImage expectedCells = doc().CrossCells;
        const GhostPicture expectedGhost = GhostOverlay::ghostFromAdjusted(r.adjusted);

        GhostPicture ghost, early;
        ASSERT_TRUE(convertPictureFile(path, s, doc(), ghost, [&](const GhostPicture& g) { early = g; }));
        EXPECT_TRUE(doc().CrossCells == expectedCells);
        EXPECT_EQ(ghost.resample, expectedGhost.resample);
        EXPECT_TRUE(ghost.ghostPicture == expectedGhost.ghostPicture);
        EXPECT_TRUE(early.ghostPicture == expectedGhost.ghostPicture);
        EXPECT_EQ(doc().checkInvariant(), QString());
        EXPECT_EQ(doc().stitch().filename(), QString(path).replace(QLatin1String(c.suffix), QLatin1String("qvxp")));
    }
}

TEST_F(PictureFileConversion, FailuresLeaveTheDesignAlone)
{
    const QString path = testsupport::currentTestPath(QStringLiteral(".jpg"));
    ASSERT_TRUE(testPicture(50, 40).save(path));
    const QImage before = doc().CrossCells;
    ConversionSettings emptyCrop;
    emptyCrop.crop = QRectF(3, 3, 0.2, 5);
    ConversionSettings noPalette;
    noPalette.palette = QStringLiteral("No such palette");
    struct Case
    {
        QString path;
        ConversionSettings settings;
        const char* mention;
    };
    const Case cases[] = {
        {path, emptyCrop, "empty"},
        {path, noPalette, "No such palette"},
        {testsupport::currentTestPath(QStringLiteral("-missing.jpg")), {}, "-missing.jpg"},
    };
    for (const Case& c : cases) {
        GhostPicture ghost;
        try {
            convertPictureFile(c.path, c.settings, doc(), ghost);
            ADD_FAILURE() << c.mention;
        } catch (const QuillError& e) {
            EXPECT_TRUE(e.message().contains(QLatin1String(c.mention))) << e.message().toStdString();
        }
        EXPECT_FALSE(ghost.isLoaded());
        EXPECT_TRUE(doc().CrossCells == before);
    }
}
