#include "PatternDocument.h"

#include "LargeMemory.h"
#include "PixelIndex.h"
#include "UseCounts.h"
#include "Product.h"
#include "QuillError.h"

#include <QRect>
#include <algorithm>
#include <cmath>

namespace {

// Counts the thread pixels of a raster per colour-table index; returns the number of thread
// pixels whose colour is missing from the table.
qint64 countRaster(const QImage& raster, TColor32 background, const PixelIndex& index,
                   std::vector<qint64>& counts)
{
    qint64 missing = 0;
    TColor32 last = background;
    int lastIndex = -1;
    const int width = raster.width(), height = raster.height();
    for (int y = 0; y < height; ++y) {
        const TColor32* row = reinterpret_cast<const TColor32*>(raster.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const TColor32 raw = row[x];
            if (raw == background)
                continue;
            if (raw != last || lastIndex < 0) {
                last = raw;
                lastIndex = index.find(pixelToKey(raw));
            }
            if (lastIndex >= 0)
                ++counts[size_t(lastIndex)];
            else
                ++missing;
        }
    }
    return missing;
}

int compareNumberTexts(const QString& l, const QString& r)
{
    bool okL = false, okR = false;
    const qint32 a = l.toInt(&okL);
    const qint32 b = r.toInt(&okR);
    if (okL && okR)
        return a < b ? -1 : (a > b ? 1 : 0);
    return QString::compare(l, r, Qt::CaseSensitive);
}

} // namespace

PatternDocument::PatternDocument(TStitch& stitch, QObject* parent)
    : QObject(parent), m_stitch(stitch)
{
    CrossCells = QImage(0, 0, QImage::Format_ARGB32);
    QuarterCells = QImage(0, 0, QImage::Format_ARGB32);
}

PatternDocument::~PatternDocument() = default;

// ---------------------------------------------------------------------------------------------
// Use counts

void PatternDocument::changeUse(ColorKey c, TColorInfo& e, qint32 delta, bool /*refresh*/,
                                bool resort)
{
    changeColorUse(*this, c, e, delta, resort);
}

bool PatternDocument::drawableColor(quint32 newColor, TColorInfo*& target)
{
    target = nullptr;
    if (newColor == m_stitch.BackGroundColor)
        return true; // emptying
    // Only colours of the design's palette can be drawn.
    target = m_stitch.Colors.find(newColor);
    return target != nullptr;
}

void PatternDocument::updatePixel(int x, int y, quint32 newColor, bool refresh)
{
    if (x < 0 || y < 0 || x >= CrossCells.width() || y >= CrossCells.height())
        return;
    const TColor32 bg = m_stitch.BackGroundColor;
    TColorInfo* target = nullptr;
    if (!drawableColor(newColor, target))
        return;
    // One colour may leave the list and another join it: one notice for both.
    NotifyBatch batch(*this);
    TColor32* pixel = reinterpret_cast<TColor32*>(CrossCells.scanLine(y)) + x;
    if (*pixel != bg) {
        const ColorKey old = pixelToKey(*pixel);
        if (TColorInfo* e = m_stitch.Colors.find(old))
            changeUse(old, *e, -1, refresh, refresh);
    }
    if (!target) {
        *pixel = bg;
    } else {
        *pixel = keyToPixel(newColor);
        changeUse(newColor, *target, +1, refresh, refresh);
    }
    if (refresh) {
        emit cellsChanged(QRect(x, y, 1, 1));
        notifyColorUsage();
    }
}

void PatternDocument::updateQPixel(int x, int y, quint32 newColor, bool refresh)
{
    if (x < 0 || y < 0 || x >= QuarterCells.width() || y >= QuarterCells.height())
        return;
    const TColor32 bg = m_stitch.BackGroundColor;
    TColorInfo* target = nullptr;
    if (!drawableColor(newColor, target))
        return;
    NotifyBatch batch(*this);
    TColor32* pixel = reinterpret_cast<TColor32*>(QuarterCells.scanLine(y)) + x;
    if (*pixel != bg) {
        const ColorKey old = pixelToKey(*pixel);
        if (TColorInfo* e = m_stitch.Colors.find(old)) {
            const qint32 n = e->quarterStitchesCount;
            e->quarterStitchesCount = n - 1;
            if (n % 2 != 0)
                changeUse(old, *e, -1, refresh, refresh);
        }
    }
    if (!target) {
        *pixel = bg;
    } else {
        *pixel = keyToPixel(newColor);
        const qint32 n = target->quarterStitchesCount;
        target->quarterStitchesCount = n + 1;
        if (n % 2 == 0)
            changeUse(newColor, *target, +1, refresh, refresh);
    }
    if (refresh) {
        emit quartersChanged(QRect(x, y, 1, 1));
        notifyColorUsage();
    }
}

