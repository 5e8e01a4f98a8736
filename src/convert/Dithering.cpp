#include "Dithering.h"

#include <algorithm>
#include <array>
#include <span>

namespace {

struct Tap
{
    int dx, dy, weight;
};

// The neighbours of each kernel in the order in which they receive error.
constexpr std::array<Tap, 4> kFloydSteinberg{{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}};
constexpr std::array<Tap, 12> kJarvisJudiceNinke{{{1, 0, 7}, {2, 0, 5},
                                                  {0, 1, 7}, {1, 1, 5}, {2, 1, 3}, {-1, 1, 5}, {-2, 1, 3},
                                                  {0, 2, 5}, {1, 2, 3}, {2, 2, 1}, {-1, 2, 3}, {-2, 2, 1}}};
constexpr std::array<Tap, 12> kStucki{{{1, 0, 8}, {2, 0, 4},
                                       {0, 1, 8}, {1, 1, 4}, {2, 1, 2}, {-1, 1, 4}, {-2, 1, 2},
                                       {0, 2, 4}, {1, 2, 2}, {2, 2, 1}, {-1, 2, 2}, {-2, 2, 1}}};
constexpr std::array<Tap, 3> kSierraLite{{{1, 0, 2}, {0, 1, 1}, {-1, 1, 1}}};

struct Kernel
{
    std::span<const Tap> taps;
    int divisor = 1;
};

Kernel kernelOf(DitherMethod m)
{
    switch (m) {
    case DitherMethod::FloydSteinberg: return {kFloydSteinberg, 16};
    case DitherMethod::JarvisJudiceNinke: return {kJarvisJudiceNinke, 48};
    case DitherMethod::Stucki: return {kStucki, 42};
    case DitherMethod::SierraLite: return {kSierraLite, 4};
    case DitherMethod::None: break;
    }
    return {};
}

struct MethodNames
{
    DitherMethod method;
    const char* caption;
    const char* name;
};
constexpr std::array<MethodNames, 5> kMethodNames{{
    {DitherMethod::None, "none", "none"},
    {DitherMethod::FloydSteinberg, "Floyd-Steinberg", "floyd-steinberg"},
    {DitherMethod::JarvisJudiceNinke, "Jarvis,Judice and Ninke", "jarvis-judice-ninke"},
    {DitherMethod::Stucki, "Stucki", "stucki"},
    {DitherMethod::SierraLite, "Sierra Lite", "sierra-lite"},
}};

inline int clampChannel(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

template <typename Find>
bool scan(KeyRaster& raster, Find&& nearest, const Kernel& kernel, double level,
          const DitherProgress& progress)
{
    const int w = raster.width, h = raster.height;
    const int maximum = ditherProgressMaximum(h);
    int position = 0;
    if (progress && !progress(position, maximum))
        return false;
    const double threshold = 1.2 * level;
    for (int y = 0; y < h; ++y) {
        if (y % 10 == 0 && y != 0) {
            ++position;
            if (progress && !progress(position, maximum))
                return false;
        }
        ColorKey* row = raster.row(y);
        for (int x = 0; x < w; ++x) {
            const ColorKey c = row[x];
            const ColorKey p = nearest(c);
            row[x] = p;
            if (kernel.taps.empty() || c == p)
                continue;
            if (threshold >= ditheringDistance(c, p))
                continue;
            const ColorErrorTriple e{int(kRedOf(c)) - int(kRedOf(p)), int(kGreenOf(c)) - int(kGreenOf(p)),
                                     int(kBlueOf(c)) - int(kBlueOf(p))};
            for (const Tap& t : kernel.taps) {
                const int nx = x + t.dx, ny = y + t.dy;
                if (nx < 0 || nx > w - 2 || ny > h - 2)
                    continue;
                ColorKey& q = raster.at(nx, ny);
                q = AddError(q, e, t.weight, kernel.divisor);
            }
        }
    }
    return true;
}

} // namespace

QString ditherMethodCaption(DitherMethod m)
{
    for (const auto& n : kMethodNames) {
        if (n.method == m)
            return QString::fromLatin1(n.caption);
    }
    return {};
}

QString ditherMethodName(DitherMethod m)
{
    for (const auto& n : kMethodNames) {
        if (n.method == m)
            return QString::fromLatin1(n.name);
    }
    return {};
}

QStringList ditherMethodNames()
{
    QStringList out;
    for (const auto& n : kMethodNames)
        out << QString::fromLatin1(n.name);
    return out;
}

std::optional<DitherMethod> ditherMethodFromName(const QString& name)
{
    for (const auto& n : kMethodNames) {
        if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0
            || name.compare(QLatin1String(n.caption), Qt::CaseInsensitive) == 0)
            return n.method;
    }
    return std::nullopt;
}

int ditherProgressMaximum(int height)
{
    return (height - 1) / 10 + 1;
}

ColorErrorTriple ColorError(ColorKey oldColor, ColorKey newColor, double level)
{
    if (1.2 * level >= ditheringDistance(oldColor, newColor))
        return {};
    return {int(kRedOf(oldColor)) - int(kRedOf(newColor)),
            int(kGreenOf(oldColor)) - int(kGreenOf(newColor)),
            int(kBlueOf(oldColor)) - int(kBlueOf(newColor))};
}

ColorKey AddError(ColorKey color, const ColorErrorTriple& error, int weight, int divisor)
{
    // C++ integer division truncates toward zero, as the diffusion requires.
    return makeColorKey(quint32(clampChannel(int(kRedOf(color)) + error.e0 * weight / divisor)),
                        quint32(clampChannel(int(kGreenOf(color)) + error.e1 * weight / divisor)),
                        quint32(clampChannel(int(kBlueOf(color)) + error.e2 * weight / divisor)));
}

bool DitherBitmap(KeyRaster& raster, const ColorTable& palette, DitherMethod method, double level,
                  const DitherProgress& progress, NearestSearchKind search)
{
    const Kernel kernel = kernelOf(method);
    if (search == NearestSearchKind::Plain)
        return scan(raster, [&](ColorKey c) { return nearestColor(c, palette); }, kernel, level,
                    progress);
    NearestColorSearch fast(palette);
    return scan(raster, [&](ColorKey c) { return fast.find(c); }, kernel, level, progress);
}

bool FloydSteinberg(KeyRaster& raster, const ColorTable& palette, double level,
                    const DitherProgress& progress)
{
    return DitherBitmap(raster, palette, DitherMethod::FloydSteinberg, level, progress);
}

bool JarvisJudiceNinke(KeyRaster& raster, const ColorTable& palette, double level,
                       const DitherProgress& progress)
{
    return DitherBitmap(raster, palette, DitherMethod::JarvisJudiceNinke, level, progress);
}

bool Stucki(KeyRaster& raster, const ColorTable& palette, double level, const DitherProgress& progress)
{
    return DitherBitmap(raster, palette, DitherMethod::Stucki, level, progress);
}

bool SierraLite(KeyRaster& raster, const ColorTable& palette, double level,
                const DitherProgress& progress)
{
    return DitherBitmap(raster, palette, DitherMethod::SierraLite, level, progress);
}
