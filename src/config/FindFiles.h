#pragma once
// Listing the files of a folder by wildcard pattern and attributes (the language window uses it
// to find the *.lng files beside the program).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vaultwing {

// True when `name` matches `pattern` as a whole. Both are compared as given (callers lower-case
// them). Wildcards: "*" any run of characters, "?" one character, "#" one digit, "[abc]" one
// of a set, "[a-z]" one of a range, "[!a-z]" one character not in the list ("[!]" any one).
// "[]" stands for no character at all; a "[" without its "]" stands for itself. Characters are
// Unicode code points of UTF-8 text; a byte that is not valid UTF-8 counts as one character.
[[nodiscard]] bool MatchesPattern(std::string_view name, std::string_view pattern);

// Adds to `files` every file of the folder `path` whose lower-cased name matches the
// lower-cased `pattern` and whose attributes carry every bit of `attributes` (platform::kAttr*
// values; 0 asks for none). Each is stored as `path`, a separator unless `path` ends with one,
// and the name, in the order the folder lists them. With `recursive`, sub-folders are listed
// too, depth first where they come; symbolic links to folders are never followed. Returns the
// number of files added.
// Throws VwxError 76 ("Path not found") when `path` (or, with `recursive`, a sub-folder)
// cannot be listed; files found before that stay in `files`.
long FindFiles(const std::string& path, std::vector<std::string>& files, std::string pattern, std::uint32_t attributes,
               bool recursive);

} // namespace vaultwing
