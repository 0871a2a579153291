// Conversions from the main window's command until the result has arrived: the text
// shown and painted in the conversion window (answer No to the question), and the HTML
// page written (a scripted save dialog), at 1920 x 1080 and 4000 x 3000, with the peak
// memory of each run. Offscreen.
//
// Usage: bench_conversion_run [benchmark flags]
//        bench_conversion_run --once text|html PICTURE PAGE
// The second form loads PICTURE as the open command does, runs one conversion and prints
// the milliseconds from the command until the text shows (text), or until the save
// dialog is asked for and from its answer until the page PAGE is written (html): one
// process to time beside glyfora-convert, and how far the run raised the peak memory.
#include "bench/NoisePicture.h"
#include "bench/app/BenchWindow.h"
#include "tests/support/TestEnvironment.h"
#include "textwin/ConversionView.h"
#include "textwin/frmText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

QString g_root;

// The save dialog's answer is the page; the time it was asked for is kept.
struct TimedDialogs : testsupport::ScriptedDialogs {
    QElapsedTimer clock;
    qint64 askedAt = -1;
    std::optional<platform::FileDialogResult>
    ShowSave(QWidget* parent, const platform::FileDialogRequest& request) override {
        askedAt = clock.nsecsElapsed();
        return ScriptedDialogs::ShowSave(parent, request);
    }
};

// The peak resident memory from now on is what ResidentPeakMB then answers.
void ResetResidentPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}
double StatusMB(const char* field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0)
            return std::stod(line.substr(std::strlen(field))) / 1024.0;
    }
    return 0;
}
double ResidentPeakMB() {
    return StatusMB("VmHWM:");
}

bool ConvertToWindow(frmMain& form, testsupport::ScriptedDialogs& dialogs) {
    dialogs.messageAnswers = {platform::MsgAnswer::No};
    form.mnuTextConversion_Click();
    frmText* text = form.LoadedTextWindow();
    if (!text || !text->isVisible())
        return false;
    text->rtfView->viewport()->repaint();
    return true;
}

void BM_TextConversionToWindow(benchmark::State& state) {
    BenchWindow window(NoisePicture(int(state.range(0)), int(state.range(1))).Image());
    if (!window.error.isEmpty()) {
        state.SkipWithError(qPrintable(window.error));
        return;
    }
    ResetResidentPeak();
    for (auto _ : state) {
        if (!ConvertToWindow(*window.form, window.dialogs)) {
            state.SkipWithError("the conversion window did not show");
            break;
        }
    }
    state.counters["peak_MB"] = ResidentPeakMB();
    state.counters["characters"] = double(
        window.form->LoadedTextWindow() ? window.form->LoadedTextWindow()->rtfView->Text().size()
                                        : 0);
}
BENCHMARK(BM_TextConversionToWindow)
    ->Args({1920, 1080})
    ->Args({4000, 3000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_HTMLConversionToFile(benchmark::State& state) {
    BenchWindow window(NoisePicture(int(state.range(0)), int(state.range(1))).Image());
    if (!window.error.isEmpty()) {
        state.SkipWithError(qPrintable(window.error));
        return;
    }
    const QString page = g_root + QStringLiteral("/page.html");
    ResetResidentPeak();
    for (auto _ : state) {
        window.dialogs.fileAnswers = {testsupport::ScriptedDialogs::Chosen(page)};
        window.form->mnuHTMLConversion_Click();
    }
    if (!window.dialogs.messages.isEmpty())
        state.SkipWithError(qPrintable(window.dialogs.messages.first().text));
    state.counters["peak_MB"] = ResidentPeakMB();
    state.counters["bytes"] = double(QFile(page).size());
}
BENCHMARK(BM_HTMLConversionToFile)
    ->Args({1920, 1080})
    ->Args({4000, 3000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int Once(const char* kind, const QString& picture, const QString& page) {
    TimedDialogs dialogs;
    BenchWindow window(dialogs, picture);
    if (!window.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(window.error));
        return 1;
    }
    const bool html = std::strcmp(kind, "html") == 0;
    ResetResidentPeak();
    const double before = StatusMB("VmRSS:");
    dialogs.clock.start();
    bool ok = true;
    if (html) {
        dialogs.fileAnswers = {testsupport::ScriptedDialogs::Chosen(page)};
        window.form->mnuHTMLConversion_Click();
        ok = dialogs.askedAt >= 0 && dialogs.messages.isEmpty();
    } else {
        ok = ConvertToWindow(*window.form, dialogs);
    }
    const qint64 end = dialogs.clock.nsecsElapsed();
    if (!ok) {
        std::fprintf(stderr, "the conversion did not deliver its result\n");
        return 1;
    }
    if (html)
        std::printf("command to save dialog %.1f ms, page written %.1f ms later",
                    double(dialogs.askedAt) / 1e6, double(end - dialogs.askedAt) / 1e6);
    else
        std::printf("command to text shown %.1f ms", double(end) / 1e6);
    std::printf(", peak %.0f MB above the %.0f MB before the command\n", ResidentPeakMB() - before,
                before);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    testsupport::TestEnvironment environment;
    QApplication app(argc, argv);
    g_root = environment.Root();
    if (argc == 5 && std::strcmp(argv[1], "--once") == 0)
        return Once(argv[2], QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
