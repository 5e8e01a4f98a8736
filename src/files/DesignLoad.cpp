#include "DesignLoad.h"

#include "DesignFile.h"
#include "core/LargeMemory.h"
#include "core/PatternDocument.h"
#include "core/QuillError.h"
#include "core/SymbolFont.h"
#include "core/TextCodec.h"

#include <QDir>

namespace {

const QString kSymbolFont = QStringLiteral("KorvaldArtSymbols110");

// Both rasters of a w x h design, cleared to the background; allocated before anything of the
// open design changes, so that a design too large for memory leaves it as it was.
struct Rasters
{
    QImage cross;
    QImage quarters;
};

Rasters newRasters(int width, int height, TColor32 background, const QString& filename)
{
    Rasters r{newLargeImage(width, height, QImage::Format_ARGB32),
              newLargeImage(2 * width, 2 * height, QImage::Format_ARGB32)};
    if (r.cross.isNull() || r.quarters.isNull())
        throw QuillError(QStringLiteral("Cannot open the design file \"%1\": not enough memory for "
                                        "a design of %2 x %3 cells."),
                         {QDir::toNativeSeparators(filename), QString::number(width), QString::number(height)});
    r.cross.fill(background);
    r.quarters.fill(background);
    return r;
}

// Writes the thread pixel of every index that names a colour of `keys`; -1 and unknown
// indexes leave the (background) cell as it is.
void paintIndexes(QImage& raster, const QList<qint16>& indexes, const QList<TColor32>& pixels)
{
    const int w = raster.width();
    for (int y = 0; y < raster.height(); ++y) {
        TColor32* row = reinterpret_cast<TColor32*>(raster.scanLine(y));
        const qint16* idx = indexes.constData() + qsizetype(y) * w;
        for (int x = 0; x < w; ++x) {
            const int i = idx[x];
            if (i >= 0 && i < pixels.size())
                row[x] = pixels[i];
        }
    }
}

// The character set a design gets when the one it names is not in the catalogue: the default
// set, or the set with the smallest name when even that is missing.
TCharacterInfo availableSet(const TStitch& st, const QString& name)
{
    if (const TCharacterInfo* set = st.characters.find(name))
        return *set;
    if (const TCharacterInfo* set = st.characters.find(st.defaultCharacters))
        return *set;
    return st.characters.value(smallestName(st.characters));
}

// Drops the old design's table, glyphs, lists, title and comment and installs the new rasters.
void replaceDesign(PatternDocument& doc, Rasters&& rasters)
{
    TStitch& st = doc.stitch();
    st.chars.Destroy();
    st.Colors.clear();
    doc.ColorSymbolsList.clear();
    doc.DesignBackStitches.clear();
    doc.DesignFrenchKnots.clear();
    doc.DesignRhodes.clear();
    st.Title = st.DefaultTitle;
    st.comment.clear();
    doc.CrossCells = std::move(rasters.cross);
    doc.QuarterCells = std::move(rasters.quarters);
}

void finishOpening(PatternDocument& doc, const QString& filename)
{
    TStitch& st = doc.stitch();
    st.fileMode = fmOpen;
    st.OpenFile(nativeDesignFileName(filename));
    emit doc.designReset(); // covers the stitch lists too
}

} // namespace

