#include "files/Runs.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "support/AppFixture.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

class RunsTest : public AppFixture {
protected:
    // Encrypts `files` with `password` through a run, as the encryption dialog's OK does.
    RunResult EncryptAll(const std::vector<std::string>& files, const std::string& password = "s3cret!pw") {
        app.lists.lstDateienEnc = files;
        app.state.password = password;
        return app.runs.Encrypt(app.lists.lstDateienEnc);
    }
    RunResult DecryptAll(const std::vector<std::string>& files, const std::string& password = "s3cret!pw") {
        app.lists.lstDateienDec = files;
        app.state.password = password;
        return app.runs.Decrypt(app.lists.lstDateienDec);
    }
};

TEST_F(RunsTest, EncryptThenDecryptWritesBesideTheSourceAndEndsCleanly) {
    app.state.runMode = RunMode::Interactive;
    const auto f = Make("b.txt", "hello, world");
    ASSERT_EQ(EncryptAll({f}), RunResult::Completed);
    EXPECT_TRUE(fs::exists(f + ".vwx"));
    EXPECT_EQ(fs::file_size(f + ".vwx"), 24U);
    EXPECT_TRUE(fs::exists(f)); // Delete is not "1"
    EXPECT_TRUE(app.lists.lstDateienEnc.empty());
    EXPECT_TRUE(app.state.password.empty());
    EXPECT_EQ(ui.progressDirection, RunDirection::Encrypt);
    EXPECT_EQ(ui.progressCaption, "T200");
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_TRUE(ui.mainVisible);

    fs::remove(f);
    ASSERT_EQ(DecryptAll({f + ".vwx"}), RunResult::Completed);
    EXPECT_EQ(ReadFile(f), "hello, world");
    EXPECT_EQ(ui.progressDirection, RunDirection::Decrypt);
    EXPECT_EQ(ui.progressCaption, "T202");
}

TEST_F(RunsTest, ProgressStartsAtZeroForEveryFileAndReaches100) {
    const auto a = Make("a", std::string(5000, 'a'));
    const auto b = Make("b", std::string(70, 'b'));
    ASSERT_EQ(EncryptAll({a, b}), RunResult::Completed);
    EXPECT_EQ(ui.progressFiles, (std::vector<std::string>{"a", "b"}));
    // 0 before the run, then per file: the cipher's 0..100 and the reset to 0.
    ASSERT_GE(ui.percents.size(), 5U);
    EXPECT_EQ(ui.percents.front(), 0);
    EXPECT_EQ(ui.percents.back(), 0);
    EXPECT_TRUE(std::is_sorted(ui.percents.begin() + 1, ui.percents.begin() + 3));
    EXPECT_EQ(std::count(ui.percents.begin(), ui.percents.end(), 100), 2);
}

TEST_F(RunsTest, WrongPasswordForTheSecondOfThreeStopsThereAndNamesIt) {
    const auto one = Make("1.txt", "one"), two = Make("2.txt", "two"), three = Make("3.txt", "three");
    ASSERT_EQ(EncryptAll({one, three}, "first-password"), RunResult::Completed);
    ASSERT_EQ(EncryptAll({two}, "other-password"), RunResult::Completed);
    for (const auto& f : {one, two, three}) fs::remove(f);

    ASSERT_EQ(DecryptAll({one + ".vwx", two + ".vwx", three + ".vwx"}, "first-password"), RunResult::Failed);
    EXPECT_EQ(ReadFile(one), "one");
    EXPECT_FALSE(fs::exists(two));
    EXPECT_FALSE(fs::exists(three));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, two + ".vwx\r\n\r\nT600");
    EXPECT_EQ(ui.messages[0].title, "T418");
    EXPECT_TRUE(app.lists.lstDateienDec.empty());
}

TEST_F(RunsTest, SourceRemovedAfterListingFailsWith602) {
    const auto f = Make("gone.txt");
    fs::remove(f);
    EXPECT_EQ(EncryptAll({f}), RunResult::Failed);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, f + "\r\n\r\nT602");
}

TEST_F(RunsTest, ReadOnlySourceIsDestroyedWhenDeleteIsOne) {
    app.state.deleteSources = true;
    const auto f = Make("ro.txt", "read only");
    ASSERT_TRUE(platform::SetReadOnly(f, true));
    ASSERT_EQ(EncryptAll({f}), RunResult::Completed);
    EXPECT_FALSE(fs::exists(f));
    EXPECT_TRUE(fs::exists(f + ".vwx"));
    ASSERT_EQ(DecryptAll({f + ".vwx"}), RunResult::Completed);
    EXPECT_EQ(ReadFile(f), "read only");
    EXPECT_FALSE(fs::exists(f + ".vwx"));
}

