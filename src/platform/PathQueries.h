#pragma once
// What the file system says about a path, in the terms the program's checks use.
#include <cstdint>
#include <string>

namespace vaultwing {

// Size in bytes, or -1 when it cannot be read.
[[nodiscard]] std::int64_t FileLength(const std::string& path);

// True when the size of `path` can be read.
[[nodiscard]] bool FileExists(const std::string& path);

// True when the attributes of `path` can be read and carry the directory bit.
[[nodiscard]] bool IsDirectory(const std::string& path);

} // namespace vaultwing
