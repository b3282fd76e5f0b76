#pragma once
// Where the program's files live. The layout beside the executable decides, so the rule is easy
// to predict: a copy whose language files lie beside it (the build folder, a portable copy)
// keeps everything in its own folder; an installed copy (language files in ../share/vaultwing
// next to its bin/) keeps the user's files in the user's XDG folders. VAULTWING_HOME overrides
// both. On Windows a program folder that cannot be written sends the user's files to
// %APPDATA%\Vaultwing.
#include <string>
#include <vector>

namespace vaultwing::platform {

struct Folders {
    std::string program;                // the executable's folder (or VAULTWING_HOME): file-manager entries
                                        // start VWX from here, relative favourites are relative to it
    std::string settings;               // VWX.ini and VWX-Fav
    std::vector<std::string> languages; // *.lng, searched in this order: a file in an earlier folder wins
    std::string cache;                  // version.ini during an update check
    std::string documents;              // the manuals and the icon
    bool perUser = false;               // settings and cache are the user's own folders, made on first write
    bool installed = false;             // a system-wide install: the package opens .vwx files with VWX

    bool operator==(const Folders&) const = default;
};

// Everything in one folder.
[[nodiscard]] Folders FoldersIn(const std::string& folder);

// What the decision looks at.
struct FolderFacts {
    bool windows = false;
    std::string home{};                                         // VAULTWING_HOME; empty when unset
    std::string executableFolder{};                             // without a trailing separator
    bool languageFilesBeside = false;                           // a *.lng file lies beside the executable
    bool languageFilesShared = false;                           // a *.lng file lies in SharedFolder(executableFolder)
    bool executableFolderWritable = true;                       // Windows: a file can be made there
    std::string appData{};                                      // Windows: %APPDATA%
    std::string userHome{};                                     // $HOME
    std::string xdgConfigHome{}, xdgDataHome{}, xdgCacheHome{}; // as set; empty when unset
};

[[nodiscard]] Folders DecideFolders(const FolderFacts& facts);

// <executableFolder>/../share/vaultwing, without the "..": the installed language files and manuals.
[[nodiscard]] std::string SharedFolder(const std::string& executableFolder);

// The facts of this process, and the folders they decide.
[[nodiscard]] FolderFacts GatherFolderFacts();
[[nodiscard]] Folders ProgramFolders();

// $XDG_DATA_HOME, or ~/.local/share when it is unset or not absolute: where desktop entries and
// file-manager scripts go (POSIX). Empty when neither names a folder.
[[nodiscard]] std::string UserDataHome();

// Creates `folder` and its missing parents, the ones it makes open to their owner only (POSIX
// 0700). True when the folder exists afterwards.
bool CreatePrivateFolder(const std::string& folder);

} // namespace vaultwing::platform
