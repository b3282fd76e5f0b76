#include "password/PasswordFlow.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/AppFixture.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

class PasswordFlowTest : public AppFixture {};

TEST_F(PasswordFlowTest, RefusedPasswordShowsText100AndEmptiesTheFields) {
    app.lists.lstDateienEnc = {Make("a.txt")};
    for (const char* refused : {"abcde", "aaaaaa", "abcabc", ""}) {
        ui.messages.clear();
        const auto result = app.passwords.EncryptOk(refused, refused);
        EXPECT_EQ(result.outcome, KeyOkOutcome::Refused) << refused;
        ASSERT_EQ(ui.messages.size(), 1U);
        EXPECT_EQ(ui.messages[0].text, "T100");
        EXPECT_EQ(ui.messages[0].title, "T338");
        EXPECT_EQ(ui.events.back(), "clear: encrypt");
    }
    EXPECT_EQ(app.lists.lstDateienEnc.size(), 1U); // nothing ran
}

TEST_F(PasswordFlowTest, MismatchEmptiesBothFieldsBeforeTheMessage) {
    app.lists.lstDateienEnc = {Make("a.txt")};
    const auto result = app.passwords.EncryptOk("Correct-Horse1", "Correct-Horse2");
    EXPECT_EQ(result.outcome, KeyOkOutcome::Mismatch);
    ASSERT_GE(ui.events.size(), 2U);
    EXPECT_EQ(ui.events[ui.events.size() - 2], "clear: encrypt");
    EXPECT_EQ(ui.events.back(), "message: T336");
    EXPECT_FALSE(fs::exists(work / "a.txt.vwx"));
}

TEST_F(PasswordFlowTest, AcceptedPasswordRunsAndUnloadsTheDialog) {
    app.state.runMode = RunMode::Interactive;
    const auto f = Make("a.txt");
    app.lists.lstDateienEnc = {f};
    const auto result = app.passwords.EncryptOk("Correct-Horse1", "Correct-Horse1");
    EXPECT_EQ(result.outcome, KeyOkOutcome::Ran);
    EXPECT_EQ(result.run, RunResult::Completed);
    EXPECT_TRUE(fs::exists(f + ".vwx"));
    EXPECT_TRUE(ui.Saw("close: encrypt"));
    EXPECT_TRUE(app.state.password.empty());
    EXPECT_TRUE(ui.mainVisible);
}

TEST_F(PasswordFlowTest, EmptyDecryptionPasswordIsRefusedWithText352) {
    app.lists.lstDateienDec = {Make("a.vwx")};
    EXPECT_EQ(app.passwords.DecryptOk("").outcome, KeyOkOutcome::Refused);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, "T352");
    EXPECT_EQ(ui.messages[0].title, "T418");
}

TEST_F(PasswordFlowTest, InteractiveDecryptionKeepsTheDialogLoaded) {
    app.state.runMode = RunMode::Interactive;
    const auto f = Make("a.txt", "abc");
    app.lists.lstDateienEnc = {f};
    ASSERT_EQ(app.passwords.EncryptOk("pass-word-1", "pass-word-1").run, RunResult::Completed);
    fs::remove(f);
    app.lists.lstDateienDec = {f + ".vwx"};
    ui.events.clear();
    EXPECT_EQ(app.passwords.DecryptOk("x").run, RunResult::Failed); // any password is tried
    EXPECT_EQ(app.passwords.DecryptOk("pass-word-1").outcome, KeyOkOutcome::Ran);
    EXPECT_FALSE(ui.Saw("close: decrypt"));
    EXPECT_TRUE(ui.Saw("clear: decrypt"));
}

TEST_F(PasswordFlowTest, CommandLineWithBothListsOffersEncryptionAfterDecryption) {
    app.state.runMode = RunMode::CommandLine;
    const auto plain = Make("p.txt", "plain");
    const auto other = Make("o.txt", "other");
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

struct UnloadCase {
    RunMode runMode;
    bool mainShown;
    bool quits;
};

class DialogUnload : public PasswordFlowTest, public ::testing::WithParamInterface<UnloadCase> {};

TEST_P(DialogUnload, DropsTheListAndGoesOnByRunMode) {
    app.state.runMode = GetParam().runMode;
    app.state.password = "left over";
    app.lists.lstDateienEnc = {"x"};
    app.passwords.DialogUnloaded(PasswordDialog::Encrypt);
    EXPECT_TRUE(app.lists.lstDateienEnc.empty());
    EXPECT_TRUE(app.state.password.empty());
    EXPECT_EQ(ui.mainVisible, GetParam().mainShown);
    EXPECT_EQ(ui.quit, GetParam().quits);
}

INSTANTIATE_TEST_SUITE_P(RunModes, DialogUnload,
                         ::testing::Values(UnloadCase{RunMode::Interactive, true, false},
                                           UnloadCase{RunMode::CommandLine, false, true},
                                           UnloadCase{RunMode::HiddenFavourites, false, false}));

TEST_F(PasswordFlowTest, QualityTextIsPrefixNumberAndPercent) {
    EXPECT_EQ(app.passwords.QualityText("abcdef"), "T32418 %");
    EXPECT_EQ(app.passwords.QualityText("abc"), "T3240 %");
}

} // namespace
} // namespace vaultwing::test
