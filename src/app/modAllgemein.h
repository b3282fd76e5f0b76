#pragma once
// Shared path routines. All of them look at the whole path string, so a "." in a folder name
// counts as the start of an extension.
#include <cstdint>
#include <string>

namespace vaultwing {

// Size in bytes, or -1 when it cannot be read.
[[nodiscard]] std::int64_t FileLength(const std::string& path);

// True when the size of `path` can be read.
[[nodiscard]] bool FileExists(const std::string& path);

// True when the attributes of `path` can be read and carry the directory bit.
[[nodiscard]] bool IsDirectory(const std::string& path);

// The text after the last ".", lower-cased (ASCII); empty when there is no "." or the path
// ends with it.
[[nodiscard]] std::string GetExtension(const std::string& path);

// The path without its last "." and what follows; unchanged when it has no ".".
[[nodiscard]] std::string StripExtension(const std::string& path);

// The text after the last path separator; unchanged when there is none.
[[nodiscard]] std::string GetFileName(const std::string& path);

// ASCII lower case, the case-folding the program uses for extensions and comparisons.
[[nodiscard]] std::string LowerAscii(std::string text);

} // namespace vaultwing
