// RTF save and load of a conversion result of a 1920 x 1080 picture: lines of 1920 ramp
// characters, in the conversion window's base font; and loads of files other programs
// could write, with the conversion window's limits: many fonts, many paragraphs, many
// format changes.
#include "textwin/ConversionView.h"
#include "textwin/RtfReader.h"
#include "textwin/RtfWriter.h"

#include <QFont>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

constexpr int Width = 1920;

// `lines` lines of ramp characters joined by '\n', as the view holds them.
QString ConversionText(int lines) {
    static const char ramp[] = " .:-=+*#%@";
    QRandomGenerator random(1920);
    QString text;
    text.reserve(qsizetype(lines) * (Width + 1));
    for (int y = 0; y < lines; ++y) {
        if (y > 0)
            text += u'\n';
        for (int x = 0; x < Width; ++x)
            text += QLatin1Char(ramp[random.bounded(10)]);
    }
    return text;
}

void Prepare(QTextDocument& doc, int lines) {
    QFont font(QStringLiteral("Terminal"));
    font.setPointSizeF(4);
    doc.setDefaultFont(font);
    doc.setUndoRedoEnabled(false);
    doc.setPlainText(ConversionText(lines));
}

void BM_WriteRtf(benchmark::State& state) {
    QTextDocument doc;
    Prepare(doc, int(state.range(0)));
    for (auto _ : state) {
        const QByteArray rtf = mGlyfora::WriteRtf(doc);
        benchmark::DoNotOptimize(rtf.constData());
    }
    state.counters["chars"] = doc.characterCount();
}

void BM_ReadRtf(benchmark::State& state) {
    QTextDocument source;
    Prepare(source, int(state.range(0)));
    const QByteArray rtf = mGlyfora::WriteRtf(source);
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    for (auto _ : state) {
        if (mGlyfora::ReadRtf(rtf, doc, nullptr) != mGlyfora::RtfResult::Read)
            state.SkipWithError("the RTF was not read");
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.counters["chars"] = doc.characterCount();
}

// A file with `fonts` fonts in its table, each used once.
QByteArray ManyFonts(int fonts) {
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (int i = 0; i < fonts; ++i)
        rtf += "{\\f" + QByteArray::number(i) + "\\fnil Font" + QByteArray::number(i) + ";}";
    rtf += "}\r\n";
    for (int i = 0; i < fonts; ++i)
        rtf += "{\\f" + QByteArray::number(i) + " x}";
    return rtf + "}";
}

// Reads as the conversion window does: straight into a fresh document, within its limits.
void ReadAsWindow(benchmark::State& state, const QByteArray& rtf) {
    const mGlyfora::RtfLimits limits{MaxViewText, MaxViewLines, {}};
    for (auto _ : state) {
        QTextDocument doc;
        doc.setUndoRedoEnabled(false);
        const mGlyfora::RtfResult read = mGlyfora::ReadRtf(rtf, doc, nullptr, limits);
        benchmark::DoNotOptimize(read);
        state.counters["chars"] = doc.characterCount();
    }
}

void BM_ReadRtfFonts(benchmark::State& state) {
    ReadAsWindow(state, ManyFonts(int(state.range(0))));
}

// 5 M paragraph marks (25 MB): more lines than the window takes, refused.
void BM_ReadRtfParagraphs(benchmark::State& state) {
    ReadAsWindow(state, "{\\rtf1 " + QByteArray("\\par\n").repeated(state.range(0)) + "}");
}

// Bold and plain by turns, a character each (4 M changes).
void BM_ReadRtfSwitches(benchmark::State& state) {
    ReadAsWindow(state,
                 "{\\rtf1 " + QByteArray("\\b a\\plain b").repeated(state.range(0) / 2) + "}");
}

// 540 lines (cells two pixels high) and 1080 lines (one pixel): 1.04 M and 2.07 M characters.
BENCHMARK(BM_WriteRtf)->Arg(540)->Arg(1080)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ReadRtf)->Arg(540)->Arg(1080)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ReadRtfFonts)->Arg(16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRtfParagraphs)->Arg(5000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRtfSwitches)->Arg(4000000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
