#pragma once
// The process-wide values of the program, created once at start and handed to whoever needs
// them: where its files live, the settings, the language texts, the run mode and the favourites.
#include <optional>
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
    std::string osName;
    bool runActive = false; // a run is working through a list (runs never nest)
    // vaultwing's --delete or --keep: this process destroys or keeps the sources whatever
    // Setting::DeleteSources says, and leaves the setting as it is.
    std::optional<bool> deleteSourcesThisTime;

    // The favourites list as the favourites window shows it (sorted, letter case ignored).
    std::vector<std::string> favourites;
    bool favouritesUnreadableShown = false; // the favourites file could not be read, and it was said

    [[nodiscard]] const std::string& Text(int index) const { return texts[index]; }
    // Whether a run destroys its sources: read when asked, so a change in the settings window
    // counts at once, also in the middle of a run.
    [[nodiscard]] bool DeletesSources() const {
        // The settings file is read only when no override is given: this is asked for every path.
        return deleteSourcesThisTime ? *deleteSourcesThisTime : settings.IsOn(Setting::DeleteSources);
    }
};

} // namespace vaultwing
