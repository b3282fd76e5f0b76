#pragma once
// The process-wide values of the program, created once at start and handed to whoever needs
// them: run mode, the paths being worked on, the password of a run, the language texts and the
// in-memory copies of the settings.
#include <string>
#include <vector>

#include "config/LangTable.h"
#include "config/Settings.h"
#include "platform/Folders.h"

namespace vaultwing {

enum class RunMode {
    Interactive,     // the drop zone is shown
    CommandLine,     // started with paths; ends after the run
    HiddenFavourites // a favourites batch started while the drop zone was hidden
};

struct AppState {
    explicit AppState(platform::Folders where)
        : folders(std::move(where)), programFolder(folders.program), settings(folders) {}
    // Everything in one folder, as for a portable copy.
    explicit AppState(const std::string& folder) : AppState(platform::FoldersIn(folder)) {}

    platform::Folders folders; // where each of the program's files lives
    std::string programFolder; // the executable's folder (VAULTWING_HOME overrides it)
    Settings settings;         // VWX.ini in the settings folder
    LangTable texts;

    RunMode runMode = RunMode::Interactive;
    bool firstStart = false; // no language chosen yet: the language window asks first
    std::string currentFile; // the file a run processes
    std::string password;    // set by a password dialog's OK, wiped when the run ends
    std::string osName;
    bool runActive = false; // a run is working through a list (runs never nest)

    // In-memory copies of settings, read at start and when a run begins.
    bool deleteSources = false;
    std::string language;

    // The favourites list as the favourites window shows it (sorted, letter case ignored).
    std::vector<std::string> favourites;
    bool favouritesUnreadableShown = false; // the favourites file could not be read, and it was said

    [[nodiscard]] const std::string& Text(int index) const { return texts[index]; }
};

} // namespace vaultwing
