// The real VWX program, started as a file manager or the Send To menu would start it.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

#include "config/IniFile.h"
#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

int RunVwx(const std::string& home, const std::string& argument) {
    const std::string command = "VAULTWING_HOME='" + home + "' QT_QPA_PLATFORM=offscreen timeout 30 '" +
                                VAULTWING_VWX_PATH + "' '" + argument + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A command line that leaves both job lists empty ends the start at once, without a window.
TEST(VwxProcess, CommandLineWithNothingToDoEndsAtOnce) {
    TempDir home;
    TempDir work;
    std::filesystem::copy_file(std::string(VAULTWING_LANG_DIR) + "/English.lng", home / "English.lng");
    IniStore(home.Str()).WriteINI("Sprache", "English", kSettingsSection);
    std::filesystem::create_directory(work / "empty folder");
    EXPECT_EQ(RunVwx(home.Str(), work / "empty folder"), 0);               // 124 would mean it kept running
    EXPECT_EQ(IniStore(home.Str()).ReadINI("Left", kSettingsSection), ""); // ended without unload steps
}

} // namespace
} // namespace vaultwing::test
