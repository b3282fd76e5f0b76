#pragma once
// Registry access for the file-type association (Win32 only). The program writes nothing else
// to the registry: its settings live in VWX.ini.
#include <windows.h>

#include <string>

namespace vaultwing::platform::win32 {

// The string value `valueName` ("" = the key's default value) of `subKey` under `root`, without
// leading blanks; `defaultValue` when the key or value cannot be read.
[[nodiscard]] std::string RegReadString(HKEY root, const std::string& subKey, const std::string& valueName,
                                        const std::string& defaultValue);

// Creates or opens `subKey` and sets its value `valueName` ("" = the default value) to `value`
// as REG_SZ. Returns the system's status code (ERROR_SUCCESS = 0).
LONG RegWriteString(HKEY root, const std::string& subKey, const std::string& valueName, const std::string& value);

// Deletes `subKey`, which must have no sub-keys. Returns the system's status code.
LONG RegRemoveKey(HKEY root, const std::string& subKey);

} // namespace vaultwing::platform::win32
