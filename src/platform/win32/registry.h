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

// Where a file-type association lives: HKEY_CLASSES_ROOT itself, or the user's own classes
// (HKEY_CURRENT_USER\Software\Classes), which Windows shows through HKEY_CLASSES_ROOT as well.
struct ClassesRoot {
    HKEY root;
    const char* prefix; // put in front of every key name
};
inline const ClassesRoot kMachineClasses{HKEY_CLASSES_ROOT, ""};
inline const ClassesRoot kUserClasses{HKEY_CURRENT_USER, "Software\\Classes\\"};

// Writes the association of "." + `extension` under `where`: the extension's key names the ProgID
// `exeName`, whose key holds `description`, the icon `iconPath`,0 (when given) and the open
// command "<appPath>\<exeName>.exe" %1. False when the extension's key could not be written.
bool WriteFileType(const ClassesRoot& where, const std::string& extension, const std::string& appPath,
                   const std::string& exeName, const std::string& description, const std::string& iconPath);

// Removes what WriteFileType wrote under `where` for `extension`, found through the ProgID the
// extension's key names; a ProgID key that holds other keys as well stays.
void RemoveFileType(const ClassesRoot& where, const std::string& extension);

} // namespace vaultwing::platform::win32
