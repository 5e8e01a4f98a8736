// Picture conversion: dithering a 1000 x 1000 picture against the DMC palette with the fast
// nearest-colour search and with the plain scan, and the whole pipeline on a big picture.
#include "BenchConversion.h"
#include "BuildConfig.h"
#include "convert/Dithering.h"
#include "convert/PictureConversion.h"
#include "convert/Resampler.h"
#include "session/Session.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

// Smooth gradients with some texture, like a photograph.
QImage photoLike(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double fx = double(x) / w, fy = double(y) / h;
            const int r = int(127 + 120 * std::sin(6.0 * fx + 2.0 * fy));
            const int g = int(127 + 120 * std::cos(5.0 * fy - 3.0 * fx));
            const int b = int(127 + 100 * std::sin(9.0 * fx * fy) + ((x * 7 + y * 13) % 17) - 8);
            row[x] = qRgba(r, g, std::clamp(b, 0, 255), 255);
        }
    }
    return img;
}

struct ShippedSession
{
    QTemporaryDir dir;
    std::unique_ptr<Session> session;
    ShippedSession()
    {
        Session::Options o;
        o.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
        o.dataDir = QStringLiteral(QUILLMARK_SOURCE_DATA_DIR);
        session = std::make_unique<Session>(o);
        session->initialiseWithNewDesign();
    }
    const ColorTable& dmc() { return *session->stitch().ColorPalettes.find(QStringLiteral("DMC")); }
};

ShippedSession& shipped()
{
    static ShippedSession s;
    return s;
}

void ditherDmc(benchmark::State& state, NearestSearchKind kind)
{
    const ColorTable& palette = shipped().dmc();
    const KeyRaster picture = KeyRaster::fromImage(photoLike(1000, 1000));
    for (auto _ : state) {
        KeyRaster work = picture;
        DitherBitmap(work, palette, DitherMethod::FloydSteinberg, 0.0, {}, kind);
        benchmark::DoNotOptimize(work.pixels.data());
    }
    state.counters["palette"] = palette.size();
}

void BM_DitherDmcFast(benchmark::State& state)
{
    ditherDmc(state, NearestSearchKind::Fast);
}
BENCHMARK(BM_DitherDmcFast)->Unit(benchmark::kMillisecond);

void BM_DitherDmcPlain(benchmark::State& state)
{
    ditherDmc(state, NearestSearchKind::Plain);
}
BENCHMARK(BM_DitherDmcPlain)->Unit(benchmark::kMillisecond)->Iterations(1);

// 24 megapixels to a 300-cell design with 40 colours, Floyd-Steinberg.
void BM_ConvertPipeline24MP(benchmark::State& state)
{
    ShippedSession& s = shipped();
    const QImage picture = photoLike(6000, 4000);
    const ConversionSettings settings = benchConversionSettings();
    for (auto _ : state)
        convertPicture(picture, settings, s.session->document());
}
BENCHMARK(BM_ConvertPipeline24MP)->Unit(benchmark::kMillisecond);

// The resampler alone on the same reduction, in source megapixels per second: the fast passes
// (rows split over the CPU cores) and the plain reference.
void resample24MPTo300(benchmark::State& state, bool plain)
{
    const QImage picture = photoLike(6000, 4000);
    for (auto _ : state) {
        QImage out(300, 200, QImage::Format_ARGB32);
        if (plain)
            ResampleDrawPlain(picture, out, picture.rect(), out.rect());
        else
            ResampleDraw(picture, out, picture.rect(), out.rect());
        benchmark::DoNotOptimize(out.constBits());
    }
    state.counters["MP/s"] = benchmark::Counter(24.0 * double(state.iterations()),
                                                benchmark::Counter::kIsRate);
}

void BM_Resample24MPTo300(benchmark::State& state)
{
    resample24MPTo300(state, false);
}
BENCHMARK(BM_Resample24MPTo300)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Resample24MPTo300Plain(benchmark::State& state)
{
    resample24MPTo300(state, true);
}
BENCHMARK(BM_Resample24MPTo300Plain)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
