// Faults injected into real runs: through the `vaultwing` program (a write that fails part-way,
// a folder it may not write to, SIGKILL in the middle of a large file) and through the core's
// runs (the source removed, emptied, locked or changed between listing and run). After each: no
// destination under its real name unless complete and correct, the source as it was (or as the
// other program left it), a message naming the file, and a later run that succeeds.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "cipher/Frame.h"
#include "cipher/Verify.h"
#include "files/Runs.h"
#include "platform/HoldingProcess.h"
#include "support/AppFixture.h"
#include "support/CliRunner.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPassword = "correct horse 1";

// Bytes that never repeat within a file: a fault that duplicates or drops a block shows.
std::string Pattern(std::size_t size, unsigned seed) {
    std::mt19937_64 random(seed);
    std::string bytes(size + 8, '\0');
    for (std::size_t i = 0; i < size; i += 8) {
        const std::uint64_t word = random();
        std::memcpy(bytes.data() + i, &word, 8);
    }
    bytes.resize(size);
    return bytes;
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

struct WriteLimitCase {
    const char* name;
    bool encrypt;
    rlim_t limit; // bytes the program may write into any one file
};

class WriteFailsPartWay : public CliFaults, public ::testing::WithParamInterface<WriteLimitCase> {};

TEST_P(WriteFailsPartWay, NothingPartialSourceKeptAndALaterRunSucceeds) {
    const auto& c = GetParam();
    const std::string plain = work / "data.bin", encrypted = plain + ".vwx";
    const std::string original = Pattern((1 << 20) + 5, 7);
    WriteFile(plain, original);
    const std::string source = c.encrypt ? plain : encrypted;
    if (!c.encrypt) {
        ASSERT_EQ(RunCli(home.Str(), Args(plain)).exit, 0); // data.bin becomes data.bin.vwx
    }
    const std::string sourceBytes = ReadFile(source);

    CliOptions limited;
    limited.fileSizeLimit = c.limit;
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
                         ::testing::Values(WriteLimitCase{"EncryptNothingWritable", true, 0},
                                           WriteLimitCase{"EncryptAfterOneBlock", true, 8},
                                           WriteLimitCase{"EncryptHalfWay", true, 600000},
                                           WriteLimitCase{"EncryptAllButTheLastBlock", true, (1 << 20) + 8},
                                           WriteLimitCase{"DecryptNothingWritable", false, 0},
                                           WriteLimitCase{"DecryptHalfWay", false, 500000},
                                           WriteLimitCase{"DecryptAllButTheLastByte", false, (1 << 20) + 4}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(CliFaults, FolderItMayNotWriteToFailsNamingTheFileAndKeepsTheSource) {
    // Root passes over permission bits: the program then runs as "nobody", for whom they count.
    CliOptions options;
    options.asNobody = ::geteuid() == 0;
    const std::string folder = work / "ro", plain = folder + "/letter.txt";
    fs::create_directory(folder);
    WriteFile(plain, "Dear Sir, ...");
    const auto readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const auto enterable = readable | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    for (const std::string& open : {home.Str(), work.Str(), passwordFile, home / "English.lng", plain})
        fs::permissions(open, fs::is_directory(open) ? enterable : readable, fs::perm_options::add);
    fs::permissions(folder, enterable);

    const auto out = RunCli(home.Str(), Args(plain), options);
    EXPECT_EQ(out.exit, 1) << out.err;
    EXPECT_NE(out.err.find(plain), std::string::npos) << out.err;
    EXPECT_EQ(ReadFile(plain), "Dear Sir, ...");
    EXPECT_EQ(Names(folder), std::vector<std::string>{"letter.txt"});

    fs::permissions(folder, fs::perms::all);
    const auto again = RunCli(home.Str(), Args(plain, "--keep"), options);
    ASSERT_EQ(again.exit, 0) << again.err;
    EXPECT_TRUE(EncryptedMatchesPlain(plain + ".vwx", plain, kPassword));
}

TEST_F(CliFaults, DestinationNameTakenByAFolderFailsAndIsLeftAlone) {
    const std::string plain = work / "photo.jpg";
    WriteFile(plain, "JFIF...");
    fs::create_directory(plain + ".vwx");
    WriteFile(plain + ".vwx/inside", "keep me");

    const auto out = RunCli(home.Str(), Args(plain));
    EXPECT_EQ(out.exit, 1) << out.err;
    EXPECT_NE(out.err.find(plain), std::string::npos) << out.err;
    EXPECT_EQ(ReadFile(plain), "JFIF...");
    EXPECT_EQ(ReadFile(plain + ".vwx/inside"), "keep me");
    EXPECT_EQ(Names(work.Path()), (std::vector<std::string>{"photo.jpg", "photo.jpg.vwx"}));
}

TEST_F(CliFaults, KilledPartWayLeavesOnlyAHiddenTemporaryAndTheSource) {
    const std::string plain = work / "film.mkv";
    const std::string original = Pattern(std::size_t{32} << 20, 42);
    WriteFile(plain, original);
    std::string temporary;
    {
        CliProcess p(home.Str(), Args(plain)); // --delete: the source would go after a full run
        // Kill once the temporary destination ".film.mkv.vwx.XXXXXX" has data in it.
        for (int i = 0; i < 60000 && temporary.empty(); ++i) {
            for (const auto& name : Names(work.Path())) {
                std::error_code ec;
                if (name.rfind(".film.mkv.vwx.", 0) == 0 && fs::file_size(work / name, ec) > 0) temporary = name;
            }
            if (temporary.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_FALSE(temporary.empty()) << "the program never started writing";
        p.Kill();
        EXPECT_EQ(p.Wait(), -SIGKILL) << "the program finished before it could be killed";
    }
    EXPECT_TRUE(ReadFile(plain) == original);
    EXPECT_EQ(Names(work.Path()), (std::vector<std::string>{temporary, "film.mkv"}));

    // The stale temporary does not stand in the way of the next run, which leaves it alone.
    const auto again = RunCli(home.Str(), Args(plain, "--keep"));
    ASSERT_EQ(again.exit, 0) << again.err;
    EXPECT_EQ(fs::file_size(plain + ".vwx"), tea::FramedSize(original.size()));
    EXPECT_TRUE(fs::exists(work / temporary));
}

// ---------------------------------------------------------------------------------------------
// The source changed between listing and run, or during the run (the core's runs)
// ---------------------------------------------------------------------------------------------

enum class Change { Removed, Emptied, Locked, Shrunk, Grown, Replaced };

struct SourceCase {
    const char* name;
    Change change;
    bool encrypt;
};

class SourceChanged : public AppFixture, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(SourceChanged, NoPartialOutputAndTheSourceIsWhatTheOtherProgramLeft) {
    const auto& c = GetParam();
    const std::string original = Pattern(300000, 1);
    const std::string plain = Make("notes.txt", original), encrypted = plain + ".vwx";
    const std::string copy = home / "original";
    WriteFile(copy, original);
    if (!c.encrypt) {
        Cipher(app.state.texts).EncryptFile(plain, encrypted, kPassword);
        fs::remove(plain);
    }
    const std::string source = c.encrypt ? plain : encrypted, dest = c.encrypt ? encrypted : plain;
    const auto destinationIsWhole = [&] {
        return c.encrypt ? EncryptedMatchesPlain(dest, copy, kPassword) : ReadFile(dest) == original;
    };
    const std::string sourceBytes = ReadFile(source);
    app.state.deleteSources = true; // the strongest case: the run would destroy the source afterwards
    app.runs.cipher().SetStreamBufferSize(4096);

    std::unique_ptr<HoldingProcess> holder;
    std::string left = sourceBytes; // the source as the other program leaves it
    std::function<void()> midRun;
    switch (c.change) {
    case Change::Removed:
        fs::remove(source);
        left.clear();
        break;
    case Change::Emptied:
        fs::resize_file(source, 0);
        left.clear();
        break;
    case Change::Locked:
        holder = std::make_unique<HoldingProcess>(source, Hold::FlockExcl);
        ASSERT_TRUE(holder->Holding());
        break;
    case Change::Shrunk:
        left.resize(left.size() / 2);
        midRun = [&] { fs::resize_file(source, left.size()); };
        break;
    case Change::Grown:
        left += "appended";
        midRun = [&] { std::ofstream(source, std::ios::binary | std::ios::app) << "appended"; };
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
    ui.onDoEvents = [&] {
        if (++calls == 3 && midRun) midRun();
    };
    std::vector<std::string> list{source};
    app.state.password = kPassword;
    const RunResult result = c.encrypt ? app.runs.Encrypt(list) : app.runs.Decrypt(list);
    holder.reset();

    if (c.change == Change::Locked) {
        // The lock is advisory: the run may go ahead, but only to a complete, verified result;
        // the source is then destroyed after that check or kept as it was.
        ASSERT_EQ(result, RunResult::Completed);
        EXPECT_TRUE(destinationIsWhole());
        if (fs::exists(source)) {
            EXPECT_EQ(ReadFile(source), sourceBytes);
        }
        return;
    }
    EXPECT_EQ(result, RunResult::Failed);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text.rfind(source + "\r\n", 0), 0U) << ui.messages[0].text;
    if (c.change == Change::Removed) {
        EXPECT_EQ(ui.messages[0].text, source + "\r\n\r\nT602");
    }
    EXPECT_EQ(fs::exists(source) ? ReadFile(source) : "", left);
    // A destination under its real name only when complete: the file was replaced after it had
    // been read whole, and the check before destroying stopped the run.
    if (fs::exists(dest)) {
        EXPECT_EQ(c.change, Change::Replaced);
        EXPECT_TRUE(destinationIsWhole());
        fs::remove(dest);
    }
    EXPECT_EQ(Names(work.Path()).size(), c.change == Change::Removed ? 0U : 1U);
    if (!c.encrypt || c.change == Change::Removed || c.change == Change::Emptied) return;

    // A later run on what is there now succeeds.
    ui.onDoEvents = nullptr;
    list = {source};
    app.state.password = kPassword;
    EXPECT_EQ(app.runs.Encrypt(list), RunResult::Completed);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, SourceChanged,
    ::testing::Values(
        SourceCase{"EncryptRemoved", Change::Removed, true}, SourceCase{"EncryptEmptied", Change::Emptied, true},
        SourceCase{"EncryptLocked", Change::Locked, true}, SourceCase{"EncryptShrunk", Change::Shrunk, true},
        SourceCase{"EncryptGrown", Change::Grown, true}, SourceCase{"EncryptReplaced", Change::Replaced, true},
        SourceCase{"DecryptRemoved", Change::Removed, false}, SourceCase{"DecryptEmptied", Change::Emptied, false},
        SourceCase{"DecryptLocked", Change::Locked, false}, SourceCase{"DecryptShrunk", Change::Shrunk, false},
        SourceCase{"DecryptGrown", Change::Grown, false}, SourceCase{"DecryptReplaced", Change::Replaced, false}),
    [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace vaultwing::test
