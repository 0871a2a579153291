// Every signal but a thread's own faults held on the calling thread while one object
// lives, then delivered. A thread started meanwhile inherits the mask and so never takes
// a signal meant for the process.
#pragma once

#include <signal.h>

namespace platform {

class HeldSignals {
public:
    HeldSignals();
    ~HeldSignals();
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;
    bool Holding() const { return holding_; }

private:
    sigset_t previous_{};
    bool holding_ = false;
};

} // namespace platform
