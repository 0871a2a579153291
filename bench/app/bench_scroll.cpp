// One page of keyboard scrolling over a 12000 x 9000 picture in the main window, timed
// from the key press until the picture has been painted again (offscreen).
#include "app/Settings.h"
#include "app/frmMain.h"
#include "platform/SettingsStore.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPictures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {
// Counts the picture's paints and the largest area one of them covered.
struct PaintCounter : QObject {
    int paints = 0;
    qint64 largestArea = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            const QRect r = static_cast<QPaintEvent*>(event)->region().boundingRect();
            largestArea = std::max(largestArea, qint64(r.width()) * r.height());
        }
        return false;
    }
};

void BM_PageScroll(benchmark::State& state) {
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
    if (!form.picView->Surface().Assign(testsupport::GradientImage(12000, 9000))) {
        state.SkipWithError("no memory for the picture");
        return;
    }
    form.picView->SurfaceChanged();
    form.picView->show();
    form.Form_Resize();
    QApplication::processEvents();

    PaintCounter counter;
    form.picView->installEventFilter(&counter);
    bool down = true;
    for (auto _ : state) {
        const int before = counter.paints;
        QTest::keyClick(&form, down ? Qt::Key_PageDown : Qt::Key_PageUp);
        QElapsedTimer limit;
        limit.start();
        while (counter.paints == before && limit.elapsed() < 2000)
            QApplication::processEvents();
        if (counter.paints == before) {
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