void PatternDocument::changeStitchUse(const TBackStitch& b, int sign, bool refresh)
{
    TColorInfo* e = m_stitch.Colors.find(b.Color);
    if (!e)
        return;
    const qint32 d = stitchLength(b) * sign;
    e->backStitchesCount += d;
    changeUse(b.Color, *e, d, refresh, true);
}

void PatternDocument::changeRhodeUse(const TRhode& r, int sign, bool refresh)
{
    for (const TBackStitch& s : r.stitches) {
        TBackStitch b = s;
        b.Color = r.color;
        changeStitchUse(b, sign, refresh);
    }
}

void PatternDocument::notifyStitches(bool refresh)
{
    if (refresh) {
        if (m_batchDepth > 0)
            m_stitchesDue = true;
        else
            emit stitchesChanged();
        notifyColorUsage();
    }
}

void PatternDocument::backStitchesAdd(const TBackStitch& b, bool refresh)
{
    backStitchesInsert(int(DesignBackStitches.size()), b, refresh);
}

void PatternDocument::backStitchesInsert(int index, const TBackStitch& b, bool refresh)
{
    changeStitchUse(b, +1, refresh);
    DesignBackStitches.insert(qBound(0, index, int(DesignBackStitches.size())), b);
    notifyStitches(refresh);
}

void PatternDocument::backStitchesDelete(int index, bool refresh)
{
    if (index < 0 || index >= DesignBackStitches.size())
        return;
    changeStitchUse(DesignBackStitches.at(index), -1, refresh);
    DesignBackStitches.removeAt(index);
    notifyStitches(refresh);
}

void PatternDocument::frenchKnotAdd(const TFrenchKnot& k, bool refresh)
{
    frenchKnotInsert(int(DesignFrenchKnots.size()), k, refresh);
}

void PatternDocument::frenchKnotInsert(int index, const TFrenchKnot& k, bool refresh)
{
    if (TColorInfo* e = m_stitch.Colors.find(k.Color))
        changeUse(k.Color, *e, 5, refresh, true);
    DesignFrenchKnots.insert(qBound(0, index, int(DesignFrenchKnots.size())), k);
    notifyStitches(refresh);
}

void PatternDocument::frenchKnotDelete(int index, bool refresh)
{
    if (index < 0 || index >= DesignFrenchKnots.size())
        return;
    const TFrenchKnot k = DesignFrenchKnots.at(index);
    if (TColorInfo* e = m_stitch.Colors.find(k.Color))
        changeUse(k.Color, *e, -5, refresh, true);
    DesignFrenchKnots.removeAt(index);
    notifyStitches(refresh);
}

void PatternDocument::RhodeAdd(std::unique_ptr<TRhode> r, bool refresh)
{
    RhodeInsert(int(DesignRhodes.size()), std::move(r), refresh);
}

void PatternDocument::RhodeInsert(int index, std::unique_ptr<TRhode> r, bool refresh)
{
    if (!r)
        return;
    changeRhodeUse(*r, +1, refresh);
    const auto pos = DesignRhodes.begin() + qBound(0, index, int(DesignRhodes.size()));
    DesignRhodes.insert(pos, std::move(r));
    notifyStitches(refresh);
}

void PatternDocument::RhodeDelete(int index, bool refresh)
{
    if (index < 0 || index >= int(DesignRhodes.size()))
        return;
    changeRhodeUse(*DesignRhodes[size_t(index)], -1, refresh);
    DesignRhodes.erase(DesignRhodes.begin() + index);
    notifyStitches(refresh);
}

