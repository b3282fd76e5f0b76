#pragma once
// What the language window decides: whether the program may run from its folder, which
// languages it offers, and the three messages it shows before any language may be loaded
// (fixed in German and English for that reason).
#include <string>
#include <vector>

#include "state/AppState.h"
#include "state/Message.h"

namespace vaultwing {

// True for the root of a drive or of the file system ("C:\", "C:", "/"), where the program
// must not run: its settings and language files would lie in the root.
[[nodiscard]] bool IsDriveRoot(const std::string& folder);

[[nodiscard]] Message DriveRootMessage();
[[nodiscard]] Message NoLanguageFileMessage();
[[nodiscard]] Message InvalidLanguageFileMessage();

// The language names the window lists: every "*.lng" file of `folder` without folder and last
// extension, in the order the folder lists them. A folder that cannot be listed offers none.
[[nodiscard]] std::vector<std::string> LanguageNames(const std::string& folder);

// The language names of every folder in `folders`, each once: the first folder's file of a name
// wins (the user's own language files come before the installed ones).
[[nodiscard]] std::vector<std::string> LanguageNames(const std::vector<std::string>& folders);

// The path of language `name`: in the first language folder that holds `name`.lng, or the file of
// that name whose extension is spelt otherwise (".LNG"); else `name`.lng in the first folder.
[[nodiscard]] std::string LanguageFilePath(const AppState& state, const std::string& name);

// An entry chosen in the list is loaded at once (the windows take its texts only when the choice
// is confirmed, and the setting is written when the language window goes).
void ChooseLanguage(AppState& state, const std::string& name);

} // namespace vaultwing
