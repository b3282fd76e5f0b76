#include "platform/PathQueries.h"

#include "platform/platform.h"

namespace vaultwing {

std::int64_t FileLength(const std::string& path) {
    return platform::FileSize(path);
}

bool FileExists(const std::string& path) {
    return FileLength(path) >= 0;
}

bool IsDirectory(const std::string& path) {
    const auto attrs = platform::FileAttributes(path);
    return attrs && (*attrs & platform::kAttrDirectory) != 0;
}

} // namespace vaultwing
