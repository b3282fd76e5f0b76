#pragma once
// Everything the program is, minus its windows: created once by each front end (the desktop
// program, the command line, the tests) with its own user-interface port.
#include <string>

#include "state/AppState.h"
#include "platform/CommandLine.h"
#include "app/Startup.h"
#include "state/UiPort.h"
#include "files/JobLists.h"
#include "favourites/FavouritesBatch.h"
#include "files/Runs.h"
#include "password/PasswordFlow.h"

namespace vaultwing {

class Application {
public:
    Application(const std::string& programFolder, UiPort& ui, CommandLine commandLine = {})
        : Application(platform::FoldersIn(programFolder), ui, std::move(commandLine)) {}
    Application(platform::Folders folders, UiPort& ui, CommandLine commandLine = {})
        : state(std::move(folders)), lists(state, ui), favouritesBatch(state, ui, lists), runs(state, ui),
          passwords(state, ui, lists, runs), startup(state, ui, lists, std::move(commandLine)) {}

    AppState state;
    JobLists lists;
    FavouritesBatch favouritesBatch;
    Runs runs;
    PasswordFlow passwords;
    Startup startup;
};

} // namespace vaultwing