TEST_F(RunsTest, SourcesStayWhileDeleteSourcesIsOff) {
    app.state.deleteSources = false;
    const auto f = Make("keep.txt");
    ASSERT_EQ(EncryptAll({f}), RunResult::Completed);
    EXPECT_TRUE(fs::exists(f));
}

TEST_F(RunsTest, EmptyListEndsAtOnceWithoutProgressWindow) {
    app.state.runMode = RunMode::Interactive;
    app.state.password = "whatever";
    EXPECT_EQ(app.runs.Encrypt(app.lists.lstDateienEnc), RunResult::Completed);
    EXPECT_TRUE(ui.progressFiles.empty());
    EXPECT_TRUE(app.state.password.empty());
    EXPECT_TRUE(ui.mainVisible);
}

TEST_F(RunsTest, MainWindowStaysHiddenAfterCommandLineAndHiddenBatchRuns) {
    for (const RunMode mode : {RunMode::CommandLine, RunMode::HiddenFavourites}) {
        app.state.runMode = mode;
        ui.mainVisible = false;
        ASSERT_EQ(EncryptAll({Make("m" + std::to_string(static_cast<int>(mode)))}), RunResult::Completed);
        EXPECT_FALSE(ui.mainVisible);
    }
}

TEST_F(RunsTest, CancelLeavesNoPartialFileAndLaterFilesUntouched) {
    const auto big = Make("big.bin", std::string(64 * 1024, 'x'));
    const auto later = Make("later.bin", "later");
    ui.cancelWhen = [this] { return ui.percents.size() > 5; };
    EXPECT_EQ(EncryptAll({big, later}), RunResult::Cancelled);
    EXPECT_FALSE(fs::exists(big + ".vwx"));
    EXPECT_FALSE(fs::exists(later + ".vwx"));
    EXPECT_EQ(ReadFile(big), std::string(64 * 1024, 'x'));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, big + "\r\n\r\nT610");
    // Nothing but the two sources is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(work.Path()), fs::directory_iterator()), 2);
}

TEST_F(RunsTest, ARunRequestedDuringARunIsRefusedAndTheFirstGoesOn) {
    const auto first = Make("first.bin", std::string(20000, 'f'));
    const auto intruder = Make("intruder.bin", "i");
    std::vector<std::string> other = {intruder};
    RunResult nested = RunResult::Completed;
    ui.onDoEvents = [&] {
        if (nested == RunResult::Completed) nested = app.runs.Decrypt(other);
    };
    EXPECT_EQ(EncryptAll({first}), RunResult::Completed);
    EXPECT_EQ(nested, RunResult::Refused);
    EXPECT_EQ(other, std::vector<std::string>{intruder});
    EXPECT_TRUE(fs::exists(first + ".vwx"));
    // And the key was the first run's: the file decrypts with its password.
    fs::remove(first);
    ui.onDoEvents = nullptr;
    EXPECT_EQ(DecryptAll({first + ".vwx"}), RunResult::Completed);
    EXPECT_EQ(ReadFile(first), std::string(20000, 'f'));
}

TEST_F(RunsTest, SetProgressClampsAndRounds) {
    ui.percents.clear();
    for (float p : {0.4F, 0.6F, 99.5F, 100.0F, 250.0F}) app.runs.SetProgress(p);
    EXPECT_EQ(ui.percents, (std::vector<int>{0, 1, 100, 100, 100}));
}

} // namespace
} // namespace vaultwing::test

namespace vaultwing::test {
namespace {

class VerifyBeforeDestroy : public RunsTest {};

TEST_F(VerifyBeforeDestroy, DamagedOutputKeepsTheSourceAndStopsTheRun) {
    app.state.deleteSources = true;
    const auto first = Make("first.txt", "first file");
    const auto second = Make("second.txt", "second file");
    app.runs.beforeVerify = [](const std::string& written) {
        // Flip one byte of the written file between writing and reading back.
        std::string bytes = ReadFile(written);
        bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x20);
        WriteFile(written, bytes);
    };
    EXPECT_EQ(EncryptAll({first, second}), RunResult::Failed);
    EXPECT_EQ(ReadFile(first), "first file");
    EXPECT_EQ(ReadFile(second), "second file");
    EXPECT_FALSE(fs::exists(second + ".vwx"));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, first + "\r\n\r\nT612");
}

TEST_F(VerifyBeforeDestroy, DamagedDecryptionKeepsTheEncryptedSource) {
    const auto f = Make("d.txt", "decrypt me");
    ASSERT_EQ(EncryptAll({f}), RunResult::Completed);
    fs::remove(f);
    app.state.deleteSources = true;
    app.runs.beforeVerify = [](const std::string& written) { WriteFile(written, "something else"); };
    EXPECT_EQ(DecryptAll({f + ".vwx"}), RunResult::Failed);
    EXPECT_TRUE(fs::exists(f + ".vwx"));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, f + ".vwx\r\n\r\nT612");
}

} // namespace
} // namespace vaultwing::test
