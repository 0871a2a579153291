// The scans' shared state: the cancel flag, cleared when a scan starts and set by whoever
// asks it to stop, and the path of the intermediate file.
#pragma once

#include "platform/Paths.h"
#include "platform/TerminationRequest.h"

#include <QString>
#include <atomic>

namespace mGlyfora {

// Atomic so that the per-cell test is a real load the compiler cannot hoist out of the
// row, and so that scans on other threads (the tool's batch) share it safely. Only the
// progress dialog sets it; a termination signal is seen through TerminationRequested.
inline std::atomic<bool> CancelConversion{false};

// A person's cancel, or the program being told to end: the latter is never cleared by
// a scan's start, so a request that came before the first row still stops it.
inline bool CancelRequested() {
    return CancelConversion.load(std::memory_order_relaxed) || platform::TerminationRequested();
}

// The program's intermediate file, set by each scan through it; deleted at shutdown.
inline QString TempFileName;

// Where the intermediate file lives: the per-user temporary folder.
inline QString IntermediateFilePath() {
    return platform::TempFolder() + QStringLiteral("~glyfora.tmp");
}

} // namespace mGlyfora
