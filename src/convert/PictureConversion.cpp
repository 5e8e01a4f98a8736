#include "PictureConversion.h"

#include "core/PatternDocument.h"
#include "PictureRows.h"
#include "Resampler.h"

#include "core/QuillError.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// ---------------------------------------------------------------------------------------------
// Loading

QImage loadPicture(const QString& path)
{
    // A JPEG straight into 32-bit pixels, with no 24-bit copy converted afterwards.
    QImage decoded = PictureRows::decodeWhole(path);
    if (!decoded.isNull())
        return decoded;
    return readPictureWithQt(path);
}

QImage readPictureWithQt(const QString& path)
{
    const QString shown = QFileInfo(path).fileName();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("wmf") || suffix == QLatin1String("emf"))
        throw QuillError(QStringLiteral("The picture \"%1\" cannot be read: the format %2 is not supported."),
                         {shown, suffix.toUpper()});
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * qint64(size.height()) > kMaxPicturePixels)
        throw QuillError(QStringLiteral("Out of Memory. Picture is very big!\n\"%1\" has %2 x %3 pixels; at most 50,000,000 pixels can be converted."),
                         {shown, QString::number(size.width()), QString::number(size.height())});
    // The size is checked above; a picture within it may need more than Qt's default limit
    // when it decodes to 64-bit pixels.
    if (size.isValid())
        reader.setAllocationLimit(1024);
    QImage image = reader.read();
    if (image.isNull())
        throw QuillError(QStringLiteral("The picture \"%1\" cannot be read: %2"),
                         {shown, QuillError::translatable(reader.errorString())});
    if (qint64(image.width()) * qint64(image.height()) > kMaxPicturePixels)
        throw QuillError(QStringLiteral("Out of Memory. Picture is very big!\n\"%1\" has %2 x %3 pixels; at most 50,000,000 pixels can be converted."),
                         {shown, QString::number(image.width()), QString::number(image.height())});
    // Opaque 32-bit pixels already are ARGB32 pixels with alpha 255: no copy needed.
    if (image.format() == QImage::Format_RGB32)
        image.reinterpretAsFormat(QImage::Format_ARGB32);
    else if (image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        throw QuillError(QStringLiteral("Out of Memory. Picture is very big!\n\"%1\" could not be held in memory."),
                         {shown});
    return image;
}

// ---------------------------------------------------------------------------------------------
// Crop, adjustment and size

QRect roundedSelection(const QRectF& s)
{
    const int left = Rnd(s.left()), top = Rnd(s.top());
    const int right = Rnd(s.right()), bottom = Rnd(s.bottom());
    return QRect(left, top, right - left, bottom - top);
}

QImage cropPicture(const QImage& source, const QRectF& selection)
{
    const QRect r = roundedSelection(selection).intersected(source.rect());
    if (r == source.rect())
        return source;
    return source.copy(r);
}

std::array<std::uint8_t, 256> brightnessContrastTable(int brightness, int contrast)
{
    std::array<std::uint8_t, 256> t{};
    for (int x = 0; x < 256; ++x) {
        const int v = Rnd(x * double(contrast) / 100.0) + (100 - contrast) + brightness;
        t[size_t(x)] = std::uint8_t(std::clamp(v, 0, 255));
    }
    return t;
}

QImage adjustBrightnessContrast(const QImage& picture, int brightness, int contrast)
{
    QImage out = picture.format() == QImage::Format_ARGB32 ? picture
                                                           : picture.convertToFormat(QImage::Format_ARGB32);
    if (brightness == 0 && contrast == 100)
        return out; // the table is the identity
    const auto t = brightnessContrastTable(brightness, contrast);
    for (int y = 0; y < out.height(); ++y) {
        quint32* row = reinterpret_cast<quint32*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const quint32 p = row[x];
            row[x] = (p & 0xFF000000u) | (quint32(t[(p >> 16) & 0xFF]) << 16)
                | (quint32(t[(p >> 8) & 0xFF]) << 8) | quint32(t[p & 0xFF]);
        }
    }
    return out;
}

QRect FitSize(const QRect& source, const QRect& box)
{
    const double w = source.width(), h = source.height();
    const double bw = box.width(), bh = box.height();
    if (bw / bh > w / h)
        return QRect(0, 0, Rnd(bh * w / h), box.height());
    return QRect(0, 0, box.width(), Rnd(bw * h / w));
}

QSize fitSize(const QSize& picture, int maxSide)
{
    return FitSize(QRect(QPoint(0, 0), picture), QRect(0, 0, maxSide, maxSide)).size();
}

