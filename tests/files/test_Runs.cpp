#include "files/Runs.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "support/AppFixture.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

class RunsTest : public AppFixture {
protected:
    // A run over `files` with `password`, as a password dialog's OK starts it.
    RunResult Encrypt(const std::vector<std::string>& files, const std::string& password = "s3cret!pw") {
        app.lists.lstDateienEnc = files;
        app.state.password = password;
        return app.runs.Encrypt(app.lists.lstDateienEnc);
    }
    RunResult Decrypt(const std::vector<std::string>& files, const std::string& password = "s3cret!pw") {
        app.lists.lstDateienDec = files;
        app.state.password = password;
        return app.runs.Decrypt(app.lists.lstDateienDec);
    }
};

TEST_F(RunsTest, RoundTripBesideTheSourceThenTheDropZoneReturnsOnlyWhenItWasShown) {
    for (const RunMode mode : {RunMode::Interactive, RunMode::CommandLine, RunMode::HiddenFavourites}) {
        app.state.runMode = mode;
        ui.mainVisible = false;
        ui.events.clear();
        const auto f = Make("b" + std::to_string(static_cast<int>(mode)) + ".txt", "hello, world");
        ASSERT_EQ(Encrypt({f}), RunResult::Completed);
        EXPECT_EQ(fs::file_size(f + ".vwx"), 24U);
        EXPECT_TRUE(app.lists.lstDateienEnc.empty());
        EXPECT_TRUE(app.state.password.empty());
        fs::remove(f);
        ASSERT_EQ(Decrypt({f + ".vwx"}), RunResult::Completed);
        EXPECT_EQ(ReadFile(f), "hello, world");
        EXPECT_TRUE(fs::exists(f + ".vwx")); // sources are kept
        EXPECT_EQ(ui.mainVisible, mode == RunMode::Interactive) << static_cast<int>(mode);
        std::erase(ui.events, "main: show");
        const std::string name = fs::path(f).filename().string();
        EXPECT_EQ(ui.events,
                  (std::vector<std::string>{"progress: T200", "progress: file " + name, "progress: hide",
                                            "progress: T202", "progress: file " + name + ".vwx", "progress: hide"}));
    }
}

TEST_F(RunsTest, ProgressStartsAtZeroForEveryFileAndReaches100) {
    ASSERT_EQ(Encrypt({Make("a", std::string(5000, 'a')), Make("b", std::string(70, 'b'))}), RunResult::Completed);
    ASSERT_GE(ui.percents.size(), 5U);
    EXPECT_EQ(ui.percents.front(), 0);
    EXPECT_EQ(ui.percents.back(), 0);
    EXPECT_TRUE(std::is_sorted(ui.percents.begin() + 1, ui.percents.begin() + 3));
    EXPECT_EQ(std::count(ui.percents.begin(), ui.percents.end(), 100), 2);
    ui.percents.clear();
    for (const float p : {0.4F, 0.6F, 99.5F, 100.0F, 250.0F})
        app.runs.SetProgress(p);
    EXPECT_EQ(ui.percents, (std::vector<int>{0, 1, 100, 100, 100}));
}

TEST_F(RunsTest, WrongPasswordForTheSecondOfThreeStopsThereAndNamesIt) {
    const auto one = Make("1.txt", "one"), two = Make("2.txt", "two"), three = Make("3.txt", "three");
    ASSERT_EQ(Encrypt({one, three}, "first-password"), RunResult::Completed);
    ASSERT_EQ(Encrypt({two}, "other-password"), RunResult::Completed);
    for (const auto& f : {one, two, three})
        fs::remove(f);
    ASSERT_EQ(Decrypt({one + ".vwx", two + ".vwx", three + ".vwx"}, "first-password"), RunResult::Failed);
    EXPECT_EQ(ReadFile(one), "one");
    EXPECT_EQ(Names(work.Path()), (std::vector<std::string>{"1.txt", "1.txt.vwx", "2.txt.vwx", "3.txt.vwx"}));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, two + ".vwx\r\n\r\nT600");
    EXPECT_EQ(ui.messages[0].title, "T418");
    EXPECT_TRUE(app.lists.lstDateienDec.empty());
}