void PatternDocument::backStitchesRecolor(int index, ColorKey color, bool refresh)
{
    if (index < 0 || index >= DesignBackStitches.size() || !m_stitch.Colors.contains(color))
        return;
    TBackStitch& b = DesignBackStitches[index];
    if (b.Color == color)
        return;
    NotifyBatch batch(*this);
    changeStitchUse(b, -1, refresh);
    b.Color = color;
    changeStitchUse(b, +1, refresh);
    notifyStitches(refresh);
}

void PatternDocument::refreshAll()
{
    notifyDesignReset();
}

void PatternDocument::beginNotifyBatch()
{
    ++m_batchDepth;
}

void PatternDocument::endNotifyBatch()
{
    if (m_batchDepth <= 0 || --m_batchDepth > 0)
        return;
    const bool stitches = m_stitchesDue, list = m_colorListDue, usage = m_colorUsageDue;
    m_stitchesDue = m_colorListDue = m_colorUsageDue = false;
    if (stitches)
        emit stitchesChanged();
    if (list)
        emit colorListChanged();
    if (usage)
        emit colorUsageChanged();
}

void PatternDocument::notifyColorList()
{
    if (m_batchDepth > 0)
        m_colorListDue = true;
    else
        emit colorListChanged();
}

void PatternDocument::notifyColorUsage()
{
    if (m_batchDepth > 0)
        m_colorUsageDue = true;
    else
        emit colorUsageChanged();
}

void PatternDocument::notifyDesignReset()
{
    m_stitchesDue = m_colorListDue = m_colorUsageDue = false;
    emit designReset();
}

// ---------------------------------------------------------------------------------------------
// Glyphs and the colour list

TColorSymbols PatternDocument::symbolsEntry(ColorKey c, bool withGlyph) const
{
    TColorSymbols s;
    s.Color = c;
    if (const TColorInfo* e = m_stitch.Colors.find(c))
        s.Symbol = m_stitch.chars.symbolAt(e->charID);
    if (withGlyph) {
        s.SymbolBitmap = m_stitch.chars.glyph(9, c);
        s.hasBitmap = !s.SymbolBitmap.isNull();
    }
    return s;
}

int PatternDocument::colorSymbolsIndexOf(ColorKey c) const
{
    for (int i = 0; i < ColorSymbolsList.size(); ++i) {
        if (ColorSymbolsList[i].Color == c)
            return i;
    }
    return -1;
}

void PatternDocument::colorAdded(ColorKey c)
{
    TCharacters& chars = m_stitch.chars;
    if (const TColorInfo* e = m_stitch.Colors.find(c)) {
        for (int s : TCharacters::kGlyphSizes) {
            // A glyph still in its slot is the same picture: rendering it again would only
            // cost time during a full recount.
            if (!chars.hasGlyph(s, c))
                chars.setGlyph(s, c, chars.CharToBitmap(c, *e, s));
        }
    }
    const TColorSymbols entry = symbolsEntry(c, true);
    if (m_allColorsView) {
        for (TColorSymbols& s : ColorSymbolsList) {
            if (s.Color == c)
                s = entry;
        }
    } else if (colorSymbolsIndexOf(c) < 0) {
        ColorSymbolsList.append(entry);
    }
    notifyColorList();
}

void PatternDocument::colorRemoved(ColorKey c, bool resort)
{
    NotifyBatch batch(*this); // the re-sort and the removal make one notice
    for (int s : TCharacters::kGlyphSizes)
        m_stitch.chars.clearGlyph(s, c);
    const int i = colorSymbolsIndexOf(c);
    if (i >= 0) {
        if (m_allColorsView) {
            ColorSymbolsList[i].SymbolBitmap = QImage();
            ColorSymbolsList[i].hasBitmap = false;
        } else {
            ColorSymbolsList.removeAt(i);
        }
    }
    if (resort)
        sortColorSymbols();
    notifyColorList();
}

void PatternDocument::rebuildColorSymbols()
{
    NotifyBatch batch(*this);
    ColorSymbolsList.clear();
    for (ColorKey c : m_stitch.chars.slotColors()) {
        const bool used = m_stitch.chars.hasGlyph(9, c);
        if (m_allColorsView || used)
            ColorSymbolsList.append(symbolsEntry(c, true));
    }
    sortColorSymbols();
    notifyColorList();
    notifyColorUsage();
}

