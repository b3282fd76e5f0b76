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
    // A run over `files` with `password`, as a password dialog's OK starts it.
    RunResult Run(bool encrypt, const std::vector<std::string>& files, const std::string& password = "s3cret!pw") {
        auto& list = encrypt ? app.lists.toEncrypt : app.lists.toDecrypt;
        list = files;
        const Secret key(password);
        return encrypt ? app.runs.Encrypt(list, key) : app.runs.Decrypt(list, key);
    }
};

// Both directions in every run mode, keeping or destroying (even read-only) sources; the drop
// zone returns only when it was shown before.
TEST_F(RunsTest, RoundTripBesideTheSource) {
    for (const RunMode mode : {RunMode::Interactive, RunMode::CommandLine, RunMode::HiddenFavourites}) {
        for (const bool destroy : {false, true}) {
            app.state.runMode = mode;
            (void)app.state.settings.SetOn(Setting::DeleteSources, destroy);
            ui.mainVisible = false;
            ui.events.clear();
            const auto f = Make("b" + std::to_string(static_cast<int>(mode) * 2 + destroy) + ".txt", "hello, world");
            const std::string name = fs::path(f).filename().string();
            ASSERT_TRUE(platform::SetReadOnly(f, true));
            ASSERT_EQ(Run(true, {f}), RunResult::Completed);
            EXPECT_EQ(fs::file_size(f + ".vwx"), 24U);
            EXPECT_EQ(fs::exists(f), !destroy) << name;
            EXPECT_TRUE(app.lists.toEncrypt.empty());
            (void)platform::SetReadOnly(f, false); // Windows removes no read-only file
            fs::remove(f);
            ASSERT_EQ(Run(false, {f + ".vwx"}), RunResult::Completed);
            EXPECT_EQ(ReadFile(f), "hello, world");
            EXPECT_EQ(fs::exists(f + ".vwx"), !destroy) << name;
            EXPECT_EQ(ui.mainVisible, mode == RunMode::Interactive) << name;
            std::erase(ui.events, "main: show");
            EXPECT_EQ(ui.events, (std::vector<std::string>{"progress: T200", "progress: file " + name, "progress: hide",
                                                           "progress: T202", "progress: file " + name + ".vwx",
                                                           "progress: hide"}));
        }
    }
}

TEST_F(RunsTest, WrongPasswordForTheSecondOfThreeStopsThereAndNamesIt) {
    const auto one = Make("1.txt", "one"), two = Make("2.txt", "two"), three = Make("3.txt", "three");
    ASSERT_EQ(Run(true, {one, three}, "first-password"), RunResult::Completed);
    ASSERT_EQ(Run(true, {two}, "other-password"), RunResult::Completed);
    for (const auto& f : {one, two, three})
        fs::remove(f);
    ASSERT_EQ(Run(false, {one + ".vwx", two + ".vwx", three + ".vwx"}, "first-password"), RunResult::Failed);
    EXPECT_EQ(Names(work.Path()), (std::vector<std::string>{"1.txt", "1.txt.vwx", "2.txt.vwx", "3.txt.vwx"}));
    EXPECT_EQ(ui.messages.at(0).text, two + ".vwx\r\n\r\nT600");
}

TEST_F(RunsTest, CancelLeavesNoPartialFileAndLaterFilesUntouched) {
    const auto big = Make("big.bin", std::string(64 * 1024, 'x'));
    const auto later = Make("later.bin", "later");
    ui.cancelWhen = [this] { return ui.percents.size() > 5; };
    EXPECT_EQ(Run(true, {big, later}), RunResult::Cancelled);
    EXPECT_EQ(Names(work.Path()), (std::vector<std::string>{"big.bin", "later.bin"}));
    EXPECT_EQ(ui.messages.at(0).text, big + "\r\n\r\nT610");
}

