// Lowering and raising the permission-overriding capabilities of the calling thread.
#include "tests/support/FilePermissions.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testsupport {

namespace {

struct Capabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};

    bool Get() { return ::syscall(SYS_capget, &header, data) == 0; }
    bool Set() { return ::syscall(SYS_capset, &header, data) == 0; }
};

constexpr unsigned Overriding =
    1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH | 1u << CAP_FOWNER;

} // namespace

PermissionsBind::PermissionsBind() {
    Capabilities caps;
    if (!caps.Get())
        return;
    savedEffective_ = caps.data[0].effective;
    if (!(savedEffective_ & Overriding)) {
        holds_ = true;
        return;
    }
    caps.data[0].effective &= ~Overriding;
    lowered_ = caps.Set();
    holds_ = lowered_;
}

PermissionsBind::~PermissionsBind() {
    if (!lowered_)
        return;
    Capabilities caps;
    if (caps.Get()) {
        caps.data[0].effective = savedEffective_;
        caps.Set();
    }
}

} // namespace testsupport
