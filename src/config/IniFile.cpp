#include "config/IniFile.h"

#include <utility>

#include "base/IniText.h"
#include "platform/platform.h"

namespace vaultwing {

IniStore::IniStore(std::string programFolder)
    : settingsPath_(programFolder + platform::kPathSeparator + kSettingsFileName),
      versionPath_(std::move(programFolder) + platform::kPathSeparator + kVersionFileName) {}

std::string IniStore::ReadINI(const std::string& key, const std::string& section) const {
    if (IniNameBlank(key)) return {};
    return platform::ProfileRead(settingsPath_, section, key);
}

std::string IniStore::ReadVersionINI(const std::string& key, const std::string& section) const {
    if (IniNameBlank(key)) return {};
    return platform::ProfileRead(versionPath_, section, key);
}

bool IniStore::WriteINI(const std::string& key, const std::string& value, const std::string& section) {
    if (IniNameBlank(key)) return false;
    return platform::ProfileWrite(settingsPath_, section, key, value);
}

} // namespace vaultwing