// ---------------------------------------------------------------------------------------------
// Colour work and the design

bool mapPictureColors(const KeyRaster& resized, const ColorTable& palette, int symbolCount,
                      const ConversionSettings& settings, int maxColors, QList<double>& deltas,
                      PictureColorMapper& mapper, KeyRaster& final, const DitherProgress& progress)
{
    clearUpperVectorState();
    mapper.loadUsedColors(resized);
    mapper.loadPaletteColors(palette);
    mapper.setLevelPosition(settings.level);
    mapper.matchUsedColors(deltas);
    mapper.computeMaxAvailableColors(symbolCount);
    const int n = mapper.computeColorsCount(std::max(settings.colors, 1), maxColors);
    return mapper.Dithering(n, settings.dither, resized, final, progress);
}

void buildConvertedDesign(PatternDocument& doc, const QString& paletteName, const ColorTable& palette,
                          const QString& charactersName, const ColorTable& reduced,
                          const KeyRaster& final, bool empty, const QString& sourcePath)
{
    clearUpperVectorState();
    TStitch& st = doc.stitch();
    // A new empty design: stitches, title, comment, background and glyph cache start afresh.
    doc.CreateNewTemplate(final.width, final.height, charactersName, paletteName);

    ColorTable colors;
    auto fresh = [](ColorKey key, TColorInfo info) {
        info.colorCount = 0;
        info.quarterStitchesCount = 0;
        info.backStitchesCount = 0;
        info.matchColor = key;
        return info;
    };
    if (!empty) {
        for (const auto& [key, info] : reduced)
            colors.insert(key, fresh(key, info));
    }
    for (const auto& [key, info] : palette) {
        if (TColorInfo* e = colors.find(key)) {
            e->colorName = info.colorName;
            e->colorID = info.colorID;
        } else {
            colors.insert(key, fresh(key, info));
        }
    }
    st.Colors = colors;
    if (!st.Colors.isEmpty())
        st.setDrawcolor(st.Colors.at(0).first);

    const TColor32 bg = st.BackGroundColor;
    for (int y = 0; y < final.height; ++y) {
        TColor32* row = reinterpret_cast<TColor32*>(doc.CrossCells.scanLine(y));
        const ColorKey* in = final.row(y);
        for (int x = 0; x < final.width; ++x)
            row[x] = empty ? bg : keyToPixel(in[x]);
    }
    doc.QuarterCells.fill(bg);

    st.chars.Rebuild(st.Colors);
    doc.rebuildColorSymbols();
    doc.CalcColorUsage();

    if (!sourcePath.isEmpty()) {
        const QFileInfo fi(sourcePath);
        st.setFilename(fi.path() + QLatin1Char('/') + fi.completeBaseName() + QStringLiteral(".qvxp"));
    }
    st.fileMode = fmConvert;
    st.setFileSaved(false);
    st.setColorsname(paletteName);
    doc.refreshAll();
}

namespace {

// The palette and character set a conversion uses, checked before anything is computed.
struct ConversionCatalogue
{
    QString paletteName;
    const ColorTable* palette = nullptr;
    QString setName;
    const TCharacterInfo* set = nullptr;
};

ConversionCatalogue conversionCatalogue(const TStitch& st, const ConversionSettings& settings)
{
    ConversionCatalogue c;
    c.paletteName = settings.palette.isEmpty() ? st.defaultPalette : settings.palette;
    c.palette = st.ColorPalettes.find(c.paletteName);
    if (!c.palette)
        throw QuillError(QStringLiteral("The palette \"%1\" is not in the catalogue."),
                         {c.paletteName});
    if (c.palette->isEmpty())
        throw QuillError(QStringLiteral("The palette \"%1\" has no colours."),
                         {c.paletteName});
    c.setName = settings.characters.isEmpty() ? st.defaultCharacters : settings.characters;
    c.set = st.characters.find(c.setName);
    if (!c.set)
        throw QuillError(QStringLiteral("The character set \"%1\" is not in the catalogue."),
                         {c.setName});
    if (c.set->characters.isEmpty())
        throw QuillError(QStringLiteral("The character set \"%1\" has no symbols."),
                         {c.setName});
    return c;
}

[[noreturn]] void throwEmptySelection()
{
    throw QuillError(QStringLiteral("The selected part of the picture is empty."));
}

// Step 3: the size field runs from 2 to the larger side of the crop (at most 32767).
QSize conversionDesignSize(QSize adjusted, int size)
{
    const int larger = std::min(std::max(adjusted.width(), adjusted.height()), 32767);
    const int n = std::clamp(size, std::min(2, larger), larger);
    return fitSize(adjusted, n).expandedTo(QSize(1, 1)); // a very thin crop keeps one cell across
}

// Step 4 on the resized picture and the design built from it.
bool finishConversion(const ConversionCatalogue& c, const ConversionSettings& settings,
                      PatternDocument& doc, ConversionResult& r, const DitherProgress& progress)
{
    const KeyRaster resized = KeyRaster::fromImage(r.resized);
    PictureColorMapper mapper;
    QList<double> deltas;
    if (!mapPictureColors(resized, *c.palette, int(c.set->characters.size()), settings,
                          doc.stitch().maxColors, deltas, mapper, r.final, progress))
        return false;
    r.reduced = mapper.ReducedColors;
    r.maxAvailableColors = mapper.MaxAvailableColors;
    r.colorsCount = mapper.ColorsCount;

    buildConvertedDesign(doc, c.paletteName, *c.palette, c.setName, r.reduced, r.final,
                         settings.emptyDesign, settings.sourcePath);
    return true;
}

} // namespace

