#pragma once
// Letter case folded as Windows-1252 folds it: comparing, sorting and whole-entry search in a list
// (the favourites list and its paths).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vaultwing {

// True when `a` and `b` are equal apart from letter case. Case is folded for ASCII and for
// the letters of Windows-1252 (Latin-1 letters such as Ä/ä, and Š/š, Œ/œ, Ž/ž, Ÿ/ÿ); every
// other character must match exactly. Both texts are UTF-8; malformed bytes compare as bytes.
// Orders two texts as a sorted list box does: letter case ignored (as EqualsIgnoringCase
// folds it), then by code point. Returns <0, 0 or >0.
[[nodiscard]] int CompareIgnoringCase(std::string_view a, std::string_view b);

// Inserts `entry` where it belongs in a list kept sorted by CompareIgnoringCase (after equal
// entries); returns its index.
std::size_t InsertSorted(std::vector<std::string>& list, std::string entry);

[[nodiscard]] bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Index of the first entry of `list` that equals `text` as a whole, ignoring letter case;
// nullopt when there is none.
[[nodiscard]] std::optional<std::size_t> FindListEntry(const std::vector<std::string>& list, std::string_view text);

} // namespace vaultwing
