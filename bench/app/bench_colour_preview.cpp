// One step of the colour dialog's live preview over a 4000 x 3000 picture in the main
// window: a slider value settles, the offsets are applied to the whole picture and the
// picture is painted again (offscreen).
#include "bench/app/BenchWindow.h"
#include "imageops/frmColor.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPictures.h"

#include <QCheckBox>
#include <QSlider>
#include <benchmark/benchmark.h>

namespace {

void BM_ColourPreviewStep(benchmark::State& state) {
    BenchWindow window(testsupport::GradientImage(4000, 3000));
    if (!window.error.isEmpty()) {
        state.SkipWithError(qPrintable(window.error));
        return;
    }
    frmMain& form = *window.form;

    frmColor dialog(form, *form.picView, form.picClip);
    dialog.Form_Load();
    dialog.show();
    dialog.chkPreview->setChecked(true);
    QApplication::processEvents();
    PaintCounter counter;
    form.picView->installEventFilter(&counter);
    int value = 0;
    for (auto _ : state) {
        const int before = counter.paints;
        value = value >= 100 ? -100 : value + 7;
        dialog.sldIndex[0]->setValue(value); // the settled value: one preview
        if (!counter.WaitPast(before)) {
            state.SkipWithError("the picture was not painted again");
            break;
        }
    }
}
BENCHMARK(BM_ColourPreviewStep)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7);
} // namespace

int main(int argc, char** argv) {
    testsupport::TestEnvironment environment;
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
