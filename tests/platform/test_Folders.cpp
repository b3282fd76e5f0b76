// Where the files live: pure inputs, so the Windows rows run everywhere too.
#include "platform/Folders.h"

#include <gtest/gtest.h>

namespace vaultwing::platform {
namespace {

TEST(Folders, DecidedByTheLayoutBesideTheExecutable) {
    // clang-format off
    const Folders xdgUnset{"/usr/bin", "/h/.config/vaultwing", {"/h/.local/share/vaultwing", "/usr/share/vaultwing"},
                           "/h/.cache/vaultwing", "/usr/share/vaultwing", true, true};
    const struct {
        FolderFacts facts;
        Folders expected;
    } rows[] = {
        {{.executableFolder = "/b/bin", .languageFilesBeside = true}, FoldersIn("/b/bin")}, // the build folder
        {{.executableFolder = "/s/bin", .languageFilesBeside = true, .languageFilesShared = true, .userHome = "/h"},
         FoldersIn("/s/bin")}, // a portable copy, even in a bin/ beside a share/
        {{.home = "/vw", .executableFolder = "/usr/bin", .languageFilesShared = true, .userHome = "/h"}, FoldersIn("/vw")},
        {{.executableFolder = "/usr/bin", .languageFilesShared = true, .userHome = "/h"}, xdgUnset},
        {{.executableFolder = "/usr/bin", .languageFilesShared = true, .userHome = "/h", .xdgConfigHome = "c",
          .xdgDataHome = "d", .xdgCacheHome = "e"}, xdgUnset}, // relative ones do not count
        {{.executableFolder = "/usr/local/bin", .languageFilesShared = true, .userHome = "/h", .xdgConfigHome = "/c/",
          .xdgDataHome = "/d", .xdgCacheHome = "/e"},
         {"/usr/local/bin", "/c/vaultwing", {"/d/vaultwing", "/usr/local/share/vaultwing"}, "/e/vaultwing",
          "/usr/local/share/vaultwing", true, true}},
        {{.windows = true, .executableFolder = "C:\\VW", .appData = "C:\\AD"}, FoldersIn("C:\\VW")},
        {{.windows = true, .executableFolder = "C:\\VW", .executableFolderWritable = false, .appData = "C:\\AD"},
         {"C:\\VW", "C:\\AD\\Vaultwing", {"C:\\VW"}, "C:\\AD\\Vaultwing", "C:\\VW", true, false}},
        // clang-format on
    };
    for (const auto& row : rows)
        EXPECT_TRUE(DecideFolders(row.facts) == row.expected) << row.expected.program << " " << row.expected.settings;
}

} // namespace
} // namespace vaultwing::platform
