// The RTF parser: the bytes of a file in, its text out as runs of character formats
// (font, size, bold, italic, underline, strikeout, colour) with '\n' between paragraphs.
// It needs no document, so it can be tested and fuzzed alone; ReadRtf puts its result
// into a QTextDocument.
#pragma once

#include <QByteArray>
#include <QRgb>
#include <QString>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace mGlyfora {

// Groups nested deeper than this make the file unreadable rather than the program slow.
inline constexpr int RtfMaxGroupDepth = 1000;

// What a read gives up on. Past either size the text is too long for its reader;
// `abandon`, asked every few ten thousand bytes and runs, ends the read when it says so.
struct RtfLimits {
    qsizetype maxCharacters = std::numeric_limits<qsizetype>::max();
    qsizetype maxLines = std::numeric_limits<qsizetype>::max();
    std::function<bool()> abandon;
};

enum class RtfResult {
    Read,      // the file was read whole
    Failed,    // `error` says why: not RTF, nested too deep, memory ran out
    TooLong,   // past RtfLimits' sizes
    Abandoned, // `abandon` said so
};

// How a run of text looks, as the file sets it.
struct RtfFormat {
    QString family; // empty: the document's default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    std::optional<QRgb> colour; // none: the view's own text colour
};

// `length` characters of the text in the format numbered `format`.
struct RtfRun {
    int format;
    qsizetype length;
};

// The text of a file: runs that cover it in order, a new one wherever the file changes
// the format. A format is listed once for each distinct state the file sets, so two of
// them may look the same (the default font, and the same font by its number).
struct RtfText {
    QString text; // '\n' between paragraphs; a last paragraph mark adds none
    std::vector<RtfFormat> formats;
    std::vector<RtfRun> runs;
};

// Reads the RTF in `data` into `out`; time and memory grow in step with the file.
// Read fills `out`; otherwise `out` is untouched and `error` (may be null) holds why
// for Failed, empty for TooLong and Abandoned. Failed when the data does not start with
// "{\rtf", nests its groups deeper than RtfMaxGroupDepth or memory runs out. A file cut
// off or with unbalanced braces gives what was read up to there.
RtfResult ParseRtf(const QByteArray& data, RtfText& out, QString* error,
                   const RtfLimits& limits = {});

// The error text of a read that ran out of memory.
QString RtfMemoryMessage();

} // namespace mGlyfora
