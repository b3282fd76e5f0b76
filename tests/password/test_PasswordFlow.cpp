#include "password/PasswordFlow.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/AppFixture.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

class PasswordFlowTest : public AppFixture {};

TEST_F(PasswordFlowTest, RefusedPasswordsShowTheirTextAndNothingRuns) {
    app.lists.lstDateienEnc = {Make("a.txt")};
    app.lists.lstDateienDec = {Make("b.vwx")};
    for (const char* refused : {"abcde", "aaaaaa", "abcabc", ""}) {
        EXPECT_EQ(app.passwords.EncryptOk(refused, refused).outcome, KeyOkOutcome::Refused) << refused;
        EXPECT_EQ(ui.messages.back().text, "T100");
        EXPECT_EQ(ui.messages.back().title, "T338");
        EXPECT_EQ(ui.events.back(), "clear: encrypt");
    }
    EXPECT_EQ(app.passwords.EncryptOk("Correct-Horse1", "Correct-Horse2").outcome, KeyOkOutcome::Mismatch);
    EXPECT_EQ(ui.events[ui.events.size() - 2], "clear: encrypt"); // the fields empty before the message
    EXPECT_EQ(ui.events.back(), "message: T336");
    EXPECT_EQ(app.passwords.DecryptOk("").outcome, KeyOkOutcome::Refused);
    EXPECT_EQ(ui.messages.back().text, "T352");
    EXPECT_EQ(ui.messages.back().title, "T418");
    EXPECT_EQ(Names(work.Path()), (std::vector<std::string>{"a.txt", "b.vwx"}));
}

TEST_F(PasswordFlowTest, EncryptionClosesItsDialogDecryptionKeepsItsOpenUntilItSucceeds) {
    app.state.runMode = RunMode::Interactive;
    const auto f = Make("a.txt", "abc");
    app.lists.lstDateienEnc = {f};
    const auto result = app.passwords.EncryptOk("pass-word-1", "pass-word-1");
    EXPECT_EQ(result.outcome, KeyOkOutcome::Ran);
    EXPECT_EQ(result.run, RunResult::Completed);
    EXPECT_TRUE(ui.Saw("close: encrypt"));
    EXPECT_TRUE(app.state.password.empty());
    EXPECT_TRUE(ui.mainVisible);

    fs::remove(f);
    app.lists.lstDateienDec = {f + ".vwx"};
    EXPECT_EQ(app.passwords.DecryptOk("x").run, RunResult::Failed); // any password is tried
    app.lists.lstDateienDec = {f + ".vwx"};
    EXPECT_EQ(app.passwords.DecryptOk("pass-word-1").outcome, KeyOkOutcome::Ran);
    EXPECT_EQ(ReadFile(f), "abc");
    EXPECT_FALSE(ui.Saw("close: decrypt"));
    EXPECT_TRUE(ui.Saw("clear: decrypt"));
}

TEST_F(PasswordFlowTest, CommandLineWithBothListsOffersEncryptionAfterDecryption) {
    app.state.runMode = RunMode::CommandLine;
    const auto plain = Make("p.txt", "plain"), other = Make("o.txt", "other");
    app.lists.lstDateienEnc = {other};
    ASSERT_EQ(app.passwords.EncryptOk("pass-word-1", "pass-word-1").run, RunResult::Completed);
    ASSERT_TRUE(ui.quit); // the command-line run ended the program
    ui.quit = false;
    fs::remove(other);
    app.lists.lstDateienDec = {other + ".vwx"};
    app.lists.lstDateienEnc = {plain};
    ui.dialogsShown.clear();
    EXPECT_EQ(app.passwords.DecryptOk("pass-word-1").run, RunResult::Completed);
    EXPECT_EQ(ui.dialogsShown, std::vector{PasswordDialog::Encrypt});
    EXPECT_FALSE(ui.quit);
    EXPECT_EQ(app.passwords.EncryptOk("pass-word-2", "pass-word-2").run, RunResult::Completed);
    EXPECT_TRUE(fs::exists(plain + ".vwx"));
    EXPECT_TRUE(ui.quit);
}

// Events run in the middle of a run: a second dialog's OK or activation must not touch it.
TEST_F(PasswordFlowTest, SecondDialogCannotStartOrDisturbARun) {
    app.lists.lstDateienEnc = {Make("a.txt")};
    app.lists.lstDateienDec = {Make("b.txt.vwx")};
    app.state.runActive = true;
    app.state.password = "in use";
    app.passwords.DialogActivated();
    for (const KeyOk result : {app.passwords.EncryptOk("Secr3t!pw", "Secr3t!pw"), app.passwords.DecryptOk("x")}) {
        EXPECT_EQ(result.outcome, KeyOkOutcome::Busy);
        EXPECT_EQ(result.run, RunResult::Refused);
    }
    EXPECT_TRUE(ui.events.empty());
    EXPECT_EQ(app.state.password, "in use");
    EXPECT_EQ(app.lists.lstDateienEnc.size() + app.lists.lstDateienDec.size(), 2U);
    app.state.runActive = false;
    app.passwords.DialogActivated();
    EXPECT_TRUE(app.state.password.empty());
}

TEST_F(PasswordFlowTest, ClosedDialogDropsItsListAndGoesOnByRunMode) {
    for (const auto& [mode, mainShown, quits] : {std::tuple{RunMode::Interactive, true, false},
                                                 {RunMode::CommandLine, false, true},
                                                 {RunMode::HiddenFavourites, false, false}}) {
        app.state.runMode = mode;
        app.state.password = "left over";
        app.lists.lstDateienEnc = {"x"};
        ui.mainVisible = ui.quit = false;
        app.passwords.DialogUnloaded(PasswordDialog::Encrypt);
        EXPECT_TRUE(app.lists.lstDateienEnc.empty());
        EXPECT_TRUE(app.state.password.empty());
        EXPECT_EQ(ui.mainVisible, mainShown) << static_cast<int>(mode);
        EXPECT_EQ(ui.quit, quits) << static_cast<int>(mode);
    }
    EXPECT_EQ(app.passwords.QualityText("abcdef"), "T32418 %");
}

} // namespace
} // namespace vaultwing::test