QSize conversionGhostSize(QSize adjusted)
{
    const int w = adjusted.width(), h = adjusted.height();
    if (w <= kMaxGhostSide && h <= kMaxGhostSide)
        return adjusted;
    const double m = std::max(w, h);
    return QSize(std::max(1, int(std::floor(w / m * kMaxGhostSide))),
                 std::max(1, int(std::floor(h / m * kMaxGhostSide))));
}

bool convertPicture(const QImage& source, const ConversionSettings& settings, PatternDocument& doc,
                    ConversionResult* result, const DitherProgress& progress)
{
    const ConversionCatalogue c = conversionCatalogue(doc.stitch(), settings);

    // Steps 1 and 2: crop, brightness and contrast.
    const QRectF selection = settings.crop.isNull() ? QRectF(source.rect()) : settings.crop;
    const QImage crop = cropPicture(source, selection);
    if (crop.isNull() || crop.width() < 1 || crop.height() < 1)
        throwEmptySelection();
    ConversionResult r;
    r.adjusted = adjustBrightnessContrast(crop, std::clamp(settings.brightness, -255, 255),
                                          std::clamp(settings.contrast, 0, 255));

    // Step 3.
    r.resized = resampled(r.adjusted, conversionDesignSize(r.adjusted.size(), settings.size));

    // Step 4.
    if (!finishConversion(c, settings, doc, r, progress))
        return false;
    if (result)
        *result = std::move(r);
    return true;
}

namespace {

// Rows of the crop, adjusted, handed to the resamplers of the design and of the ghost.
class CropFeeder
{
public:
    CropFeeder(const QRect& crop, const ConversionSettings& settings, StreamResampler& design,
               StreamResampler& ghost)
        : m_crop(crop), m_design(design), m_ghost(ghost)
    {
        const int b = std::clamp(settings.brightness, -255, 255);
        const int c = std::clamp(settings.contrast, 0, 255);
        m_identity = b == 0 && c == 100;
        m_table = brightnessContrastTable(b, c);
    }
    const QRect& crop() const { return m_crop; }

