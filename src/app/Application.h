#pragma once
// Everything the program is, minus its windows: created once by each front end (the desktop
// program, the command line, the tests) with its own user-interface port. The windows reach the
// core through the functions here.
#include <string>
#include <string_view>
#include <vector>

#include "app/DesktopPort.h"
#include "app/PasswordFlow.h"
#include "app/Startup.h"
#include "files/JobLists.h"
#include "files/Runs.h"
#include "platform/CommandLine.h"
#include "state/AppState.h"
#include "state/UiPort.h"

namespace vaultwing {

class Application {
    NoDesktop noDesktop_; // first: the windowless constructor hands it on before the rest is made
    DesktopPort& desktop_;

public:
    // The desktop program (and its tests): `ui` and `desktop` are usually one object.
    Application(const std::string& programFolder, UiPort& ui, DesktopPort& desktop, CommandLine commandLine = {})
        : Application(platform::FoldersIn(programFolder), ui, desktop, std::move(commandLine)) {}
    Application(platform::Folders folders, UiPort& ui, DesktopPort& desktop, CommandLine commandLine = {});
    // A program without windows (vaultwing).
    Application(platform::Folders folders, UiPort& ui) : Application(std::move(folders), ui, noDesktop_) {}
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Files and folders dropped on the drop zone, in the order the drop gives them, go into the
    // job lists, and each filled list opens its password dialog. Ignored while a run is active
    // (runs never nest, and the lists belong to the running one).
    void DropPaths(const std::vector<std::string>& paths);
    // The favourites commands of the drop zone's menu: one list from the favourites file, then
    // its dialog.
    void StartFavouritesBatch(RunDirection direction);

    // The texts of the loaded language.
    [[nodiscard]] const std::string& Text(int index) const { return state.Text(index); }
    // True while a run works through a list (its events run in the middle of a file).
    [[nodiscard]] bool RunActive() const { return state.runActive; }

    AppState state;
    JobLists lists;
    Runs runs;
    PasswordFlow passwords;
    Startup startup;

private:
    void OpenDialogsForLists();
};

} // namespace vaultwing
