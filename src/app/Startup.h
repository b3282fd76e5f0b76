#pragma once
// Start-up: settings, the system check, the language, then either the paths of the command line
// or the drop zone.
#include <functional>
#include <string>
#include <vector>

#include "app/DesktopPort.h"
#include "files/JobLists.h"
#include "platform/CommandLine.h"
#include "platform/OsVersion.h"
#include "state/AppState.h"
#include "state/UiPort.h"

namespace vaultwing {

// How sorting the command line's paths into the job lists ended.
struct CommandLineSort {
    bool refused = false;     // a path was refused (message shown); the start must end now
    bool walkRefused = false; // a file inside a folder was refused (message shown, lists emptied)
};

class Startup {
public:
    Startup(AppState& state, UiPort& ui, DesktopPort& desktop, JobLists& lists, CommandLine commandLine);

    // The start-up sequence. Runs again when the language window confirms the first choice.
    void Run();

    // The system check: the code of the running system (OsName names it). The answer is kept
    // once it was decided without a failure.
    int OperatingSystemCode();
    // The refusal for the system in osName; ends the process.
    void ShowUnsupportedOS();

    // Runs the command-line path checks on every path in order and fills the job lists.
    CommandLineSort SortCommandLinePaths(const std::vector<std::string>& paths);

    // Where the version report comes from (the system; tests give their own).
    std::function<OsVersionReport()> queryOsVersion;

private:
    void EndNow();

    AppState& state_;
    UiPort& ui_;
    DesktopPort& desktop_;
    JobLists& lists_;
    CommandLine commandLine_;
    bool osKnown_ = false;
    int osCode_ = 0;
};

} // namespace vaultwing
