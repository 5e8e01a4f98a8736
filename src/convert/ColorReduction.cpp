#include "ColorReduction.h"

#include <algorithm>

void PictureColorMapper::loadUsedColors(const KeyRaster& resized)
{
    PictureColors.clear();
    // Runs of equal pixels are common: count them before touching the table.
    ColorKey last = 0;
    TColorInfo* entry = nullptr;
    for (ColorKey c : resized.pixels) {
        if (!entry || c != last) {
            entry = PictureColors.find(c);
            if (!entry) {
                TColorInfo info;
                info.matchColor = c;
                entry = &PictureColors.insert(c, info);
            }
            last = c;
        }
        ++entry->colorCount;
    }
}

void PictureColorMapper::loadPaletteColors(const ColorTable& palette)
{
    m_palette = palette;
    PaletteColors.clear();
    for (const auto& [key, info] : palette) {
        TColorInfo copy = info;
        copy.colorCount = 0;
        copy.quarterStitchesCount = 0;
        copy.backStitchesCount = 0;
        copy.matchColor = key;
        PaletteColors.insert(key, copy);
    }
}

void PictureColorMapper::matchUsedColors(QList<double>& deltas)
{
    deltas = QList<double>();
    for (auto& [key, info] : PaletteColors)
        info.colorCount = 0;
    const NearestColorSearch search(PaletteColors);
    for (auto& [key, u] : PictureColors) {
        const ColorKey p = search.find(key, &deltas);
        u.matchColor = p;
        if (TColorInfo* e = PaletteColors.find(p))
            e->colorCount += u.colorCount;
    }
    std::sort(deltas.begin(), deltas.end());
    MaxLevelDithering = deltas.isEmpty() ? 0.0 : deltas.last();
    setLevelPosition(m_levelPosition);
}

namespace {

// Every pixel of `raster` through `map`, which is asked once per run of equal pixels.
template <typename Map>
KeyRaster mapRuns(const KeyRaster& raster, Map map)
{
    KeyRaster out(raster.width, raster.height);
    ColorKey last = 0, mapped = kNoColor;
    bool have = false;
    for (size_t i = 0; i < raster.pixels.size(); ++i) {
        const ColorKey c = raster.pixels[i];
        if (!have || c != last) {
            mapped = map(c);
            last = c;
            have = true;
        }
        out.pixels[i] = mapped;
    }
    return out;
}

} // namespace

KeyRaster PictureColorMapper::DrawImageWithPalette(const KeyRaster& resized) const
{
    return mapRuns(resized, [this](ColorKey c) {
        const TColorInfo* u = PictureColors.find(c);
        return u ? u->matchColor : kNoColor;
    });
}

int PictureColorMapper::computeMaxAvailableColors(int symbolCount)
{
    int used = 0;
    for (const auto& [key, info] : PaletteColors) {
        if (info.colorCount != 0)
            ++used;
    }
    MaxAvailableColors = std::min(used, symbolCount);
    return MaxAvailableColors;
}

int PictureColorMapper::computeColorsCount(int requested, int maxColors)
{
    int n = std::min(requested, MaxAvailableColors);
    if (maxColors > 0)
        n = std::min(n, maxColors);
    ColorsCount = std::max(n, 1);
    return ColorsCount;
}

void PictureColorMapper::selectMostUsedColors(int n)
{
    ReducedColors.clear();
    // Ranking once gives the same choice as n searches for the largest remaining count:
    // a stable sort keeps the palette order among equal counts.
    QList<int> order;
    for (int i = 0; i < PaletteColors.size(); ++i) {
        if (PaletteColors.at(i).second.colorCount > 0)
            order.append(i);
    }
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return PaletteColors.at(a).second.colorCount > PaletteColors.at(b).second.colorCount;
    });
    for (int i = 0; i < order.size() && i < n; ++i) {
        const auto& [key, info] = PaletteColors.at(order[i]);
        ReducedColors.insert(key, info);
    }
}

void PictureColorMapper::matchReducedPalette()
{
    const NearestColorSearch search(ReducedColors);
    for (auto& [key, p] : PaletteColors) {
        double d = 0;
        p.matchColor = search.find(key, d);
    }
}

KeyRaster PictureColorMapper::DrawImageWithReducedPalette(const KeyRaster& resized) const
{
    return mapRuns(resized, [this](ColorKey c) {
        if (const TColorInfo* u = PictureColors.find(c)) {
            if (const TColorInfo* p = PaletteColors.find(u->matchColor))
                return p->matchColor;
        }
        return kNoColor;
    });
}

void PictureColorMapper::FillPaletteDic(const KeyRaster& raster, ColorTable& table)
{
    NearestColorSearch search(table);
    ColorKey last = 0;
    TColorInfo* entry = nullptr;
    for (ColorKey c : raster.pixels) {
        if (!entry || c != last) {
            entry = table.find(c);
            if (!entry)
                entry = table.find(search.find(c));
            last = c;
        }
        if (entry)
            ++entry->colorCount;
    }
}

void PictureColorMapper::setLevelPosition(int position)
{
    m_levelPosition = std::clamp(position, 0, 100);
    FLevelDithering = (100 - m_levelPosition) * MaxLevelDithering / 100;
}

bool PictureColorMapper::Dithering(int n, DitherMethod method, const KeyRaster& resized,
                                   KeyRaster& final, const DitherProgress& progress)
{
    if (method == DitherMethod::None) {
        // The picture's colours are already counted and matched (see the header).
        selectMostUsedColors(n);
        matchReducedPalette();
        final = DrawImageWithReducedPalette(resized);
        return true;
    }

    // The tables change only once the runs have finished, so a cancelled run keeps them.
    PictureColorMapper next = *this;
    KeyRaster work = resized;
    next.loadPaletteColors(m_palette);
    if (!DitherBitmap(work, next.PaletteColors, method, FLevelDithering, progress))
        return false;
    FillPaletteDic(work, next.PaletteColors);
    if (n < MaxAvailableColors) {
        next.selectMostUsedColors(n);
        work = resized;
        if (!DitherBitmap(work, next.ReducedColors, method, FLevelDithering, progress))
            return false;
        FillPaletteDic(work, next.ReducedColors);
    } else {
        // No reduction: the kept colours are the ones the dithered picture uses, so that no
        // colour of an earlier run (or another palette) stays behind.
        next.selectMostUsedColors(int(next.PaletteColors.size()));
    }
    *this = std::move(next);
    final = std::move(work);
    return true;
}
