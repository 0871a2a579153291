// The two scans: picture (or its visible selection) to character art, and to coloured
// HTML cells, written row by row to a sink: the intermediate file, or an output. Each
// scan takes its cell size, ramp and brightness from the settings it is given and its
// cancel from its host, so streamed scans may run on several threads at once; scans
// through the intermediate file take turns at the one file.
#pragma once

#include "convert/ScanHost.h"
#include "convert/ScanSink.h"
#include "imageops/SelectionRect.h"

#include <QString>
#include <functional>

class PictureSurface;

namespace mGlyfora {

class IntermediateFile;
struct ConversionSettingsRecord;

// Shown when the result cannot be assembled in memory.
inline const QString OutOfStringSpaceMessage = QStringLiteral("文字列領域が不足しています。") +
                                               QLatin1Char('\n') +
                                               QStringLiteral("変換に失敗しました。");

enum class ScanStatus {
    Done,
    Cancelled,
    EmptyRegion, // no row of cells (streamed: a result that would be the empty text)
    BadSettings, // cell size 0, empty or too long ramp, selection beyond the 32-bit range
    UnsafeFile,  // the intermediate file is a link, not ours, or not a regular file
    FileError,   // the sink refused a write, or the intermediate file was not read back
    OutOfMemory, // the result could not be assembled (already reported to the host)
};

struct ScanOutcome {
    QString text; // empty unless status is Done
    ScanStatus status = ScanStatus::Done;
    QString reason; // for the person, when status is not Done
};

enum class ScanKind {
    Text, // the ramp's characters
    HTML, // coloured cells
};

// The program's scan: the rows go through the intermediate file and are read back as
// outcome.text.
ScanOutcome Scan(ScanKind kind, const ConversionSettingsRecord& settings,
                 const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host);

// The HTML scan as the program's HTML run keeps its result: as the bytes of the rows in
// `file`, left open and locked for the page to be copied from; outcome.text stays empty.
// A result that would be the empty text answers EmptyRegion.
ScanOutcome ScanToHTMLFile(const ConversionSettingsRecord& settings, const PictureSurface& picView,
                           const SelectionRect& shpCut, ScanHost& host, IntermediateFile& file);

// The program's scan with other rows: `rows` writes them (UTF-8, each followed by CR LF)
// into the intermediate file, opened, emptied and locked as for Scan, and they are read
// back as outcome.text with Scan's failures. `rows` answers Done or why it stopped.
ScanOutcome ScanThroughFile(ScanHost& host, const std::function<ScanOutcome(ScanSink&)>& rows);

// The stream: rows, each followed by CR LF, written straight to `sink`; no intermediate
// file, nothing held in memory, outcome.text stays empty. A scan whose result would be
// the empty text writes nothing and answers EmptyRegion; a refused write answers
// FileError with the sink's reason.
ScanOutcome Stream(ScanKind kind, const ConversionSettingsRecord& settings,
                   const PictureSurface& picView, const SelectionRect& shpCut, ScanHost& host,
                   ScanSink& sink);

} // namespace mGlyfora
