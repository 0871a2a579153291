// The process-wide request to end (a termination signal, a session's end). Set from a
// signal handler and read by long work such as the scans, which stop at once.
#pragma once

#include <atomic>

namespace platform {

namespace detail {
inline std::atomic<bool> TerminationRequest{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
} // namespace detail

// True once the program has been told to end. From then on nothing may wait for the
// person: message boxes return their default answer without showing, scans stop.
inline bool TerminationRequested() {
    return detail::TerminationRequest.load(std::memory_order_relaxed);
}

// Safe to call from a signal handler.
inline void RequestTermination() {
    detail::TerminationRequest.store(true, std::memory_order_relaxed);
}

// Tests only: a process that was asked to end is otherwise never un-asked.
inline void ClearTerminationRequestForTests() {
    detail::TerminationRequest.store(false);
}

} // namespace platform
