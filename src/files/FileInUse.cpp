#include "files/FileInUse.h"

#include "platform/platform.h"

namespace vaultwing {

bool FileInUse(const std::string& path) {
    return platform::FileInUse(path);
}

} // namespace vaultwing
