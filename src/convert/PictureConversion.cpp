#include "PictureConversion.h"

#include "core/PatternDocument.h"
#include "Resampler.h"

#include "core/QuillError.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>

// ---------------------------------------------------------------------------------------------
// Loading

QImage loadPicture(const QString& path)
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

bool convertPicture(const QImage& source, const ConversionSettings& settings, PatternDocument& doc,
                    ConversionResult* result, const DitherProgress& progress)
{
    TStitch& st = doc.stitch();
    const QString paletteName = settings.palette.isEmpty() ? st.defaultPalette : settings.palette;
    const ColorTable* palette = st.ColorPalettes.find(paletteName);
    if (!palette)
        throw QuillError(QStringLiteral("The palette \"%1\" is not in the catalogue."),
                         {paletteName});
    if (palette->isEmpty())
        throw QuillError(QStringLiteral("The palette \"%1\" has no colours."),
                         {paletteName});
    const QString setName = settings.characters.isEmpty() ? st.defaultCharacters : settings.characters;
    const TCharacterInfo* set = st.characters.find(setName);
    if (!set)
        throw QuillError(QStringLiteral("The character set \"%1\" is not in the catalogue."),
                         {setName});
    if (set->characters.isEmpty())
        throw QuillError(QStringLiteral("The character set \"%1\" has no symbols."),
                         {setName});

    // Steps 1 and 2: crop, brightness and contrast.
    const QRectF selection = settings.crop.isNull() ? QRectF(source.rect()) : settings.crop;
    const QImage crop = cropPicture(source, selection);
    if (crop.isNull() || crop.width() < 1 || crop.height() < 1)
        throw QuillError(QStringLiteral("The selected part of the picture is empty."));
    ConversionResult r;
    r.adjusted = adjustBrightnessContrast(crop, std::clamp(settings.brightness, -255, 255),
                                          std::clamp(settings.contrast, 0, 255));

    // Step 3: the size field runs from 2 to the larger side of the crop (at most 32767).
    const int larger = std::min(std::max(r.adjusted.width(), r.adjusted.height()), 32767);
    const int n = std::clamp(settings.size, std::min(2, larger), larger);
    QSize size = fitSize(r.adjusted.size(), n);
    size = size.expandedTo(QSize(1, 1)); // a very thin crop keeps one cell across
    r.resized = resampled(r.adjusted, size);

    // Step 4: colours.
    const KeyRaster resized = KeyRaster::fromImage(r.resized);
    PictureColorMapper mapper;
    QList<double> deltas;
    if (!mapPictureColors(resized, *palette, int(set->characters.size()), settings, st.maxColors,
                          deltas, mapper, r.final, progress))
        return false;
    r.reduced = mapper.ReducedColors;
    r.maxAvailableColors = mapper.MaxAvailableColors;
    r.colorsCount = mapper.ColorsCount;

    buildConvertedDesign(doc, paletteName, *palette, setName, r.reduced, r.final, settings.emptyDesign,
                         settings.sourcePath);
    if (result)
        *result = std::move(r);
    return true;
}
