// A scan host's defaults: the cancel check and the memory limit for a scan's result.
#include "convert/ScanHost.h"

#include "platform/TerminationRequest.h"

#include <algorithm>
#include <limits>
#include <sys/resource.h>
#include <sys/sysinfo.h>

namespace mGlyfora {

bool ScanHost::CancelRequested() const {
    return platform::TerminationRequested();
}

qint64 ScanHost::ResultMemoryLimit() const {
    qint64 limit = std::numeric_limits<qint64>::max();
    struct sysinfo info {};
    if (sysinfo(&info) == 0) {
        const auto unit = qint64(info.mem_unit ? info.mem_unit : 1);
        limit = (qint64(info.totalram) + qint64(info.totalswap)) * unit;
    }
    struct rlimit space {};
    if (getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY)
        limit = std::min<qint64>(limit, qint64(space.rlim_cur));
    return limit;
}

} // namespace mGlyfora