    // Source row y (the whole width of the picture); rows outside the crop are passed over.
    // `scratch` holds crop().width() pixels for the adjusted row.
    void feed(int y, const quint32* row, quint32* scratch) const
    {
        if (y < m_crop.top() || y > m_crop.bottom())
            return;
        const quint32* p = row + m_crop.left();
        if (!m_identity) {
            const auto& t = m_table;
            for (int x = 0; x < m_crop.width(); ++x) {
                const quint32 v = p[x];
                scratch[x] = (v & 0xFF000000u) | (quint32(t[(v >> 16) & 0xFF]) << 16)
                    | (quint32(t[(v >> 8) & 0xFF]) << 8) | quint32(t[v & 0xFF]);
            }
            p = scratch;
        }
        m_design.addRow(y - m_crop.top(), p);
        m_ghost.addRow(y - m_crop.top(), p);
    }

private:
    QRect m_crop;
    StreamResampler& m_design;
    StreamResampler& m_ghost;
    bool m_identity = true;
    std::array<std::uint8_t, 256> m_table{};
};

// The rows of a picture in memory, split over the CPU cores.
void feedWhole(const QImage& picture, const CropFeeder& feeder)
{
    const QRect& crop = feeder.crop();
    parallelRanges(crop.height(), 64, [&](int begin, int end) {
        clearUpperVectorState();
        std::vector<quint32> scratch(size_t(crop.width()));
        for (int y = crop.top() + begin; y < crop.top() + end; ++y)
            feeder.feed(y, reinterpret_cast<const quint32*>(picture.constScanLine(y)), scratch.data());
    });
}

// The rows of a picture decoded band by band: this thread decodes, a second one resamples the
// band decoded before. Throws PictureRows::Failed when the decoder fails.
void feedDecoded(PictureRows& rows, const CropFeeder& feeder)
{
    constexpr int kBand = 16;
    constexpr int kBuffers = 4;
    const int width = rows.size().width();
    const int lastRow = feeder.crop().bottom();
    struct Band
    {
        std::unique_ptr<quint32[]> pixels; // written by the decoder before it is read
        int y = 0, count = 0;
    };
    std::vector<Band> bands(kBuffers);
    for (Band& b : bands)
        b.pixels.reset(new quint32[size_t(width) * kBand]);
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<int> full, empty{0, 1, 2, 3};
    bool done = false;

    std::thread worker([&] {
        clearUpperVectorState();
        std::vector<quint32> scratch(size_t(feeder.crop().width()));
        for (;;) {
            int i;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return !full.empty() || done; });
                if (full.empty())
                    return;
                i = full.front();
                full.pop_front();
            }
            const Band& b = bands[size_t(i)];
            for (int k = 0; k < b.count; ++k)
                feeder.feed(b.y + k, b.pixels.get() + size_t(k) * size_t(width), scratch.data());
            {
                std::lock_guard lock(mutex);
                empty.push_back(i);
            }
            changed.notify_all();
        }
    });
    auto stop = [&] {
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        changed.notify_all();
        worker.join();
    };

    try {
        clearUpperVectorState();
        int y = 0;
        while (y <= lastRow) {
            int i;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return !empty.empty(); });
                i = empty.front();
                empty.pop_front();
            }
            Band& b = bands[size_t(i)];
            b.y = y;
            b.count = rows.readRows(b.pixels.get(), std::min(kBand, lastRow + 1 - y));
            if (b.count == 0)
                break;
            y += b.count;
            {
                std::lock_guard lock(mutex);
                full.push_back(i);
            }
            changed.notify_all();
        }
    } catch (...) {
        stop();
        throw;
    }
    stop();
}

} // namespace

bool convertPictureFile(const QString& path, const ConversionSettings& settings, PatternDocument& doc,
                        GhostPicture& ghost, const std::function<void(const GhostPicture&)>& ghostReady,
                        const DitherProgress& progress)
{
    std::optional<PictureRows> rows;
    rows.emplace(path);
    const ConversionCatalogue c = conversionCatalogue(doc.stitch(), settings);

    const QRect whole(QPoint(0, 0), rows->size());
    const QRect crop = roundedSelection(settings.crop.isNull() ? QRectF(whole) : settings.crop).intersected(whole);
    if (crop.width() < 1 || crop.height() < 1)
        throwEmptySelection();

    const QSize ghostSize = conversionGhostSize(crop.size());
    ConversionResult r;
    GhostPicture made;
    for (bool again = true; again;) {
        again = false;
        // Decoded rows arrive from the top on one thread: each output row is then made as soon
        // as its source rows are in, and only a band of rows is kept.
        const bool inOrder = rows->whole().isNull();
        StreamResampler design(crop.size(), conversionDesignSize(crop.size(), settings.size), inOrder);
        StreamResampler ghostPass(crop.size(), ghostSize, inOrder);
        const CropFeeder feeder(crop, settings, design, ghostPass);
        try {
            if (rows->whole().isNull())
                feedDecoded(*rows, feeder);
            else
                feedWhole(rows->whole(), feeder);
        } catch (const PictureRows::Failed&) {
            // Read the picture whole instead: that reader reports what is wrong with it, or
            // reads what the band decoder could not.
            const QImage picture = loadPicture(path);
            rows.reset();
            rows.emplace(picture);
            again = true;
            continue;
        }
        r.resized = design.finish();
        made.ghostPicture = ghostPass.finish();
    }
    rows.reset();
    // A whole copy of the adjusted crop is stretched with the resampler, a reduced one pixel
    // by pixel, as the wizard's result leaves it.
    made.resample = ghostSize == crop.size();
    if (ghostReady)
        ghostReady(made);

    if (!finishConversion(c, settings, doc, r, progress))
        return false;
    ghost = std::move(made);
    return true;
}
