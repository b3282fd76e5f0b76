#pragma once
// The settings store: INI files read and written the way the Windows profile functions treat
// them. The text work is done by pure functions on the file's bytes; IniStore adds the file.
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

inline constexpr const char* kSettingsSection = "Einstellungen";
inline constexpr const char* kSettingsFileName = "VWX.ini";
inline constexpr const char* kVersionFileName = "version.ini";

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

// The file-level reader and writer behind the POSIX profile functions (platform::ProfileRead and
// ProfileWrite); on Windows the system's own profile functions take their place.
[[nodiscard]] std::string IniFileRead(const std::string& path, const std::string& section, const std::string& key);
// Writes through a committed temporary file renamed over the old one, so the file is always
// either the old or the new one. Leaves a read-only or unreadable file alone.
bool IniFileWrite(const std::string& path, const std::string& section, const std::string& key,
                  const std::string& value);

// True when `key` and `value` may be written to `section`: the names and value IniUpdateValue
// accepts.
[[nodiscard]] bool IniWritable(std::string_view section, std::string_view key, std::string_view value);

// The settings file VWX.ini and the live-update file version.ini in the program folder.
// Paths are computed once, when the store is made.
class IniStore {
public:
    explicit IniStore(std::string programFolder);

    // The value of `key` in `section` of VWX.ini; empty when the file, section or key is missing
    // or the file cannot be read.
    [[nodiscard]] std::string ReadINI(const std::string& key, const std::string& section) const;

    // Sets `key` in `section` of VWX.ini to `value`, creating the file, section and key as
    // needed. The new file is written beside the old one, committed to disk and renamed over it,
    // so the file is always either the old or the new one. A write that cannot be done (empty
    // key, read-only file or folder, unreadable file) changes nothing and says nothing; the
    // result tells whether the file now holds the value, for callers that care.
    bool WriteINI(const std::string& key, const std::string& value, const std::string& section);

    // As ReadINI, on version.ini.
    [[nodiscard]] std::string ReadVersionINI(const std::string& key, const std::string& section) const;

    [[nodiscard]] const std::string& SettingsPath() const { return settingsPath_; }
    [[nodiscard]] const std::string& VersionPath() const { return versionPath_; }

private:
    std::string settingsPath_;
    std::string versionPath_;
};

} // namespace vaultwing