void PatternDocument::setAllColorsView(bool all)
{
    if (m_allColorsView == all)
        return;
    m_allColorsView = all;
    rebuildColorSymbols();
}

void PatternDocument::setColorSortMode(ColorSort mode)
{
    m_sortMode = mode;
    sortColorSymbols();
}

int PatternDocument::compareColors(const TColorInfo& l, const TColorInfo& r, ColorSort mode)
{
    switch (mode) {
    case csName:
        return QString::compare(l.colorName, r.colorName, Qt::CaseSensitive);
    case csNumber:
        return compareNumberTexts(l.colorID, r.colorID);
    case csUsage:
        if (l.colorCount != r.colorCount)
            return r.colorCount < l.colorCount ? -1 : 1;
        [[fallthrough]];
    case csPalette:
    default:
        return l.orderID < r.orderID ? -1 : (l.orderID > r.orderID ? 1 : 0);
    }
}

void PatternDocument::sortColorSymbols()
{
    const ColorTable& table = m_stitch.Colors;
    const TColorInfo none;
    // Stable, so equal entries keep their order and a mixed "by number" order (numbers and
    // texts) cannot upset the sort.
    std::stable_sort(ColorSymbolsList.begin(), ColorSymbolsList.end(),
                     [&](const TColorSymbols& a, const TColorSymbols& b) {
                         const TColorInfo* l = table.find(a.Color);
                         const TColorInfo* r = table.find(b.Color);
                         return compareColors(l ? *l : none, r ? *r : none, m_sortMode) < 0;
                     });
    notifyColorList();
}

void PatternDocument::setSymbolFont(const QString& fontName)
{
    m_stitch.chars.setFontName(fontName, m_stitch.Colors);
    NotifyBatch batch(*this);
    rebuildColorSymbols();
    notifyDesignReset();
}

// ---------------------------------------------------------------------------------------------
// Full recount

void PatternDocument::CalcColorUsage()
{
    // Every colour that becomes used or unused changes the list: one notice at the end, and
    // the message only once the observers have the new list.
    qint64 missing = 0;
    {
        NotifyBatch batch(*this);
        missing = recount();
    }
    if (missing > 0)
        emit message(QStringLiteral("!"));
}

qint64 PatternDocument::recount()
{
    ColorTable& table = m_stitch.Colors;
    TCharacters& chars = m_stitch.chars;
    m_stitch.setUsedColors(0);
    chars.clearCharsused();
    for (auto& [key, e] : table) {
        e.colorCount = 0;
        e.quarterStitchesCount = 0;
        e.backStitchesCount = 0;
    }

    const PixelIndex index(table);
    const TColor32 bg = m_stitch.BackGroundColor;
    std::vector<qint64> cells(size_t(table.size()), 0), quarters(size_t(table.size()), 0);
    const qint64 missing = countRaster(CrossCells, bg, index, cells);
    countRaster(QuarterCells, bg, index, quarters);
    for (int i = 0; i < table.size(); ++i) {
        TColorInfo& e = table.at(i).second;
        e.colorCount = qint32(cells[size_t(i)] + (quarters[size_t(i)] + 1) / 2);
        e.quarterStitchesCount = qint32(quarters[size_t(i)]);
    }

    for (const TBackStitch& b : DesignBackStitches) {
        if (TColorInfo* e = table.find(b.Color)) {
            const qint32 d = stitchLength(b);
            e->colorCount += d;
            e->backStitchesCount += d;
        }
    }
    for (const TFrenchKnot& k : DesignFrenchKnots) {
        if (TColorInfo* e = table.find(k.Color))
            e->colorCount += 5;
    }
    for (const auto& r : DesignRhodes) {
        if (TColorInfo* e = table.find(r->color)) {
            for (const TBackStitch& s : r->stitches) {
                const qint32 d = stitchLength(s);
                e->colorCount += d;
                e->backStitchesCount += d;
            }
        }
    }

    int used = 0;
    for (const auto& [key, e] : table) {
        if (e.colorCount >= 1) {
            if (e.charID >= 0 && e.charID < chars.CharsUsed.size())
                chars.CharsUsed[e.charID] = 1;
            colorAdded(key);
            ++used;
        } else if (chars.hasGlyph(9, key) || colorSymbolsIndexOf(key) >= 0) {
            // A colour that the bulk change left unused loses its glyph and, in the
            // used-colours view, its row.
            if (chars.hasGlyph(9, key) || !m_allColorsView)
                colorRemoved(key, false);
        }
    }
    m_stitch.setUsedColors(used);
    sortColorSymbols();
    notifyColorUsage();
    return missing;
}

