// The scans' cancel check and the intermediate file's place; the cancel flag (cleared when
// a scan starts, set by whoever asks it to stop) and the file's path live with the
// conversion's values in convert/ConversionSettings.h.
#pragma once

#include "convert/ConversionSettings.h"
#include "platform/Paths.h"
#include "platform/TerminationRequest.h"

#include <QString>
#include <atomic>

namespace mGlyfora {

// A person's cancel, or the program being told to end: the latter is never cleared by
// a scan's start, so a request that came before the first row still stops it.
inline bool CancelRequested() {
    return CancelConversion.load(std::memory_order_relaxed) || platform::TerminationRequested();
}

// Where the intermediate file lives: the per-user temporary folder.
inline QString IntermediateFilePath() {
    return platform::TempFolder() + QStringLiteral("~glyfora.tmp");
}

} // namespace mGlyfora
