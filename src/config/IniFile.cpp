#include "config/IniFile.h"

#include <utility>

#include "base/IniText.h"
#include "platform/platform.h"

namespace vaultwing {

IniStore::IniStore(std::string programFolder)
    : settingsPath_(programFolder + platform::kPathSeparator + kSettingsFileName),
      versionPath_(std::move(programFolder) + platform::kPathSeparator + kVersionFileName) {}

IniStore::IniStore(const platform::Folders& folders)
    : settingsPath_(folders.settings + platform::kPathSeparator + kSettingsFileName),
      versionPath_(folders.cache + platform::kPathSeparator + kVersionFileName),
      folderToCreate_(folders.perUser ? folders.settings : std::string()) {}

std::string IniStore::ReadSetting(const std::string& key, const std::string& section) const {
    if (IniNameBlank(key)) return {};
    return platform::ProfileRead(settingsPath_, section, key);
}

std::string IniStore::ReadVersionFile(const std::string& key, const std::string& section) const {
    if (IniNameBlank(key)) return {};
    return platform::ProfileRead(versionPath_, section, key);
}

bool IniStore::WriteSetting(const std::string& key, const std::string& value, const std::string& section) {
    if (IniNameBlank(key)) return false;
    if (!folderToCreate_.empty()) (void)platform::CreatePrivateFolder(folderToCreate_);
    return platform::ProfileWrite(settingsPath_, section, key, value);
}

} // namespace vaultwing
