// The registry primitives and the file-type association built on them.
#include "platform/win32/registry.h"

#include "platform/platform.h"
#include "platform/win32/win32_text.h"

namespace vaultwing::platform {
namespace win32 {

std::string RegReadString(HKEY root, const std::string& subKey, const std::string& valueName,
                          const std::string& defaultValue) {
    const auto wideKey = ToWide(subKey);
    const auto wideValue = ToWide(valueName);
    if (!wideKey || !wideValue) return defaultValue;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, wideKey->c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return defaultValue;
    // A buffer of 255 blanks: what the query leaves untouched reads as blanks.
    std::wstring buffer(255, L' ');
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t)); // in bytes
    DWORD type = 0;
    const LONG status = ::RegQueryValueExW(key, wideValue->empty() ? nullptr : wideValue->c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(buffer.data()), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return defaultValue;
    // The text up to its terminating NUL (a value stored without one ends at its size).
    buffer.resize(std::min<std::size_t>(size / sizeof(wchar_t), buffer.size()));
    if (const auto nul = buffer.find(L'\0'); nul != std::wstring::npos) buffer.resize(nul);
    const auto first = buffer.find_first_not_of(L' ');
    return FromWide(first == std::wstring::npos ? std::wstring() : buffer.substr(first));
}

LONG RegWriteString(HKEY root, const std::string& subKey, const std::string& valueName, const std::string& value) {
    const auto wideKey = ToWide(subKey);
    const auto wideName = ToWide(valueName);
    const auto wideValue = ToWide(value);
    if (!wideKey || !wideName || !wideValue) return ERROR_NO_UNICODE_TRANSLATION;
    HKEY key = nullptr;
    const LONG created = ::RegCreateKeyW(root, wideKey->c_str(), &key);
    if (created != ERROR_SUCCESS) return created;
    LONG status = ERROR_SUCCESS;
    const auto bytes = static_cast<DWORD>(wideValue->size() * sizeof(wchar_t));
    if (wideName->empty()) {
        status = ::RegSetValueW(key, L"", REG_SZ, wideValue->c_str(), bytes);
    } else {
        status = ::RegSetValueExW(key, wideName->c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wideValue->c_str()),
                                  bytes + sizeof(wchar_t));
    }
    ::RegCloseKey(key);
    return status;
}

LONG RegRemoveKey(HKEY root, const std::string& subKey) {
    const auto wideKey = ToWide(subKey);
    // An empty name would mean the root itself: never.
    if (!wideKey || wideKey->empty()) return ERROR_INVALID_PARAMETER;
    HKEY key = nullptr;
    LONG status = ::RegOpenKeyExW(root, wideKey->c_str(), 0, KEY_WRITE, &key);
    if (status != ERROR_SUCCESS) return status;
    status = ::RegDeleteKeyW(key, L"");
    ::RegCloseKey(key);
    return status;
}

bool WriteFileType(const ClassesRoot& where, const std::string& extension, const std::string& appPath,
                   const std::string& exeName, const std::string& description, const std::string& iconPath) {
    std::string folder = appPath;
    if (folder.empty() || folder.back() != '\\') folder.push_back('\\');
    const std::string p = where.prefix;
    const bool written = RegWriteString(where.root, p + "." + extension, "", exeName) == ERROR_SUCCESS;
    if (!written) return false;
    // The other results are not checked: a failed write leaves that key as it was.
    (void)RegWriteString(where.root, p + exeName, "", description);
    if (!iconPath.empty()) (void)RegWriteString(where.root, p + exeName + "\\DefaultIcon", "", iconPath + ",0");
    (void)RegWriteString(where.root, p + exeName + "\\shell\\open\\command", "", "\"" + folder + exeName + ".exe\" %1");
    return true;
}

void RemoveFileType(const ClassesRoot& where, const std::string& extension) {
    const std::string p = where.prefix;
    const std::string progId = RegReadString(where.root, p + "." + extension, "", "");
    if (progId.empty()) return; // not registered: nothing is removed
    (void)RegRemoveKey(where.root, p + "." + extension);
    // The system deletes only keys without sub-keys. The ones the association wrote go first,
    // deepest first; a key that holds anything else (another program's verbs) stays.
    for (const char* below : {"\\shell\\open\\command", "\\shell\\open", "\\shell", "\\DefaultIcon"})
        (void)RegRemoveKey(where.root, p + progId + below);
    (void)RegRemoveKey(where.root, p + progId);
}

} // namespace win32

void RegisterFileType(const std::string& extension, const std::string& appPath, const std::string& exeName,
                      const std::string& description, const std::string& iconPath) {
    // HKEY_CLASSES_ROOT takes new keys only from administrators; for everyone else the user's own
    // classes hold the association, which the shell reads through HKEY_CLASSES_ROOT just the same.
    if (!win32::WriteFileType(win32::kMachineClasses, extension, appPath, exeName, description, iconPath))
        (void)win32::WriteFileType(win32::kUserClasses, extension, appPath, exeName, description, iconPath);
}

void UnregisterFileType(const std::string& extension) {
    win32::RemoveFileType(win32::kMachineClasses, extension);
    win32::RemoveFileType(win32::kUserClasses, extension);
}

} // namespace vaultwing::platform
