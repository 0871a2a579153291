// File permissions that bind a test as they bind an ordinary user, also when it runs as
// root: the cases of a file that may not be read or a folder that may not be written then
// run for every user instead of being skipped for root.
#pragma once

namespace testsupport {

// While it lives, the calling thread works without the capabilities that override file
// permissions (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER): they are lowered from
// its effective set, and raised again when it goes. For a user who has none of them it
// changes nothing.
class PermissionsBind {
public:
    PermissionsBind();
    ~PermissionsBind();
    PermissionsBind(const PermissionsBind&) = delete;
    PermissionsBind& operator=(const PermissionsBind&) = delete;

    // False when the capabilities are still in effect (they could not be lowered).
    bool Holds() const { return holds_; }

private:
    unsigned savedEffective_ = 0;
    bool lowered_ = false;
    bool holds_ = false;
};

} // namespace testsupport
