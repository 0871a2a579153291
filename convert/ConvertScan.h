// The two scans: picture (or its visible selection) to character art, and to coloured
// HTML cells, streamed through the intermediate file.
#pragma once

#include "convert/ScanHost.h"
#include "convert/SelectionRect.h"

#include <QString>
#include <functional>

class PictureSurface;

namespace mGlyfora {

// Shown when the result cannot be assembled in memory.
inline const QString OutOfStringSpaceMessage = QStringLiteral("文字列領域が不足しています。") +
                                               QLatin1Char('\n') +
                                               QStringLiteral("変換に失敗しました。");

enum class ScanStatus {
    Done,
    Cancelled,
    EmptyRegion, // no row of cells
    BadSettings, // cell size 0, empty or too long ramp, selection beyond the 32-bit range
    UnsafeFile,  // the intermediate file is a link, not ours, or not a regular file
    FileError,   // the intermediate file could not be written or read back
    OutOfMemory, // the result could not be assembled (already reported to the host)
};

struct ScanOutcome {
    QString text; // empty unless status is Done
    ScanStatus status = ScanStatus::Done;
    QString reason; // for the person, when status is not Done
};

// Receives the result as UTF-8, followed by its final CR LF, piece by piece; false stops
// the copy.
using ResultSink = std::function<bool(const char* data, qsizetype size)>;

// The scans with the reason for an empty result, for callers that can show it. With a
// sink the result goes there as it is read back and outcome.text stays empty: output
// bound for a file never has to fit in memory.
ScanOutcome ScanToText(const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host,
                       const ResultSink* sink = nullptr);
ScanOutcome ScanToHTML(const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host,
                       const ResultSink* sink = nullptr);

// One line per row of cells joined by CR LF; the empty text when nothing was produced.
QString ConvertToText(const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host);
QString ConvertToHTML(const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host);

} // namespace mGlyfora
