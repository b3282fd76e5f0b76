#include "app/LanguageChoice.h"

#include <algorithm>

#include "base/PathNames.h"
#include "base/VwxError.h"
#include "config/FindFiles.h"
#include "config/LanguageFile.h"
#include "platform/platform.h"

namespace vaultwing {

bool IsDriveRoot(const std::string& folder) {
    if (folder.empty() || folder == "/" || folder == "\\") return true;
    // "C:" and "C:\" (or "C:/"): a drive letter and at most one separator.
    return folder.size() <= 3 && folder.size() >= 2 && folder[1] == ':' &&
           (folder.size() == 2 || folder[2] == '\\' || folder[2] == '/');
}

Message DriveRootMessage() {
    return Message{std::string("Du versuchst das Programm vom Root eines Laufwerks auszuf\xC3\xBChren das ist nicht "
                               "erlaubt!") +
                       kCrLf + "You're trying to start the program from the root of a device, this is not allowed!",
                   "Achtung / Caution", MsgIcon::Critical, MsgButtons::Ok};
}

Message NoLanguageFileMessage() {
    return Message{std::string("Es wurde keine Sprachdatei gefunden") + kCrLf + "No valid Language File was found",
                   "Achtung / Warning", MsgIcon::Critical, MsgButtons::Ok};
}

Message InvalidLanguageFileMessage() {
    return Message{std::string("Du hast versucht eine ung\xC3\xBCltige Sprachdatei auszuw\xC3\xA4hlen!") + kCrLf +
                       "You tried to select a invalid language file!",
                   "Achtung / Caution", MsgIcon::Critical, MsgButtons::Ok};
}

std::vector<std::string> LanguageNames(const std::string& folder) {
    std::vector<std::string> files;
    try {
        (void)FindFiles(folder, files, "*.lng", 0, false);
    } catch (const VwxError&) {
        files.clear(); // an unreadable program folder offers no language: the window says so
    }
    std::vector<std::string> names;
    names.reserve(files.size());
    for (const std::string& file : files) {
        const auto slash = file.find_last_of("/\\");
        names.push_back(StripExtension(slash == std::string::npos ? file : file.substr(slash + 1)));
    }
    return names;
}

std::vector<std::string> LanguageNames(const std::vector<std::string>& folders) {
    std::vector<std::string> names;
    for (const std::string& folder : folders)
        for (std::string& name : LanguageNames(folder))
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
    return names;
}

std::string LanguageFilePath(const AppState& state, const std::string& name) {
    for (const std::string& folder : state.folders.languages) {
        std::string exact = folder + platform::kPathSeparator + name + ".lng";
        if (platform::FileAttributes(exact)) return exact;
        // The list drops the extension in any spelling ("ENGLISH.LNG" is "ENGLISH"): the file is
        // opened under the name it has.
        std::string found;
        (void)platform::EnumerateDirectory(folder, [&](const platform::DirEntry& entry) {
            const std::string_view entryName = entry.name;
            if (found.empty() && entry.kind == platform::EntryKind::File && entryName.size() == name.size() + 4 &&
                entryName.starts_with(name) && LowerAscii(std::string(entryName.substr(name.size()))) == ".lng")
                found = entryName;
        });
        if (!found.empty()) return folder + platform::kPathSeparator + found;
    }
    return state.folders.languages.front() + platform::kPathSeparator + name + ".lng";
}

void ChooseLanguage(AppState& state, const std::string& name) {
    (void)LoadLanguage(LanguageFilePath(state, name), state.texts);
}

} // namespace vaultwing
