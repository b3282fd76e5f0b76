#pragma once
// Shell links and special folders (Win32 only).
#include <string>

namespace vaultwing::platform::win32 {

// Creates (or replaces) the shortcut `linkFile` pointing at `target` through the system's
// shell-link object. Empty strings and an icon index of 0 leave those fields unset. False when
// the object could not be made or the file not saved.
bool CreateLink(const std::string& target, const std::string& linkFile, const std::string& arguments,
                const std::string& description, const std::string& workingDir, const std::string& iconFile,
                int iconIndex);

// The target path stored in the shortcut `linkFile`; empty when it cannot be read.
[[nodiscard]] std::string ReadLinkTarget(const std::string& linkFile);

// The file-system path of the shell special folder `csidl` (CSIDL_SENDTO = 9, ...), or empty.
[[nodiscard]] std::string GetSpecialFolder(int csidl);

// The Send To shortcut's file: the Send To folder followed by "\Vaultwing.lnk"; empty when the
// folder cannot be determined.
[[nodiscard]] std::string SendToShortcutPath();

} // namespace vaultwing::platform::win32
