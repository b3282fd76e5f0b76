// Faults injected into real runs: no destination under its real name unless complete and
// correct, the source as it was (or as the other program left it), and a later run that succeeds.
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <thread>

#include "cipher/Verify.h"
#include "files/Runs.h"
#include "support/AppFixture.h"
#include "support/CliRunner.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPassword = "correct-horse-1";

// Bytes that never repeat within a file: a fault that duplicates or drops a block shows.
std::string Pattern(std::size_t size, unsigned seed) {
    std::mt19937_64 random(seed);
    std::string bytes;
    while (bytes.size() < size)
        bytes += std::to_string(random());
    return bytes.substr(0, size);
}

class CliFaults : public ::testing::Test {
protected:
    CliFaults() {
        fs::copy_file(fs::path(VAULTWING_LANG_DIR) / "English.lng", home.Path() / "English.lng");
        WriteFile(passwordFile, std::string(kPassword) + "\n");
    }
    [[nodiscard]] std::vector<std::string> Args(const std::string& path, const char* mode = "--delete") const {
        return {"--password-file", passwordFile, mode, "-q", path};
    }

    TempDir home;
    TempDir work;
    const std::string passwordFile = home / "pw";
};

// Encrypt or decrypt, with a limit on the bytes the program may write into any one file.
class WriteFailsPartWay : public CliFaults, public ::testing::WithParamInterface<std::pair<bool, rlim_t>> {};

TEST_P(WriteFailsPartWay, NothingPartialSourceKeptAndALaterRunSucceeds) {
    const auto [encrypt, limit] = GetParam();
    const std::string plain = work / "data.bin", encrypted = plain + ".vwx";
    const std::string original = Pattern((1 << 20) + 5, 7);
    WriteFile(plain, original);
    const std::string source = encrypt ? plain : encrypted;
    if (!encrypt) {
        ASSERT_EQ(RunCli(home.Str(), Args(plain)).exit, 0); // data.bin becomes data.bin.vwx
    }
    const std::string sourceBytes = ReadFile(source);

    CliOptions limited;
    limited.fileSizeLimit = limit;
    const auto out = RunCli(home.Str(), Args(source), limited);
    EXPECT_EQ(out.exit, 1) << out.err;
    EXPECT_NE(out.err.find(source), std::string::npos) << out.err;
    EXPECT_EQ(ReadFile(source), sourceBytes);
    EXPECT_EQ(Names(work.Path()), std::vector<std::string>{fs::path(source).filename().string()});

    const auto again = RunCli(home.Str(), Args(source, "--keep"));
    ASSERT_EQ(again.exit, 0) << again.err;
    EXPECT_EQ(ReadFile(plain), original);
    EXPECT_TRUE(EncryptedMatchesPlain(encrypted, plain, kPassword));
}

INSTANTIATE_TEST_SUITE_P(Limits, WriteFailsPartWay,
                         ::testing::Values(std::pair<bool, rlim_t>{true, 0}, std::pair<bool, rlim_t>{true, 600000},
                                           std::pair<bool, rlim_t>{true, (1 << 20) + 8}, // all but the last block
                                           std::pair<bool, rlim_t>{false, 500000},
                                           std::pair<bool, rlim_t>{false, (1 << 20) + 4})); // all but the last byte

// 300 files under `ulimit -n 64`: no more files in flight than the limit leaves room for, so none
// fails where one file after the other would succeed; both ways, byte-exact.
TEST_F(CliFaults, ManyFilesUnderALowDescriptorLimit) {
    for (unsigned i = 0; i < 300; ++i)
        WriteFile(work / ("f" + std::to_string(i)), Pattern(50 + i, i));
    CliOptions limited;
    limited.openFileLimit = 64;
    for (const char* way : {"encrypt", "decrypt"}) {
        const auto out = RunCli(home.Str(), Args(work.Str(), "--keep"), limited);
        ASSERT_EQ(out.exit, 0) << way << out.err;
        for (unsigned i = 0; i < 300; ++i) // the kept sources go, the outputs are the next run's sources
            fs::remove(work / ("f" + std::to_string(i) + (*way == 'e' ? "" : ".vwx")));
    }
    EXPECT_EQ(Names(work.Path()).size(), 300U);
    for (unsigned i = 0; i < 300; ++i)
        ASSERT_EQ(ReadFile(work / ("f" + std::to_string(i))), Pattern(50 + i, i)) << i;
}

// Ctrl+C part-way cancels the file (a cancelled run exits 1); a hang-up or SIGTERM ends the file
// like Cancel, and then the program as the signal would; SIGKILL leaves only a hidden temporary
// file. Neither is ever more readable than its source.
class SignalledPartWay : public CliFaults, public ::testing::WithParamInterface<int> {};

