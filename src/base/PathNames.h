#pragma once
// Path names as strings. All of them look at the whole path string, so a "." in a folder name
// counts as the start of an extension.
#include <string>

namespace vaultwing {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

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