// ---------------------------------------------------------------------------------------------
// New design, cell size, background and character set

QSize PatternDocument::cellSizeFor(int zoom, bool knitting)
{
    if (!knitting)
        return QSize(zoom, zoom);
    return QSize(Rnd(zoom * 1.0), Rnd(zoom * 0.7));
}

QSize PatternDocument::SetCellWidthAndHeight(int value)
{
    cellSize = cellSizeFor(value, KnittingMode);
    return cellSize;
}

void PatternDocument::CreateNewTemplate(int width, int height, const QString& characters,
                                        const QString& palette)
{
    TStitch& st = m_stitch;
    // Both rasters first: a design the memory cannot hold is refused before anything of the
    // current one is dropped.
    const int w = qMax(0, width), h = qMax(0, height);
    QImage cross = newLargeImage(w, h, QImage::Format_ARGB32);
    QImage quarters = newLargeImage(2 * w, 2 * h, QImage::Format_ARGB32);
    if (w > 0 && h > 0 && (cross.isNull() || quarters.isNull()))
        throw QuillError(QStringLiteral("There is not enough memory for a design of this size."));

    st.BackGroundColor = 0xFFFFFFFFu;
    st.fileMode = fmNew;

    st.chars.Destroy();
    st.Colors.clear();
    ColorSymbolsList.clear();
    st.Title = st.DefaultTitle;
    st.comment.clear();
    DesignBackStitches.clear();
    DesignFrenchKnots.clear();
    DesignRhodes.clear();

    QString paletteName = palette;
    if (!st.ColorPalettes.contains(paletteName))
        paletteName = smallestName(st.ColorPalettes);
    bool first = true;
    if (const ColorTable* p = st.ColorPalettes.find(paletteName)) {
        for (const auto& [key, info] : *p) {
            st.Colors.insert(key, info);
            if (first) {
                st.setDrawcolor(key);
                first = false;
            }
        }
    }
    st.setColorsname(paletteName);

    st.setUsedColors(0);
    CrossCells = std::move(cross);
    QuarterCells = std::move(quarters);

    QString setName = characters;
    if (!st.characters.contains(setName))
        setName = smallestName(st.characters);
    const TCharacterInfo set = st.characters.value(setName);
    st.chars.Create(set.characters);
    st.chars.CharsName = set.Name;
    st.chars.setFontName(set.fontName, st.Colors);
    rebuildColorSymbols();
    st.chars.ffontcharset = quint8(set.fontCharset);

    CrossCells.fill(st.BackGroundColor);
    QuarterCells.fill(st.BackGroundColor);

    st.setFilename(st.translate(QStringLiteral("New file")) + Product::kNativeExtension);
    st.FileNameAssigned = false;
    st.setFileSaved(true);

    if (!ColorSymbolsList.isEmpty())
        st.setDrawcolor(ColorSymbolsList.first().Color);
    emit designReset();
    emit colorUsageChanged();
}

TBackgroundChange PatternDocument::changeBackgroundColor(ColorKey c)
{
    TBackgroundChange change;
    const TColor32 newBg = keyToBackground(c);
    const TColor32 oldBg = m_stitch.BackGroundColor;
    change.oldColor = oldBg;
    change.newColor = newBg;
    if (newBg == oldBg)
        return change;
    auto replace = [&](QImage& raster, QList<QPoint>& points) {
        for (int y = 0; y < raster.height(); ++y) {
            TColor32* row = reinterpret_cast<TColor32*>(raster.scanLine(y));
            for (int x = 0; x < raster.width(); ++x) {
                if (row[x] == oldBg) {
                    points.append(QPoint(x, y));
                    row[x] = newBg;
                }
            }
        }
    };
    replace(CrossCells, change.crossPoints);
    replace(QuarterCells, change.quarterPoints);
    m_stitch.BackGroundColor = newBg;
    change.changed = true;
    notifyDesignReset();
    return change;
}

