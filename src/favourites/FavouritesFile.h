#pragma once
// The favourites file "VWX-Fav" in the program folder: one entry per line, each ended by CR LF,
// bytes stored exactly as given. No header, quoting or escaping.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vaultwing {

inline constexpr const char* kFavouritesFileName = "VWX-Fav";

// The full path of the favourites file inside `folder`.
[[nodiscard]] std::string FavouritesPath(const std::string& folder);

// Every line of the file is one entry, empty lines included. Lines may end with CR LF, a lone
// LF or a lone CR; a last line without a line end counts. A missing file, or a name that is
// not a plain file (a folder, a hidden or special file), is an empty list, as is a file that
// cannot be read.
[[nodiscard]] std::vector<std::string> LoadFavourites(const std::string& folder);

// As LoadFavourites, but nullopt when a plain file is there and cannot be read. Whoever saves
// the list later must not take such a failure for an empty list: saving that would delete the
// user's file.
[[nodiscard]] std::optional<std::vector<std::string>> TryLoadFavourites(const std::string& folder);

// False for an entry the file cannot hold: a line break inside it would turn it into two.
[[nodiscard]] bool IsStorableFavourite(std::string_view entry);

// Writes every entry followed by CR LF, replacing the file as a whole: the new content goes to
// a temporary file beside it, is committed to disk and renamed over the old one, so the file
// is never half-written. An empty list deletes the file instead (a missing file is fine).
// Returns false, leaving the old file as it was, when writing fails or an entry is not
// storable.
[[nodiscard]] bool SaveFavourites(const std::string& folder, const std::vector<std::string>& entries);

} // namespace vaultwing
