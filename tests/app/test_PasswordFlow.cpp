#include "app/PasswordFlow.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/AppFixture.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

class PasswordFlowTest : public AppFixture {};

TEST_F(PasswordFlowTest, RefusedPasswordsShowTheirTextAndNothingRuns) {
    app.lists.toEncrypt = {Make("a.txt")};
    app.lists.toDecrypt = {Make("b.vwx")};
    EXPECT_EQ(app.passwords.EncryptOk("abcabc", "abcabc").handling, PasswordHandling::Refused);
    EXPECT_EQ(ui.messages.back().text, "T100");
    EXPECT_EQ(app.passwords.EncryptOk("Correct-Horse1", "Correct-Horse2").handling, PasswordHandling::Mismatch);
    EXPECT_EQ(ui.events[ui.events.size() - 2], "clear: encrypt"); // the fields empty before the message
    EXPECT_EQ(ui.events.back(), "message: T336");
    EXPECT_EQ(app.passwords.DecryptOk("").handling, PasswordHandling::Refused);
    EXPECT_EQ(ui.messages.back().text, "T352");
}

// Encryption closes its dialog; decryption keeps its open until it succeeds. On the command line
// with both lists, encryption is offered after decryption, and the program ends after the last.
TEST_F(PasswordFlowTest, DialogsCloseAndTheProgramEndsByRunMode) {
    app.state.runMode = RunMode::Interactive;
    const auto plain = Make("p.txt", "plain"), other = Make("o.txt", "other");
    app.lists.toEncrypt = {other};
    ASSERT_EQ(app.passwords.EncryptOk("pass-word-1", "pass-word-1").run, RunResult::Completed);
    EXPECT_TRUE(ui.Saw("close: encrypt") && !ui.quit);
    fs::remove(other);
    app.lists.toDecrypt = {other + ".vwx"};
    EXPECT_EQ(app.passwords.DecryptOk("x").run, RunResult::Failed); // the dialog stays for another try
    EXPECT_FALSE(ui.Saw("close: decrypt"));
    app.state.runMode = RunMode::CommandLine;
    app.lists.toDecrypt = {other + ".vwx"};
    app.lists.toEncrypt = {plain};
    ui.dialogsShown.clear();
    EXPECT_EQ(app.passwords.DecryptOk("pass-word-1").run, RunResult::Completed);
    EXPECT_EQ(ReadFile(other), "other");
    EXPECT_EQ(ui.dialogsShown, std::vector{PasswordDialog::Encrypt});
    EXPECT_FALSE(ui.quit);
    EXPECT_EQ(app.passwords.EncryptOk("pass-word-2", "pass-word-2").run, RunResult::Completed);
    EXPECT_TRUE(ui.quit);
}

// Events run in the middle of a run: a second dialog's OK must not start another.
TEST_F(PasswordFlowTest, SecondDialogCannotStartARun) {
    app.state.runActive = true;
    app.lists.toEncrypt = {Make("a.txt")};
    for (const PasswordOutcome result :
         {app.passwords.EncryptOk("Secr3t!pw", "Secr3t!pw"), app.passwords.DecryptOk("x")})
        EXPECT_EQ(result.handling, PasswordHandling::Busy);
    EXPECT_TRUE(ui.events.empty() && app.lists.toEncrypt.size() == 1U);
}

TEST_F(PasswordFlowTest, ClosedDialogDropsItsListAndGoesOnByRunMode) {
    for (const auto& [mode, mainShown, quits] : {std::tuple{RunMode::Interactive, true, false},
                                                 {RunMode::CommandLine, false, true},
                                                 {RunMode::HiddenFavourites, false, false}}) {
        app.state.runMode = mode;
        app.lists.toEncrypt = {"x"};
        ui.mainVisible = ui.quit = false;
        app.passwords.DialogUnloaded(PasswordDialog::Encrypt);
        EXPECT_TRUE(app.lists.toEncrypt.empty());
        EXPECT_EQ(ui.mainVisible, mainShown) << static_cast<int>(mode);
        EXPECT_EQ(ui.quit, quits) << static_cast<int>(mode);
    }
}

} // namespace
} // namespace vaultwing::test
