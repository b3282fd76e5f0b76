// The real VWX program, started as a file manager or the Send To menu would start it.
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "config/IniFile.h"
#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

// A command line that leaves both job lists empty ends the start at once, without a window: here
// an empty argument, which names no path (not the working folder, where a file waits).
TEST(VwxProcess, CommandLineWithNothingToDoEndsAtOnce) {
    TempDir home, work;
    std::filesystem::copy_file(std::string(VAULTWING_LANG_DIR) + "/English.lng", home / "English.lng");
    IniStore(home.Str()).WriteSetting("Sprache", "English", kSettingsSection);
    WriteFile(work / "a.txt", "a");
    const std::string command = "cd '" + work.Str() + "' && VAULTWING_HOME='" + home.Str() +
                                "' QT_QPA_PLATFORM=offscreen timeout 120 '" + VAULTWING_VWX_PATH +
                                "' '' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);                // 124 would mean it kept running
    EXPECT_EQ(IniStore(home.Str()).ReadSetting("Left", kSettingsSection), ""); // ended without unload steps
    EXPECT_EQ(Names(work.Path()), std::vector<std::string>{"a.txt"});
}

} // namespace
} // namespace vaultwing::test
