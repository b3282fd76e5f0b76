#pragma once
// The process-wide values of the program, created once at start and handed to whoever needs
// them: run mode, the paths being worked on, the password of a run, the language texts and the
// in-memory copies of the settings.
#include <string>
#include <vector>

#include "config/LangTable.h"
#include "config/IniFile.h"

namespace vaultwing {

enum RunModeValue : short {
    kRunInteractive = 0,    // the drop zone is shown
    kRunCommandLine = 1,    // started with paths; ends after the run
    kRunHiddenFavourites = 2 // a favourites batch started while the drop zone was hidden
};

struct AppState {
    explicit AppState(std::string folder) : programFolder(std::move(folder)), settings(programFolder) {}

    std::string programFolder; // the executable's folder (VAULTWING_HOME overrides it)
    IniStore settings;         // VWX.ini in the program folder
    LangTable texts;

    short RunMode = kRunInteractive;
    short FirstStart = 0;
    std::string CurrentPath; // the path the job-list checks examine
    std::string CurrentFile; // the file a run processes
    std::string Password;    // set by a password dialog's OK, wiped when the run ends
    std::string OSName;
    bool runActive = false;  // a run is working through a list (runs never nest)

    // In-memory copies of settings (section "Einstellungen").
    std::string Delete = "0";
    std::string Pfad = "0";
    std::string Sprache;

    // The favourites list as the favourites window shows it (sorted, letter case ignored).
    std::vector<std::string> favourites;

    [[nodiscard]] const std::string& Text(int index) const { return texts[index]; }
};

} // namespace vaultwing
