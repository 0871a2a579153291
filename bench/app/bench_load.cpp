// LoadImageFile of a 4000 x 3000 JPEG into the main window (offscreen).
// Usage: bench_load [PHOTO.jpg] [benchmark flags]; a photo-like JPEG is made when none is given.
#include "app/Settings.h"
#include "app/frmMain.h"
#include "platform/SettingsStore.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPictures.h"

#include <QApplication>
#include <QDir>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {
QString g_photo;

// Smooth gradients with fine noise, so the JPEG has the detail of a photograph.
QString MakePhoto(const QString& path) {
    QImage image = testsupport::GradientImage(4000, 3000);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(random.bounded(32));
            line[x] = qRgb(qBound(0, qRed(line[x]) + n, 255), qBound(0, qGreen(line[x]) + n, 255),
                           qBound(0, qBlue(line[x]) + n, 255));
        }
    }
    image.save(path, "JPEG", 90);
    return path;
}

void BM_LoadImageFile(benchmark::State& state) {
    testsupport::ScriptedDialogs dialogs;
    platform::SettingsStore store;
    mGlyfora::LoadSettings(store);
    frmMain form(dialogs, store);
    form.Form_Load(QString());
    for (auto _ : state) {
        form.LoadImageFile(g_photo);
        benchmark::DoNotOptimize(form.picView->Surface().Image().constBits());
    }
    if (!dialogs.messages.isEmpty())
        state.SkipWithError(qPrintable(dialogs.messages.first().text));
}
BENCHMARK(BM_LoadImageFile)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

int main(int argc, char** argv) {
    testsupport::TestEnvironment environment;
    QApplication app(argc, argv);
    if (argc > 1 && argv[1][0] != '-') {
        g_photo = QString::fromLocal8Bit(argv[1]);
        --argc;
        ++argv;
    } else {
        g_photo = MakePhoto(environment.Root() + QStringLiteral("/photo.jpg"));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
