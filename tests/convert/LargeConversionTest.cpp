// A large conversion on a fixed picture, compared by checksums of the design's cells and of
// the ghost picture with values recorded from the plain implementation: a faster pipeline
// must give the very same chart and guide picture.

#include "convert/PictureConversion.h"

#include "core/PatternDocument.h"
#include "files/DesignFile.h"
#include "session/Session.h"
#include "support/CliRunner.h"
#include "support/ShippedSession.h"
#include "support/TestSupport.h"
#include "view/GhostOverlay.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Gradients, two discs with hard edges and fine noise: smooth areas and detail, like a photo.
// Integer arithmetic only, so the picture is the same everywhere.
QImage fixedPicture(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const quint32 hash = (quint32(x) * 73856093u) ^ (quint32(y) * 19349663u);
            const int noise = int((hash >> 7) % 25u) - 12;
            int r = x * 256 / w + noise;
            int g = y * 256 / h - noise;
            int b = (x + y) * 128 / (w + h) + 64 + noise / 2;
            const qint64 dx = x - w / 3, dy = y - h / 2;
            if (dx * dx + dy * dy < qint64(h / 4) * (h / 4))
                std::swap(r, b);
            const qint64 ex = x - 3 * w / 4, ey = y - h / 3;
            if (ex * ex + ey * ey < qint64(h / 5) * (h / 5))
                g = 255 - g;
            row[x] = qRgba(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255), 255);
        }
    }
    return img;
}

// FNV-1a over the 32-bit pixels of a picture, row by row.
quint64 checksum(const QImage& img)
{
    quint64 h = 1469598103934665603ull;
    for (int y = 0; y < img.height(); ++y) {
        const uchar* row = img.constScanLine(y);
        for (qsizetype i = 0; i < qsizetype(img.width()) * 4; ++i) {
            h ^= row[i];
            h *= 1099511628211ull;
        }
    }
    return h;
}

class LargeConversion : public testing::Test
{
protected:
    void SetUp() override
    {
        session = testsupport::startShippedSession();
    }
    std::unique_ptr<Session> session;
};

struct Case
{
    const char* name;
    const char* file; // empty: the picture in memory; else its suffix, saved and read back
    bool cli;         // converted by quillmark-cli from the file, and the design read back
    ConversionSettings settings;
    QSize design;
    QSize ghost;
    quint64 cells;
    quint64 ghostPixels;
};

ConversionSettings photoSettings()
{
    ConversionSettings s;
    s.palette = QStringLiteral("DMC");
    s.size = 300;
    s.colors = 40;
    s.dither = DitherMethod::FloydSteinberg;
    s.level = 100;
    return s;
}

ConversionSettings croppedSettings()
{
    ConversionSettings s;
    s.palette = QStringLiteral("DMC");
    s.size = 200;
    s.colors = 30;
    s.crop = QRectF(QPointF(101.3, 57.8), QPointF(2203.4, 1500.2));
    s.brightness = 25;
    s.contrast = 130;
    return s;
}

// The command-line options of the settings above (the crop rounded as the pipeline rounds it).
QStringList cliOptions(const ConversionSettings& s)
{
    QStringList o{"--palette", s.palette, "--size", QString::number(s.size), "--colors",
                  QString::number(s.colors), "--dither", ditherMethodName(s.dither), "--level",
                  QString::number(s.level), "--brightness", QString::number(s.brightness),
                  "--contrast", QString::number(s.contrast)};
    if (!s.crop.isNull()) {
        const QRect r = roundedSelection(s.crop);
        o << "--crop" << QStringLiteral("%1,%2,%3,%4").arg(r.left()).arg(r.top()).arg(r.left() + r.width()).arg(r.top() + r.height());
    }
    return o;
}

} // namespace

TEST_F(LargeConversion, CellsAndGhostMatchTheRecordedChecksums)
{
    const QImage picture = fixedPicture(2400, 1600);
    const Case cases[] = {
        {"in memory, Floyd-Steinberg", "", false, photoSettings(), QSize(300, 200), QSize(1000, 666),
         0x232eaea207ede585ull, 0xf5c0a63d875bc631ull},
        {"in memory, cropped and adjusted", "", false, croppedSettings(), QSize(200, 137),
         QSize(1000, 686), 0xe07d5f88cf408da6ull, 0x8a7a9b32c93e6208ull},
        {"JPEG file", "jpg", false, photoSettings(), QSize(300, 200), QSize(1000, 666),
         0xaece3862df27276bull, 0xf3dc523dfc9b8453ull},
        {"PNG file, cropped", "png", false, croppedSettings(), QSize(200, 137), QSize(1000, 686),
         0xe07d5f88cf408da6ull, 0x8a7a9b32c93e6208ull},
        {"JPEG file by quillmark-cli", "jpg", true, photoSettings(), QSize(300, 200), QSize(1000, 666),
         0xaece3862df27276bull, 0xf3dc523dfc9b8453ull},
        {"JPEG file by quillmark-cli, cropped", "jpg", true, croppedSettings(), QSize(200, 137),
         QSize(1000, 686), 0xafdb1360d6b18e5full, 0x2d2bb47b64f88407ull},
        {"PNG file by quillmark-cli, cropped", "png", true, croppedSettings(), QSize(200, 137),
         QSize(1000, 686), 0xe07d5f88cf408da6ull, 0x8a7a9b32c93e6208ull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage source = picture;
        const QString path = testsupport::currentTestPath(QStringLiteral(".") + QLatin1String(c.file));
        if (*c.file) {
            ASSERT_TRUE(picture.save(path, nullptr, 90));
            source = loadPicture(path);
        }
        PatternDocument& doc = session->document();
        GhostPicture ghost;
        if (c.cli) {
            const QString out = testsupport::currentTestPath(QStringLiteral(".qvxp"));
            const testsupport::CliRun run = testsupport::runCli(
                QStringLiteral(QUILLMARK_CLI), testsupport::currentTestPath(QStringLiteral("-cli.ini")),
                QStringList{"convert", path, "-o", out} + cliOptions(c.settings));
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
            openDesignFile(doc, out, &ghost);
        } else {
            ConversionResult r;
            ASSERT_TRUE(convertPicture(source, c.settings, doc, &r));
            ghost = GhostOverlay::ghostFromAdjusted(r.adjusted);
        }
        EXPECT_EQ(QSize(doc.width(), doc.height()), c.design);
        EXPECT_EQ(ghost.ghostPicture.size(), c.ghost);
        EXPECT_EQ(checksum(doc.CrossCells), c.cells);
        EXPECT_EQ(checksum(ghost.ghostPicture), c.ghostPixels);
    }
}
