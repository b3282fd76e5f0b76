#pragma once
// Replacing a small file (settings, favourites, desktop entries) so that it is never seen
// half-written: the new content goes to a temporary file beside it, is committed to disk and
// renamed over the old one.
#include <string>
#include <string_view>

namespace vaultwing {

// False when the file could not be replaced; the old file is then as it was and no temporary
// file is left.
[[nodiscard]] bool ReplaceFileContents(const std::string& path, std::string_view content);

} // namespace vaultwing