TEST_P(SignalledPartWay, NothingLeftButTheWholeSource) {
    const std::string plain = work / "film.mkv";
    const std::string original = Pattern(std::size_t{32} << 20, 42);
    WriteFile(plain, original);
    fs::permissions(plain, fs::perms(0600));
    CliProcess p(home.Str(), Args(plain)); // --delete: the source would go after a full run
    // Signalled once the temporary destination ".film.mkv.vwx.XXXXXX" has data in it.
    std::string temporary;
    for (int i = 0; i < 60000 && temporary.empty(); ++i) {
        for (const auto& name : Names(work.Path())) {
            std::error_code ec;
            if (name.rfind(".film.mkv.vwx.", 0) == 0 && fs::file_size(work / name, ec) > 0) temporary = name;
        }
        if (temporary.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(temporary.empty()) << "the program never started writing";
    EXPECT_EQ(fs::status(work / temporary).permissions(), fs::perms(0600));
    ::kill(p.Pid(), GetParam());
    EXPECT_EQ(p.Wait(), GetParam() == SIGINT ? 1 : -GetParam())
        << "the program finished before the signal: " << p.Err();
    EXPECT_TRUE(ReadFile(plain) == original);
    const bool cleanedUp = GetParam() != SIGKILL;
    EXPECT_EQ(p.Err().find(plain + "\n") != std::string::npos, cleanedUp) << p.Err();
    using Strings = std::vector<std::string>;
    EXPECT_EQ(Names(work.Path()), (cleanedUp ? Strings{"film.mkv"} : Strings{temporary, "film.mkv"}));
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalledPartWay, ::testing::Values(SIGKILL, SIGHUP, SIGTERM, SIGINT));

// The source changed between listing and run, or during the run.
enum class Change { Removed, Replaced };

class SourceChanged : public AppFixture, public ::testing::WithParamInterface<std::tuple<Change, bool>> {};

TEST_P(SourceChanged, NoPartialOutputAndTheSourceIsWhatTheOtherProgramLeft) {
    const Change change = std::get<0>(GetParam());
    const bool encrypt = std::get<1>(GetParam());
    const std::string original = Pattern(300000, 1);
    const std::string plain = Make("notes.txt", original), encrypted = plain + ".vwx";
    WriteFile(home / "original", original);
    if (!encrypt) {
        Cipher().EncryptFile(plain, encrypted, kPassword);
        fs::remove(plain);
    }
    const std::string source = encrypt ? plain : encrypted, dest = encrypt ? encrypted : plain;
    const auto destinationIsWhole = [&] {
        return encrypt ? EncryptedMatchesPlain(dest, home / "original", kPassword) : ReadFile(dest) == original;
    };
    const std::string sourceBytes = ReadFile(source);
    // The strongest case: the run would destroy the source afterwards.
    (void)app.state.settings.SetOn(Setting::DeleteSources, true);
    app.runs.cipher().SetStreamBufferSize(4096);

    std::string left = sourceBytes; // the source as the other program leaves it
    std::function<void()> midRun;
    switch (change) {
    case Change::Removed:
        fs::remove(source);
        left.clear();
        break;
    case Change::Replaced:
        left = left.substr(100) + "new version";
        midRun = [&] {
            WriteFile(source + ".new", left);
            fs::rename(source + ".new", source);
        };
        break;
    }
    int calls = 0;
    ui.onLetEventsRun = [&] {
        if (++calls == 3 && midRun) midRun();
    };
    std::vector<std::string> list{source};
    const Secret key(kPassword);
    const RunResult result = encrypt ? app.runs.Encrypt(list, key) : app.runs.Decrypt(list, key);

    EXPECT_EQ(result, RunResult::Failed);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text.rfind(source + "\r\n", 0), 0U) << ui.messages[0].text;
    EXPECT_EQ(fs::exists(source) ? ReadFile(source) : "", left);
    // A destination under its real name only when complete: the file was replaced after it had
    // been read whole, and the check before destroying stopped the run.
    if (fs::exists(dest)) {
        EXPECT_EQ(change, Change::Replaced);
        EXPECT_TRUE(destinationIsWhole());
        fs::remove(dest);
    }
    EXPECT_EQ(Names(work.Path()).size(), change == Change::Removed ? 0U : 1U);
}

INSTANTIATE_TEST_SUITE_P(Changes, SourceChanged,
                         ::testing::Combine(::testing::Values(Change::Removed, Change::Replaced), ::testing::Bool()));

} // namespace
} // namespace vaultwing::test
