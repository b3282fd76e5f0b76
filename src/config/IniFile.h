#pragma once
// The settings store: VWX.ini and version.ini in the program folder, read and written through
// the platform's profile functions (INI files with the Windows profile semantics, base/IniText.h).
#include <string>

#include "platform/Folders.h"

namespace vaultwing {

inline constexpr const char* kSettingsSection = "Einstellungen";
inline constexpr const char* kSettingsFileName = "VWX.ini";
inline constexpr const char* kVersionFileName = "version.ini";

// The settings file VWX.ini and the live-update file version.ini (platform/Folders.h says
// where). Paths are computed once, when the store is made.
class IniStore {
public:
    // Both files in one folder.
    explicit IniStore(std::string programFolder);
    // VWX.ini in the settings folder, version.ini in the cache folder; a per-user settings folder
    // is made (owner only) when the first value is written.
    explicit IniStore(const platform::Folders& folders);

    // The value of `key` in `section` of VWX.ini; empty when the file, section or key is missing
    // or the file cannot be read.
    [[nodiscard]] std::string ReadSetting(const std::string& key, const std::string& section) const;

    // Sets `key` in `section` of VWX.ini to `value`, creating the file, section and key as
    // needed (platform::ProfileWrite: on POSIX the new file is written beside the old one,
    // committed to disk and renamed over it). A write that cannot be done (empty key, read-only
    // file or folder, unreadable file) changes nothing; the result tells whether the file now
    // holds the value.
    bool WriteSetting(const std::string& key, const std::string& value, const std::string& section);

    // As ReadSetting, on version.ini.
    [[nodiscard]] std::string ReadVersionFile(const std::string& key, const std::string& section) const;

    [[nodiscard]] const std::string& SettingsPath() const { return settingsPath_; }
    [[nodiscard]] const std::string& VersionPath() const { return versionPath_; }

private:
    std::string settingsPath_;
    std::string versionPath_;
    std::string folderToCreate_; // the per-user settings folder; empty when it is the program's own
};

} // namespace vaultwing
