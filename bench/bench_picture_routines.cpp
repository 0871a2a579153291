// Time of the picture routines on a 4000 x 3000 picture: quarter and half turns,
// rotation by 45 degrees, resize to 8000 x 6000 and back down, the mirrors and the
// colour correction. Each run writes a fresh result, as the program does.
#include "bench/NoisePicture.h"
#include "imageops/AdjustColor.h"
#include "imageops/Mirror.h"
#include "imageops/PictureSurface.h"
#include "imageops/ResizePicture.h"
#include "imageops/RotateByAngle.h"
#include "imageops/RotateQuarter.h"

#include <QImage>
#include <benchmark/benchmark.h>

using namespace mGlyfora;

namespace {

constexpr int Width = 4000;
constexpr int Height = 3000;

const PictureSurface& Picture() {
    static const PictureSurface surface = NoisePicture(Width, Height);
    return surface;
}

template <typename Routine> void Run(benchmark::State& state, Routine routine) {
    const PictureSurface& source = Picture();
    for (auto _ : state) {
        PictureSurface destination;
        if (!routine(destination, source))
            state.SkipWithError("the routine failed");
        benchmark::DoNotOptimize(destination.Image().constBits());
    }
    state.counters["pixels"] = benchmark::Counter(double(Width) * Height * state.iterations(),
                                                  benchmark::Counter::kIsRate);
}

void BM_RotateQuarter(benchmark::State& state) {
    const auto angle = qint16(state.range(0));
    Run(state,
        [angle](PictureSurface& d, const PictureSurface& s) { return RotateQuarter(d, s, angle); });
}
BENCHMARK(BM_RotateQuarter)->Arg(90)->Arg(270)->Arg(180)->Unit(benchmark::kMillisecond);

void BM_RotateByAngle(benchmark::State& state) {
    const auto degrees = qint16(state.range(0));
    Run(state, [degrees](PictureSurface& d, const PictureSurface& s) {
        return RotateByAngle(d, s, degrees, true, 15, 15);
    });
}
BENCHMARK(BM_RotateByAngle)->Arg(45)->Arg(30)->Unit(benchmark::kMillisecond);

void BM_ResizePicture(benchmark::State& state) {
    const int width = int(state.range(0));
    const int height = int(state.range(1));
    Run(state, [width, height](PictureSurface& d, const PictureSurface& s) {
        return ResizePicture(d, s, height, width);
    });
}
BENCHMARK(BM_ResizePicture)->Args({8000, 6000})->Args({1000, 750})->Unit(benchmark::kMillisecond);

void BM_MirrorHorizontal(benchmark::State& state) {
    Run(state, [](PictureSurface& d, const PictureSurface& s) { return MirrorHorizontal(d, s); });
}
BENCHMARK(BM_MirrorHorizontal)->Unit(benchmark::kMillisecond);

void BM_MirrorVertical(benchmark::State& state) {
    Run(state, [](PictureSurface& d, const PictureSurface& s) { return MirrorVertical(d, s); });
}
BENCHMARK(BM_MirrorVertical)->Unit(benchmark::kMillisecond);

void BM_AdjustColor(benchmark::State& state) {
    Run(state,
        [](PictureSurface& d, const PictureSurface& s) { return AdjustColor(d, s, 100, 0, -100); });
}
BENCHMARK(BM_AdjustColor)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
