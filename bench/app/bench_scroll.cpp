// One page of keyboard scrolling over a 12000 x 9000 picture in the main window, timed
// from the key press until the picture has been painted again (offscreen).
#include "bench/app/BenchWindow.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPictures.h"

#include <benchmark/benchmark.h>

namespace {

void BM_PageScroll(benchmark::State& state) {
    BenchWindow window(testsupport::GradientImage(12000, 9000));
    if (!window.error.isEmpty()) {
        state.SkipWithError(qPrintable(window.error));
        return;
    }
    frmMain& form = *window.form;

    PaintCounter counter;
    form.picView->installEventFilter(&counter);
    bool down = true;
    for (auto _ : state) {
        const int before = counter.paints;
        QTest::keyClick(&form, down ? Qt::Key_PageDown : Qt::Key_PageUp);
        if (!counter.WaitPast(before)) {
            state.SkipWithError("the picture was not painted again");
            break;
        }
        down = !down;
    }
    // Pixels painted at most per scroll: the visible part, not the whole picture.
    state.counters["painted_px"] = double(counter.largestArea);
}
BENCHMARK(BM_PageScroll)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7);
} // namespace

int main(int argc, char** argv) {
    testsupport::TestEnvironment environment;
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
