#pragma once
// The in-use test the job lists run before a source that is to be destroyed is accepted.
#include <string>

namespace vaultwing {

// True only when another program holds `path` open or holds a lock on it; false for a free,
// missing or unreadable file and for anything that is not a plain file. A snapshot: the file
// may be opened by someone else right after. Never throws.
[[nodiscard]] bool FileInUse(const std::string& path);

} // namespace vaultwing
