// Win32: the process's own protection.
#include "platform/platform.h"

namespace vaultwing::platform {

// Crash dumps on Windows come only from Windows Error Reporting set up for local dumps by an
// administrator; a program has no switch of its own for that short of changing the registry.
void DisableCoreDumps() {}

} // namespace vaultwing::platform
