// Throughput of the text and HTML scans on a 4096 x 4096 picture, intermediate file
// round trip included, in cells per second.
#include "convert/ConversionSettings.h"
#include "convert/ConvertScan.h"
#include "imageops/PictureSurface.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

constexpr int Side = 4096;

const PictureSurface& Picture() {
    static const PictureSurface surface = [] {
        QImage image(Side, Side, QImage::Format_RGB32);
        quint32 state = 12345;
        for (int y = 0; y < Side; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < Side; ++x) {
                state = state * 1664525u + 1013904223u;
                line[x] = 0xFF000000u | (state >> 8);
            }
        }
        PictureSurface s;
        s.Assign(image);
        return s;
    }();
    return surface;
}

template <bool Html> void BM_Scan(benchmark::State& state) {
    const int cell = int(state.range(0));
    mGlyfora::ConversionSettings = mGlyfora::ConversionSettingsRecord();
    mGlyfora::ConversionSettings.X = quint8(cell);
    mGlyfora::ConversionSettings.Y = quint8(cell);
    const PictureSurface& picture = Picture();
    mGlyfora::NullScanHost host;
    const qint64 perSide = (Side + cell - 1) / cell;
    for (auto _ : state) {
        const QString text = Html ? mGlyfora::ConvertToHTML(picture, {}, host)
                                  : mGlyfora::ConvertToText(picture, {}, host);
        if (text.isEmpty())
            state.SkipWithError("the scan produced nothing");
        benchmark::DoNotOptimize(text.constData());
    }
    state.counters["cells"] = benchmark::Counter(double(perSide * perSide) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_Scan<false>)
    ->Name("ConvertToText")
    ->Arg(1)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Scan<true>)
    ->Name("ConvertToHTML")
    ->Arg(1)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
