#include "files/SourceFiles.h"

#include "platform/platform.h"

namespace vaultwing {

bool DestroyFile(const std::string& path) {
    return platform::DestroyFile(path);
}

bool ClearReadOnly(const std::string& path, const std::function<void()>& letEventsRun) {
    const auto attributes = platform::FileAttributes(path);
    if (!attributes) return false;
    // The outcome is judged by reading the attribute again, not by the result of the change.
    (void)platform::SetReadOnly(path, false);
    if (letEventsRun) letEventsRun();
    const auto after = platform::FileAttributes(path);
    return after && (*after & platform::kAttrReadOnly) == 0;
}

} // namespace vaultwing
