// A 1920 x 1080 picture converted from the main window's command until the result has
// arrived: the text shown and painted in the conversion window (answer No to the
// question), and the HTML page written (a scripted save dialog). Offscreen.
#include "bench/NoisePicture.h"
#include "bench/app/BenchWindow.h"
#include "tests/support/TestEnvironment.h"
#include "textwin/ConversionView.h"
#include "textwin/frmText.h"

#include <QApplication>
#include <QFile>
#include <benchmark/benchmark.h>

namespace {

QString g_root;

void BM_TextConversionToWindow(benchmark::State& state) {
    BenchWindow window(NoisePicture(1920, 1080).Image());
    if (!window.error.isEmpty()) {
        state.SkipWithError(qPrintable(window.error));
        return;
    }
    for (auto _ : state) {
        window.dialogs.messageAnswers = {platform::MsgAnswer::No};
        window.form->mnuTextConversion_Click();
        frmText* text = window.form->LoadedTextWindow();
        if (!text || !text->isVisible()) {
            state.SkipWithError("the conversion window did not show");
            break;
        }
        text->rtfView->viewport()->repaint();
    }
    state.counters["characters"] = double(
        window.form->LoadedTextWindow() ? window.form->LoadedTextWindow()->rtfView->Text().size()
                                        : 0);
}
BENCHMARK(BM_TextConversionToWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HTMLConversionToFile(benchmark::State& state) {
    BenchWindow window(NoisePicture(1920, 1080).Image());
    if (!window.error.isEmpty()) {
        state.SkipWithError(qPrintable(window.error));
        return;
    }
    const QString page = g_root + QStringLiteral("/page.html");
    for (auto _ : state) {
        window.dialogs.fileAnswers = {testsupport::ScriptedDialogs::Chosen(page)};
        window.form->mnuHTMLConversion_Click();
    }
    if (!window.dialogs.messages.isEmpty())
        state.SkipWithError(qPrintable(window.dialogs.messages.first().text));
    state.counters["bytes"] = double(QFile(page).size());
}
BENCHMARK(BM_HTMLConversionToFile)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    testsupport::TestEnvironment environment;
    QApplication app(argc, argv);
    g_root = environment.Root();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
