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

// With the hot region off, keys typed in other programs leave nothing queued in VWX: its memory
// stays flat over thousands of them (a queued press costs some 300 bytes). Needs an X server.
TEST(VwxProcess, KeysTypedElsewhereLeaveMemoryFlat) {
    if (std::getenv("VAULTWING_SCREENSHOTS") == nullptr || std::system("command -v xdotool >/dev/null") != 0)
        GTEST_SKIP() << "run through run_screenshots.sh, with xdotool";
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizer keeps freed memory resident: no measure of what stays queued";
#endif
    TempDir home;
    std::filesystem::copy_file(std::string(VAULTWING_LANG_DIR) + "/English.lng", home / "English.lng");
    IniStore(home.Str()).WriteSetting("Sprache", "English", kSettingsSection);
    const std::string start = "VAULTWING_HOME='" + home.Str() + "' '" + VAULTWING_VWX_PATH + "' & echo $! >" +
                              home / "pid" + "; sleep 3"; // started, its caps-lock timers running
    ASSERT_EQ(std::system(start.c_str()), 0);
    const std::string pid = std::to_string(std::stoi(ReadFile(home / "pid")));
    const auto residentKiB = [&] {
        const std::string status = ReadFile("/proc/" + pid + "/status");
        return std::stol(status.substr(status.find("VmRSS:") + 6));
    };
    const auto type = [](int keys) {
        const std::string command =
            "xdotool type --delay 0 \"$(head -c " + std::to_string(keys) + " /dev/zero | tr '\\0' a)\"; sleep 1";
        return std::system(command.c_str());
    };
    ASSERT_EQ(type(500), 0); // what the first keys allocate once is not what grows
    const long before = residentKiB();
    ASSERT_EQ(type(8000), 0);
    EXPECT_LT(residentKiB() - before, 1024);
    EXPECT_EQ(std::system(("kill -9 " + pid).c_str()), 0);
}

} // namespace
} // namespace vaultwing::test
