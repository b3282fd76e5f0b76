#pragma once
// Conversion of favourites between absolute paths and paths relative to a base folder (the
// working directory when the base is empty). Works with "\" (drive and network paths) and with
// "/" (POSIX paths, whose first part is the empty root). Failures are raised as VwxError.
#include <string>

#include "config/LangTable.h"

namespace vaultwing {

inline constexpr long kErrTooManySteps = 50001; // a relative path climbs above the base's first part
inline constexpr long kErrRootMismatch = 50011; // root check on, and drive or server differ
inline constexpr long kErrIndexOutOfRange = 9;  // the path lies above the base, or is empty

// The absolute form of `relative` against `base`. A relative path whose first part is not ".."
// is joined to the base unchanged; otherwise every ".." (wherever it stands) climbs one folder
// and the other parts are appended. Raises kErrTooManySteps when the climb passes the base's
// first part and kErrIndexOutOfRange for an empty relative path (description: language text
// kPathAboveBase of `texts`, or a fixed English text when that is empty or no table is given).
[[nodiscard]] std::string ResolvePath(const std::string& relative, const std::string& base,
                                      const std::string& separator);
[[nodiscard]] std::string ResolvePath(const std::string& relative, const std::string& base,
                                      const std::string& separator, const LangTable& texts);

// The form of `path` relative to `base`; parts are compared ignoring letter case. The first
// part (drive, server or POSIX root) is compared only when `rootCheck` is on, and then a
// difference raises kErrRootMismatch (language text kRootMismatch). A path above the base
// raises kErrIndexOutOfRange (language text kPathAboveBase). A path equal to the base gives "".
[[nodiscard]] std::string MakeRelativePath(const std::string& path, bool rootCheck, const std::string& base,
                                           const std::string& separator, const LangTable& texts);

} // namespace vaultwing
