// Where the program's files live, decided from the layout beside the executable and the
// environment. Pure inputs, so the Windows rows run everywhere.
#include "platform/Folders.h"

#include <gtest/gtest.h>

namespace vaultwing::platform {
namespace {

FolderFacts Installed(std::string executableFolder = "/usr/bin") {
    FolderFacts facts;
    facts.executableFolder = std::move(executableFolder);
    facts.languageFilesShared = true;
    facts.userHome = "/home/ann";
    return facts;
}

TEST(Folders, DecidedByTheLayoutBesideTheExecutable) {
    FolderFacts build;
    build.executableFolder = "/src/vaultwing/build/dev/bin";
    build.languageFilesBeside = true;
    FolderFacts portable = Installed("/media/stick/bin"); // a share/vaultwing above does not count
    portable.languageFilesBeside = true;
    FolderFacts home = Installed();
    home.home = "/tmp/vw";
    FolderFacts noLanguages = Installed("/opt/vw");
    noLanguages.languageFilesShared = false;
    FolderFacts homeless = Installed();
    homeless.userHome.clear();
    FolderFacts xdg = Installed("/usr/local/bin");
    xdg.xdgConfigHome = "/cfg";
    xdg.xdgDataHome = "/data/";
    xdg.xdgCacheHome = "/var/cache/ann";
    FolderFacts relativeXdg = Installed();
    relativeXdg.xdgConfigHome = "cfg";
    relativeXdg.xdgDataHome = "data";
    relativeXdg.xdgCacheHome = "cache";
    FolderFacts windows;
    windows.windows = true;
    windows.executableFolder = "C:\\Program Files\\Vaultwing";
    windows.appData = "C:\\Users\\Ann\\AppData\\Roaming";
    windows.languageFilesShared = true; // Windows has no installed layout
    FolderFacts windowsReadOnly = windows;
    windowsReadOnly.executableFolderWritable = false;
    FolderFacts windowsNoAppData = windowsReadOnly;
    windowsNoAppData.appData.clear();

    const std::string appData = "C:\\Users\\Ann\\AppData\\Roaming\\Vaultwing";
    const std::string winProgram = windows.executableFolder;
    const struct {
        const char* what;
        FolderFacts facts;
        Folders expected;
    } rows[] = {
        {"build folder", build, FoldersIn(build.executableFolder)},
        {"portable copy", portable, FoldersIn("/media/stick/bin")},
        {"VAULTWING_HOME", home, FoldersIn("/tmp/vw")},
        {"no language files anywhere", noLanguages, FoldersIn("/opt/vw")},
        {"installed without a home", homeless, FoldersIn("/usr/bin")},
        {"installed, XDG unset",
         Installed(),
         {"/usr/bin",
          "/home/ann/.config/vaultwing",
          {"/home/ann/.local/share/vaultwing", "/usr/share/vaultwing"},
          "/home/ann/.cache/vaultwing",
          "/usr/share/vaultwing",
          true,
          true}},
        {"installed, XDG set",
         xdg,
         {"/usr/local/bin",
          "/cfg/vaultwing",
          {"/data/vaultwing", "/usr/local/share/vaultwing"},
          "/var/cache/ann/vaultwing",
          "/usr/local/share/vaultwing",
          true,
          true}},
        {"installed, relative XDG ignored",
         relativeXdg,
         {"/usr/bin",
          "/home/ann/.config/vaultwing",
          {"/home/ann/.local/share/vaultwing", "/usr/share/vaultwing"},
          "/home/ann/.cache/vaultwing",
          "/usr/share/vaultwing",
          true,
          true}},
        {"Windows, writable program folder", windows, FoldersIn(winProgram)},
        {"Windows, read-only program folder",
         windowsReadOnly,
         {winProgram, appData, {winProgram}, appData, winProgram, true, false}},
        {"Windows, read-only, no %APPDATA%", windowsNoAppData, FoldersIn(winProgram)},
    };
    for (const auto& row : rows) {
        const Folders folders = DecideFolders(row.facts);
        const Folders& expected = row.expected;
        EXPECT_EQ(folders.program, expected.program) << row.what;
        EXPECT_EQ(folders.settings, expected.settings) << row.what;
        EXPECT_EQ(folders.languages, expected.languages) << row.what;
        EXPECT_EQ(folders.cache, expected.cache) << row.what;
        EXPECT_EQ(folders.documents, expected.documents) << row.what;
        EXPECT_EQ(folders.perUser, expected.perUser) << row.what;
        EXPECT_EQ(folders.installed, expected.installed) << row.what;
    }
}

} // namespace
} // namespace vaultwing::platform
