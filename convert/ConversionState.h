// The scans' cancel flag: cleared when a scan starts, set by whoever asks it to stop.
#pragma once

#include <atomic>

namespace mGlyfora {

// Atomic so that the per-cell test is a real load the compiler cannot hoist out of the
// row, and so a signal handler or another thread may set it safely.
inline std::atomic<bool> CancelConversion{false};

} // namespace mGlyfora