bool PatternDocument::changeCharacters(const QString& name)
{
    const TCharacterInfo* ci = m_stitch.characters.find(name);
    if (!ci)
        return false;
    TCharacters& chars = m_stitch.chars;
    chars.fcharacters = ci->characters;
    chars.CharsName = ci->Name;
    chars.CharsUsed.resize(ci->characters.size(), 0);
    setSymbolFont(ci->fontName);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Invariant check

QString PatternDocument::checkInvariant() const
{
    const ColorTable& table = m_stitch.Colors;
    const TColor32 bg = m_stitch.BackGroundColor;
    const PixelIndex index(table);
    std::vector<qint64> cells(size_t(table.size()), 0), quarters(size_t(table.size()), 0);
    countRaster(CrossCells, bg, index, cells);
    countRaster(QuarterCells, bg, index, quarters);
    std::vector<qint64> lengths(size_t(table.size()), 0), knots(size_t(table.size()), 0);
    for (const TBackStitch& b : DesignBackStitches) {
        const int i = table.indexOf(b.Color);
        if (i >= 0)
            lengths[size_t(i)] += stitchLength(b);
    }
    for (const auto& r : DesignRhodes) {
        const int i = table.indexOf(r->color);
        if (i >= 0) {
            for (const TBackStitch& s : r->stitches)
                lengths[size_t(i)] += stitchLength(s);
        }
    }
    for (const TFrenchKnot& k : DesignFrenchKnots) {
        const int i = table.indexOf(k.Color);
        if (i >= 0)
            ++knots[size_t(i)];
    }
    int used = 0;
    for (int i = 0; i < table.size(); ++i) {
        const auto& [key, e] = table.at(i);
        const size_t n = size_t(i);
        const qint64 count = cells[n] + (quarters[n] + 1) / 2 + lengths[n] + 5 * knots[n];
        const QString name = QStringLiteral("colour %1 (%2)").arg(e.colorID).arg(key, 6, 16, QLatin1Char('0'));
        if (e.quarterStitchesCount != quarters[n])
            return name + QStringLiteral(": quarter count %1, expected %2").arg(e.quarterStitchesCount).arg(quarters[n]);
        if (e.backStitchesCount != lengths[n])
            return name + QStringLiteral(": back-stitch count %1, expected %2").arg(e.backStitchesCount).arg(lengths[n]);
        if (e.colorCount != count)
            return name + QStringLiteral(": count %1, expected %2").arg(e.colorCount).arg(count);
        const bool isUsed = count >= 1;
        used += isUsed ? 1 : 0;
        if (isUsed && (e.charID < 0 || e.charID >= m_stitch.chars.CharsUsed.size()
                       || m_stitch.chars.CharsUsed[e.charID] != 1))
            return name + QStringLiteral(": symbol position not marked used");
        for (int s : TCharacters::kGlyphSizes) {
            if (!m_stitch.chars.hasSlot(s, key))
                return name + QStringLiteral(": no glyph slot of size %1").arg(s);
            if (m_stitch.chars.hasGlyph(s, key) != isUsed)
                return name + QStringLiteral(": glyph of size %1 %2").arg(s).arg(isUsed ? "missing" : "left over");
        }
        const int row = colorSymbolsIndexOf(key);
        if (isUsed && row < 0)
            return name + QStringLiteral(": no row in the colour list");
        if (!isUsed && !m_allColorsView && row >= 0)
            return name + QStringLiteral(": unused colour still listed");
        if (m_allColorsView && row < 0)
            return name + QStringLiteral(": missing from the all-colours list");
    }
    if (used != m_stitch.fUsedColors)
        return QStringLiteral("usedColors %1, expected %2").arg(m_stitch.fUsedColors).arg(used);
    return {};
}
