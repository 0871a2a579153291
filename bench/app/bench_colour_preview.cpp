// One step of the colour dialog's live preview over a 4000 x 3000 picture in the main
// window: a slider value settles, the offsets are applied to the whole picture and the
// picture is painted again (offscreen).
#include "app/Settings.h"
#include "app/frmMain.h"
#include "imageops/frmColor.h"
#include "platform/SettingsStore.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPictures.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QSlider>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void BM_ColourPreviewStep(benchmark::State& state) {
    testsupport::ScriptedDialogs dialogs;
    platform::SettingsStore store;
    mGlyfora::LoadSettings(store);
    frmMain form(dialogs, store);
    form.Form_Load(QString());
    form.resize(1024, 768);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        state.SkipWithError("window not shown");
        return;
    }
    if (!form.picView->Surface().Assign(testsupport::GradientImage(4000, 3000))) {
        state.SkipWithError("no memory for the picture");
        return;
    }
    form.picView->SurfaceChanged();
    form.picView->show();
    form.Form_Resize();
    QApplication::processEvents();

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
        QElapsedTimer limit;
        limit.start();
        while (counter.paints == before && limit.elapsed() < 2000)
            QApplication::processEvents();
        if (counter.paints == before) {
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
