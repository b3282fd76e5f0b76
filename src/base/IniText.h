#pragma once
// INI text as the Windows profile functions treat it: pure functions on a file's bytes. The
// platform's profile reader and writer use them on POSIX; the settings store sits above that.
//
// File shape: "[Section]" header lines, "key=value" lines below them. Section and key names
// match without regard to (ASCII) letter case; spaces and tabs around names and values do not
// count; a value enclosed in matching quotes (" or ') reads without them; lines starting with
// ';' are comments. Every line a write does not touch keeps its bytes.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vaultwing {

// Longest value a read returns, in characters (the profile functions' 255-byte buffer less its
// terminating NUL).
inline constexpr std::size_t kIniMaxValueChars = 254;

// Settings files larger than this are not read or rewritten (they cannot be ours).
inline constexpr std::size_t kIniMaxFileSize = 4 * 1024 * 1024;

// The value of `key` in `section` of the INI text `content`, as the program reads it: trimmed,
// quotes removed, cut to kIniMaxValueChars characters (never inside a UTF-8 sequence). Empty when
// the section or key is missing or either name is empty. With duplicates the first section of
// the name and in it the first key of the name count.
[[nodiscard]] std::string IniReadValue(std::string_view content, std::string_view section, std::string_view key);

// `content` with `key` in `section` set to `value`: an existing key's line is replaced in place
// (keeping its name's spelling and its line end), a new key goes after the last non-blank line
// of its section, a new section at the end of the file. New lines end in CR LF. nullopt when
// nothing may be written: an empty or malformed name (line breaks, '=' or a leading '[' or ';'
// in a key, ']' in a section, surrounding blanks) or a value with a line break or NUL, any of
// which would change other lines of the file or not read back.
[[nodiscard]] std::optional<std::string> IniUpdateValue(std::string_view content, std::string_view section,
                                                        std::string_view key, std::string_view value);

// `text` cut to at most `maxChars` characters, counting a UTF-8 sequence as one character and
// any byte that does not start a valid sequence as one.
[[nodiscard]] std::string CutToChars(std::string_view text, std::size_t maxChars);

// True when `name` holds nothing but blanks (spaces, tabs, CR ...): no key at all.
[[nodiscard]] bool IniNameBlank(std::string_view name);

// True when `key` and `value` may be written to `section`: the names and value IniUpdateValue
// accepts.
[[nodiscard]] bool IniWritable(std::string_view section, std::string_view key, std::string_view value);

} // namespace vaultwing