bool isLegacySymbolFontName(const QString& fontName)
{
    for (const char* name : {"KorvaldStitchSymbols", "KorvaldArtSymbols110", "KorvaldArtSymbols"}) {
        if (fontName.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool symbolFontAvailable(const QString& fontName)
{
    if (fontName.isEmpty())
        return false;
    const QRawFont font = symbolRawFont(fontName, 12);
    return font.isValid() && font.familyName().compare(fontName, Qt::CaseInsensitive) == 0;
}

void applyQVX(PatternDocument& doc, const TQVXFile& f, const QString& filename)
{
    TStitch& st = doc.stitch();
    const TColor32 background = keyToBackground(f.bg);
    Rasters rasters = newRasters(int(f.width), int(f.height), background, filename);

    QList<TColor32> pixels;
    pixels.reserve(f.Colors.size());
    for (const TColorInfo& e : f.Colors)
        pixels.append(keyToPixel(e.matchColor));
    paintIndexes(rasters.cross, f.Pixels, pixels);
    if (f.QuarterStitchesPixels.size() == qsizetype(rasters.quarters.width()) * rasters.quarters.height())
        paintIndexes(rasters.quarters, f.QuarterStitchesPixels, pixels);

    // The colour table: the first entry of a colour wins, unless it has no symbol and a later
    // one has.
    ColorTable table;
    ColorKey draw = 0x00FFFFFFu;
    bool drawSet = false;
    for (const TColorInfo& e : f.Colors) {
        const ColorKey c = e.matchColor;
        if (TColorInfo* old = table.find(c)) {
            if (e.charID != -1 && old->charID == -1)
                *old = e;
            continue;
        }
        table.insert(c, e);
        if (!drawSet) {
            draw = c;
            drawSet = true;
        }
    }
    // The palette's other colours join the table; a palette that is not installed is made
    // from the design's colours for the rest of the run.
    const ColorTable* palette = st.ColorPalettes.find(f.colorsname);
    const bool newPalette = palette == nullptr;
    const ColorTable paletteCopy = table;
    if (palette) {
        for (const auto& [key, info] : *palette) {
            if (!table.contains(key))
                table.insert(key, info);
        }
    }

    QString setName = f.CharsName;
    if (setName.compare(QLatin1String("Standard Art Symbole"), Qt::CaseInsensitive) == 0
        || setName.compare(QLatin1String("Standard Symbole"), Qt::CaseInsensitive) == 0)
        setName = st.defaultCharacters;
    const TCharacterInfo set = availableSet(st, setName);

    QString font = isLegacySymbolFontName(f.fontname) ? kSymbolFont : f.fontname;
    if (!symbolFontAvailable(font))
        font = set.fontName;

    // From here on nothing can fail: the old design is replaced.
    replaceDesign(doc, std::move(rasters));
    doc.DesignBackStitches = f.BackStitches;
    doc.DesignFrenchKnots = f.frenchKnots;
    for (const TRhode& r : f.Rhodes)
        doc.DesignRhodes.push_back(r.Clone());
    st.BackGroundColor = background;
    st.Colors = table;
    st.setDrawcolor(draw);
    if (newPalette)
        st.ColorPalettes.insert(f.colorsname, paletteCopy);
    st.chars.Create(set.characters);
    st.setColorsname(f.colorsname);
    doc.setSymbolFont(font);
    st.len = 0.01;
    st.backlen = 0.01;
    st.baseLen = 0;
    st.chars.CharsName = f.CharsName;
    st.chars.ffontcharset = quint8(f.fontCharset);
    if (f.hasTitle) {
        st.Title = f.title;
        st.comment = f.commentLines;
    }
    doc.CalcColorUsage();
    if (!doc.ColorSymbolsList.isEmpty())
        st.setDrawcolor(doc.ColorSymbolsList.first().Color);
    finishOpening(doc, filename);
}

void applySTV(PatternDocument& doc, const TSTVFile& f, const QString& filename)
{
    TStitch& st = doc.stitch();
    const TColor32 background = keyToBackground(f.backcolor);
    Rasters rasters = newRasters(f.imagewidth, f.imageheight, background, filename);
    if (!f.Pixels.isEmpty()) {
        QList<TColor32> pixels(256, background);
        QList<bool> known(256, false);
        for (auto it = f.Colors.cbegin(); it != f.Colors.cend(); ++it) {
            if (it.key() < 256) {
                pixels[it.key()] = keyToPixel(it->aRgbColor);
                known[it.key()] = true;
            }
        }
        const uchar* idx = reinterpret_cast<const uchar*>(f.Pixels.constData());
        for (int y = 0; y < f.imageheight; ++y) {
            TColor32* row = reinterpret_cast<TColor32*>(rasters.cross.scanLine(y));
            for (int x = 0; x < f.imagewidth; ++x, ++idx) {
                if (known[*idx])
                    row[x] = pixels[*idx];
            }
        }
    }

    ColorTable table;
    ColorKey draw = 0;
    bool first = true;
    for (const TPixelInfo& p : f.Colors) {
        if (first) {
            draw = p.aRgbColor;
            first = false;
        }
        if (table.contains(p.aRgbColor))
            continue;
        TColorInfo e;
        e.matchColor = p.aRgbColor;
        e.charID = qint32(f.characters.indexOf(cp1252Char(p.aChar)) + 1);
        e.orderID = qint32(table.size());
        table.insert(p.aRgbColor, e);
    }
    const TCharacterInfo set = availableSet(st, st.defaultCharacters);
    QString font = isLegacySymbolFontName(f.fontname) ? kSymbolFont : f.fontname;
    if (!symbolFontAvailable(font))
        font = set.fontName;

    replaceDesign(doc, std::move(rasters));
    st.BackGroundColor = background;
    st.setColorsname(f.colortablename);
    st.Colors = table;
    st.setDrawcolor(draw);
    if (!st.ColorPalettes.contains(f.colortablename))
        st.ColorPalettes.insert(f.colortablename, table);
    st.chars.Create(set.characters);
    st.chars.CharsName = set.Name;
    st.chars.ffontcharset = quint8(set.fontCharset);
    doc.setSymbolFont(font);
    doc.CalcColorUsage();
    finishOpening(doc, filename);
}

void LoadQVX(PatternDocument& doc, const QString& filename)
{
    TQVXFile file;
    ReadQVX(file, filename);
    applyQVX(doc, file, filename);
}

void ReadSTV(PatternDocument& doc, const QString& filename)
{
    TSTVFile file;
    readSTVFile(file, filename);
    applySTV(doc, file, filename);
}
