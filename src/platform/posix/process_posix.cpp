// POSIX: the process's own protection.
#include "platform/platform.h"

#include <sys/resource.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace vaultwing::platform {

void DisableCoreDumps() {
    const rlimit none{0, 0};
    (void)::setrlimit(RLIMIT_CORE, &none);
#ifdef __linux__
    // A core pattern that pipes to a collector (systemd-coredump, apport) may ignore the limit.
    (void)::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

} // namespace vaultwing::platform
