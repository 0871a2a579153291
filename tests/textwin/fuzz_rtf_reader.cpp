// libFuzzer target for the RTF reader (scripts/fuzz-rtf.sh builds and runs it). Every
// input must be read without a crash or undefined behaviour; the parser's runs must
// cover its text, each in a format it lists; and whatever the reader made of the input
// must survive being written and read again with the same text.
#include "textwin/RtfParser.h"
#include "textwin/RtfReader.h"
#include "textwin/RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    mGlyfora::RtfText parsed;
    const mGlyfora::RtfResult result = mGlyfora::ParseRtf(bytes, parsed, nullptr);
    qsizetype covered = 0;
    for (const mGlyfora::RtfRun& run : parsed.runs) {
        if (run.format < 0 || std::size_t(run.format) >= parsed.formats.size() || run.length < 0)
            std::abort();
        covered += run.length;
    }
    if (covered != parsed.text.size())
        std::abort();
    QTextDocument doc;
    QString error;
    if (mGlyfora::ReadRtf(bytes, doc, &error) != result)
        std::abort();
    if (result != mGlyfora::RtfResult::Read) {
        if (error.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    QTextDocument again;
    if (mGlyfora::ReadRtf(mGlyfora::WriteRtf(doc), again, &error) != mGlyfora::RtfResult::Read ||
        again.toPlainText() != doc.toPlainText())
        std::abort();
    return 0;
}
