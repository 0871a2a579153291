// Holding the signals that can wait.
#include "platform/HeldSignals.h"

#include <initializer_list>
#include <pthread.h>

namespace platform {

HeldSignals::HeldSignals() {
    sigset_t held;
    ::sigfillset(&held);
    // Faults of the thread's own cannot wait.
    for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT, SIGSYS})
        ::sigdelset(&held, fault);
    holding_ = ::pthread_sigmask(SIG_BLOCK, &held, &previous_) == 0;
}

HeldSignals::~HeldSignals() {
    if (holding_)
        ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

} // namespace platform
