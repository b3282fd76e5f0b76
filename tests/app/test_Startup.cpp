#include "app/Startup.h"

#include <gtest/gtest.h>

#include "support/AppFixture.h"

namespace vaultwing::test {
namespace {

class StartUp : public AppFixture {
protected:
    // Runs the start-up of an Application started with `paths`; false when the process was ended at once.
    bool Start(const std::vector<std::string>& paths, bool present = true) {
        started.emplace(home.Str(), ui, ui, CommandLine{present, paths});
        FillWithIndexTexts(started->state.texts);
        ui.flow = &started->passwords;
        try {
            started->startup.Run();
            return true;
        } catch (const ProcessEnded&) {
            return false;
        }
    }
    void SetLanguage() { app.state.settings.SetText(Setting::Language, "Test"); }

    std::optional<Application> started;
};

// The first start only asks for the language; once it is chosen, the start-up runs again and loads it.
TEST_F(StartUp, FirstStartAsksForTheLanguageThenShowsTheDropZone) {
    EXPECT_TRUE(Start({}, false));
    EXPECT_TRUE(started->state.firstStart);
    EXPECT_EQ(ui.events, std::vector<std::string>{"language window"});
    SetLanguage();
    WriteFile(home / "Test.LNG", "000 VAULTWING LANGUAGEFILE\r\n216 Beenden\r\n"); // found in any spelling
    started->startup.Run();
    EXPECT_FALSE(started->state.firstStart);
    EXPECT_EQ(started->state.runMode, RunMode::Interactive);
    EXPECT_EQ(started->state.Text(216), "Beenden");
    EXPECT_EQ(ui.events, (std::vector<std::string>{"language window", "apply language", "tray: on", "main: show"}));
}

TEST_F(StartUp, CommandLineFillsBothListsAndOpensDecryptionFirst) {
    SetLanguage();
    const auto plain = Make("tree/a.txt"), encrypted = Make("b.vwx");
    EXPECT_TRUE(Start({Dir("tree"), encrypted}));
    EXPECT_EQ(started->state.runMode, RunMode::CommandLine);
    EXPECT_EQ(started->lists.toEncrypt, std::vector<std::string>{plain});
    EXPECT_EQ(started->lists.toDecrypt, std::vector<std::string>{encrypted});
    EXPECT_EQ(ui.dialogsShown, std::vector{PasswordDialog::Decrypt});
    EXPECT_FALSE(ui.trayIcon);
    EXPECT_FALSE(Start({}, true)); // no path: ends silently
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace vaultwing::test
