// Throughput of the text and HTML scans on a 4096 x 4096 picture, in cells per second:
// the program's scans with the intermediate file's round trip, and the streamed scans of
// glyfora-convert into a sink that only counts.
#include "bench/NoisePicture.h"
#include "convert/ConversionSettings.h"
#include "convert/ConvertScan.h"
#include "imageops/PictureSurface.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

constexpr int Side = 4096;

const PictureSurface& Picture() {
    static const PictureSurface surface = NoisePicture(Side, Side);
    return surface;
}

// Default settings with cells of side x side pixels; answers the cells of the picture.
qint64 UseSquareCells(int side) {
    mGlyfora::ConversionSettings = mGlyfora::ConversionSettingsRecord();
    mGlyfora::ConversionSettings.X = quint8(side);
    mGlyfora::ConversionSettings.Y = quint8(side);
    const qint64 perSide = (Side + side - 1) / side;
    return perSide * perSide;
}

template <bool Html> void BM_Scan(benchmark::State& state) {
    const qint64 cells = UseSquareCells(int(state.range(0)));
    const PictureSurface& picture = Picture();
    mGlyfora::NullScanHost host;
    for (auto _ : state) {
        const QString text =
            mGlyfora::Scan(Html ? mGlyfora::ScanKind::HTML : mGlyfora::ScanKind::Text,
                           mGlyfora::ConversionSettings, picture, {}, host)
                .text;
        if (text.isEmpty())
            state.SkipWithError("the scan produced nothing");
        benchmark::DoNotOptimize(text.constData());
    }
    state.counters["cells"] =
        benchmark::Counter(double(cells) * state.iterations(), benchmark::Counter::kIsRate);
}

class CountingSink : public mGlyfora::ScanSink {
public:
    bool Write(const char*, qsizetype size) override {
        bytes += size;
        return true;
    }
    QString ErrorString() const override { return QString(); }
    qint64 bytes = 0;
};

template <bool Html> void BM_Stream(benchmark::State& state) {
    const qint64 cells = UseSquareCells(int(state.range(0)));
    const PictureSurface& picture = Picture();
    mGlyfora::NullScanHost host;
    for (auto _ : state) {
        CountingSink sink;
        const mGlyfora::ScanOutcome outcome =
            mGlyfora::Stream(Html ? mGlyfora::ScanKind::HTML : mGlyfora::ScanKind::Text,
                             mGlyfora::ConversionSettings, picture, {}, host, sink);
        if (outcome.status != mGlyfora::ScanStatus::Done)
            state.SkipWithError("the scan produced nothing");
        benchmark::DoNotOptimize(sink.bytes);
    }
    state.counters["cells"] =
        benchmark::Counter(double(cells) * state.iterations(), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_Stream<false>)
    ->Name("StreamText")
    ->Arg(1)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Stream<true>)
    ->Name("StreamHTML")
    ->Arg(1)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
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