// Destroying sources takes a read-only source too; kept sources stay.
TEST_F(RunsTest, DeleteSourcesDestroysEvenReadOnlySources) {
    for (const bool destroy : {true, false}) {
        app.state.deleteSources = destroy;
        const auto f = Make(std::string("ro") + (destroy ? "1" : "0") + ".txt", "read only");
        ASSERT_TRUE(platform::SetReadOnly(f, true));
        ASSERT_EQ(Encrypt({f}), RunResult::Completed);
        EXPECT_EQ(fs::exists(f), !destroy) << "destroy " << destroy;
        (void)platform::SetReadOnly(f, false); // Windows removes no read-only file
        fs::remove(f);
        ASSERT_EQ(Decrypt({f + ".vwx"}), RunResult::Completed);
        EXPECT_EQ(ReadFile(f), "read only");
        EXPECT_EQ(fs::exists(f + ".vwx"), !destroy) << "destroy " << destroy;
    }
}

TEST_F(RunsTest, CancelLeavesNoPartialFileAndLaterFilesUntouched) {
    const auto big = Make("big.bin", std::string(64 * 1024, 'x'));
    const auto later = Make("later.bin", "later");
    ui.cancelWhen = [this] { return ui.percents.size() > 5; };
    EXPECT_EQ(Encrypt({big, later}), RunResult::Cancelled);
    EXPECT_EQ(ReadFile(big), std::string(64 * 1024, 'x'));
    EXPECT_EQ(Names(work.Path()), (std::vector<std::string>{"big.bin", "later.bin"}));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, big + "\r\n\r\nT610");
}

TEST_F(RunsTest, ARunRequestedDuringARunIsRefusedAndTheFirstGoesOn) {
    const auto first = Make("first.bin", std::string(20000, 'f'));
    std::vector<std::string> other = {Make("intruder.bin", "i")};
    const auto otherBefore = other;
    std::optional<RunResult> nested;
    ui.onDoEvents = [&] {
        if (!nested) nested = app.runs.Decrypt(other);
    };
    EXPECT_EQ(Encrypt({first}), RunResult::Completed);
    EXPECT_EQ(nested, RunResult::Refused);
    EXPECT_EQ(other, otherBefore);
    EXPECT_EQ(Names(work.Path()), (std::vector<std::string>{"first.bin", "first.bin.vwx", "intruder.bin"}));
}

// An output damaged between writing and reading back keeps its source and stops the run.
TEST_F(RunsTest, DamagedOutputKeepsTheSourceAndStopsTheRun) {
    app.state.deleteSources = true;
    const auto first = Make("first.txt", "first file"), second = Make("second.txt", "second file");
    app.runs.beforeVerify = [](const std::string& written) {
        std::string bytes = ReadFile(written);
        bytes[bytes.size() / 2] ^= 0x20;
        WriteFile(written, bytes);
    };
    EXPECT_EQ(Encrypt({first, second}), RunResult::Failed);
    EXPECT_EQ(ReadFile(first), "first file");
    EXPECT_FALSE(fs::exists(second + ".vwx"));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, first + "\r\n\r\nT612");

    app.runs.beforeVerify = nullptr;
    ASSERT_EQ(Encrypt({second}), RunResult::Completed);
    app.runs.beforeVerify = [](const std::string& written) { WriteFile(written, "something else"); };
    EXPECT_EQ(Decrypt({second + ".vwx"}), RunResult::Failed);
    EXPECT_TRUE(fs::exists(second + ".vwx"));
    EXPECT_EQ(ui.messages.back().text, second + ".vwx\r\n\r\nT612");
}

} // namespace
} // namespace vaultwing::test