// Sources go only after their output reads back correctly.
TEST_F(RunsTest, DamagedOutputKeepsTheSourceAndStopsTheRun) {
    (void)app.state.settings.SetOn(Setting::DeleteSources, true);
    const auto first = Make("first.txt", "first file"), second = Make("second.txt", "second file");
    const auto damage = [](const std::string& written) {
        std::string bytes = ReadFile(written);
        bytes[bytes.size() / 2] ^= 0x20;
        WriteFile(written, bytes);
    };
    app.runs.beforeVerify = damage;
    EXPECT_EQ(Run(true, {first, second}), RunResult::Failed);
    EXPECT_EQ(ReadFile(first), "first file");
    EXPECT_FALSE(fs::exists(second + ".vwx"));
    EXPECT_EQ(ui.messages.at(0).text, first + "\r\n\r\nT612");

    app.runs.beforeVerify = nullptr;
    ASSERT_EQ(Run(true, {second}), RunResult::Completed);
    app.runs.beforeVerify = [](const std::string& written) { WriteFile(written, "something else"); };
    EXPECT_EQ(Run(false, {second + ".vwx"}), RunResult::Failed);
    EXPECT_TRUE(fs::exists(second + ".vwx"));
    EXPECT_EQ(ui.messages.back().text, second + ".vwx\r\n\r\nT612");

    // Decryption goes one file after the other: a failed check stops it there as well.
    app.runs.beforeVerify = nullptr;
    const auto third = Make("third.txt", "third file"), fourth = Make("fourth.txt", "fourth file");
    ASSERT_EQ(Run(true, {third, fourth}), RunResult::Completed);
    app.runs.beforeVerify = damage;
    EXPECT_EQ(Run(false, {third + ".vwx", fourth + ".vwx"}), RunResult::Failed);
    EXPECT_TRUE(fs::exists(fourth + ".vwx") && !fs::exists(fourth));
}

// Several files in flight: each source goes only after its own output read back correctly, in
// list order, and no later output is in place before.
TEST_F(RunsTest, ManyFilesDestroySourcesInListOrderAfterTheirOwnCheck) {
    (void)app.state.settings.SetOn(Setting::DeleteSources, true);
    app.runs.manyFiles->laneBuffer = 64;
    std::vector<std::string> files, outputs;
    for (int i = 0; i < 12; ++i) {
        files.push_back(Make("m" + std::to_string(10 + i), std::string(1 + 97 * i, static_cast<char>('a' + i))));
        outputs.push_back(files.back() + ".vwx");
    }
    std::vector<std::string> checked;
    app.runs.beforeVerify = [&](const std::string& written) {
        checked.push_back(written);
        for (std::size_t j = 0; j < files.size(); ++j) {
            EXPECT_EQ(fs::exists(files[j]), j + 1 >= checked.size()) << written << " " << j;
            EXPECT_EQ(fs::exists(outputs[j]), j < checked.size()) << written << " " << j;
        }
    };
    ASSERT_EQ(Run(true, files), RunResult::Completed);
    EXPECT_EQ(checked, outputs);
    app.runs.beforeVerify = nullptr;
    ASSERT_EQ(Run(false, outputs), RunResult::Completed);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(ReadFile(files[static_cast<std::size_t>(i)]), std::string(1 + 97 * i, static_cast<char>('a' + i)));
}

// A source swapped for an identical copy after it was read is not the file that was verified.
TEST_F(RunsTest, SourceReplacedAfterReadingIsKept) {
    (void)app.state.settings.SetOn(Setting::DeleteSources, true);
    const auto f = Make("swap.txt", "contents");
    app.runs.beforeVerify = [&f](const std::string&) { fs::copy_file(f, f + ".new"), fs::rename(f + ".new", f); };
    std::string kept;
    app.runs.sourceKept = [&kept](const std::string& source, const std::string& why) { kept = source + ": " + why; };
    EXPECT_EQ(Run(true, {f}), RunResult::Completed);
    EXPECT_EQ(kept, f + ": This file was replaced while it was processed, so it was kept.");
    EXPECT_EQ(ReadFile(f), "contents");
}

} // namespace
} // namespace vaultwing::test
