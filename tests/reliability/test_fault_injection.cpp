// Faults injected into real runs: through the `vaultwing` program (a write that fails
// part-way, a read-only destination folder, SIGKILL in the middle of a large file) and through
// the core's runs (the source removed, emptied, locked or changed between listing and run).
// After each: no destination under its real name unless complete and correct, the source's
// bytes as they were, a message naming the file where the program could print one, and a later
// run that succeeds.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "cipher/Frame.h"
#include "cipher/Verify.h"
#include "files/Runs.h"
#include "platform/HoldingProcess.h"
#include "reliability/CliProcess.h"
#include "support/AppFixture.h"
#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPassword = "correct horse 1";

class CliFaults : public ::testing::Test {
protected:
    CliFaults() {
        fs::copy_file(fs::path(VAULTWING_LANG_DIR) / "English.lng", home.Path() / "English.lng");
        WriteFile(passwordFile, std::string(kPassword) + "\n");
    }

    std::vector<std::string> Args(const std::string& path, const std::string& mode = "--delete") const {
        return {"--password-file", passwordFile, mode, "-q", path};
    }

    // Only `expected` in the work folder: nothing half-written, no temporary left behind.
    void ExpectOnly(const std::vector<std::string>& expected) const {
        std::vector<std::string> sorted = expected;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(Names(work.Path()), sorted);
    }

    TempDir home;
    TempDir work;
    const std::string passwordFile = home / "pw";
};

// ---------------------------------------------------------------------------------------------
// A destination write that fails part-way (RLIMIT_FSIZE)
// ---------------------------------------------------------------------------------------------

struct WriteLimitCase {
    const char* name;
    bool encrypt;
    rlim_t limit; // bytes the program may write into any one file
};

class WriteFailsPartWay : public CliFaults, public ::testing::WithParamInterface<WriteLimitCase> {};

TEST_P(WriteFailsPartWay, NothingPartialSourceKeptAndALaterRunSucceeds) {
    const auto& c = GetParam();
    const std::string plain = work / "data.bin";
    const std::string encrypted = plain + ".vwx";
    const std::uint64_t plainHash = WritePatternFile(plain, (std::uint64_t{1} << 20) + 5, 7);
    std::string source = plain, dest = encrypted;
    if (!c.encrypt) {
        ASSERT_EQ(RunCli(home.Str(), Args(plain)).exit, 0); // the source becomes data.bin.vwx
        ASSERT_FALSE(fs::exists(plain));
        std::swap(source, dest);
    }
    const auto sourceHash = HashFile(source);

    const auto out = RunCli(home.Str(), Args(source), {.fileSize = c.limit, .asNobody = false});
    EXPECT_EQ(out.exit, 1) << out.err;
    EXPECT_NE(out.err.find(source), std::string::npos) << out.err;
    EXPECT_EQ(HashFile(source), sourceHash);
    ExpectOnly({fs::path(source).filename().string()});

    const auto again = RunCli(home.Str(), Args(source, "--keep"));
    ASSERT_EQ(again.exit, 0) << again.err;
    EXPECT_TRUE(EncryptedMatchesPlain(encrypted, plain, kPassword));
    EXPECT_EQ(HashFile(plain), plainHash);
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

// ---------------------------------------------------------------------------------------------
// A destination folder the program may not write to
// ---------------------------------------------------------------------------------------------

TEST_F(CliFaults, ReadOnlyDestinationFolderFailsNamingTheFileAndKeepsTheSource) {
    // Root passes over permission bits: the program then runs as "nobody", for whom they count.
    const bool root = ::geteuid() == 0;
    const CliLimits limits{.fileSize = std::nullopt, .asNobody = root};
    const std::string folder = work / "ro";
    fs::create_directory(folder);
    const std::string plain = folder + "/letter.txt";
    WriteFile(plain, "Dear Sir, ...");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                fs::perms::others_exec | fs::perms::group_read | fs::perms::group_exec);

    const auto out = RunCli(home.Str(), Args(plain), limits);
    EXPECT_EQ(out.exit, 1) << out.err;
    EXPECT_NE(out.err.find(plain), std::string::npos) << out.err;
    EXPECT_EQ(ReadFile(plain), "Dear Sir, ...");
    EXPECT_EQ(Names(folder), std::vector<std::string>{"letter.txt"});

    fs::permissions(folder, fs::perms::all);
    const auto again = RunCli(home.Str(), Args(plain, "--keep"), limits);
    ASSERT_EQ(again.exit, 0) << again.err;
    EXPECT_TRUE(EncryptedMatchesPlain(plain + ".vwx", plain, kPassword));
}

TEST_F(CliFaults, DestinationNameTakenByAFolderIsRefusedAndLeftAlone) {
    const std::string plain = work / "photo.jpg";
    WriteFile(plain, "JFIF...");
    fs::create_directory(plain + ".vwx");
    WriteFile(plain + ".vwx/inside", "keep me");

    const auto out = RunCli(home.Str(), Args(plain));
    EXPECT_EQ(out.exit, 1) << out.err;
    EXPECT_NE(out.err.find(plain), std::string::npos) << out.err;
    EXPECT_EQ(ReadFile(plain), "JFIF...");
    EXPECT_EQ(ReadFile(plain + ".vwx/inside"), "keep me");
    ExpectOnly({"photo.jpg", "photo.jpg.vwx"});

    fs::remove_all(plain + ".vwx");
    EXPECT_EQ(RunCli(home.Str(), Args(plain, "--keep")).exit, 0);
    EXPECT_TRUE(EncryptedMatchesPlain(plain + ".vwx", plain, kPassword));
}

// ---------------------------------------------------------------------------------------------
// SIGKILL part-way through a large file
// ---------------------------------------------------------------------------------------------

TEST_F(CliFaults, KilledPartWayLeavesOnlyAHiddenTemporaryAndTheSource) {
    const std::string plain = work / "film.mkv";
    const std::uint64_t size = std::uint64_t{200} << 20;
    const std::uint64_t hash = WritePatternFile(plain, size, 42);

    std::string temporary;
    {
        CliProcess p(home.Str(), Args(plain)); // --delete: the source would go after a full run
        // Kill once the temporary destination has data in it.
        for (int i = 0; i < 60000 && temporary.empty(); ++i) {
            for (const auto& name : Names(work.Path())) {
                std::error_code ec;
                if (IsTemporaryOf(name, "film.mkv.vwx") && fs::file_size(work / name, ec) > 0) temporary = name;
            }
            if (temporary.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_FALSE(temporary.empty()) << "the program never started writing";
        p.Kill();
        EXPECT_EQ(p.Wait(), -SIGKILL) << "the program finished before it could be killed";
    }
    EXPECT_FALSE(fs::exists(plain + ".vwx"));
    EXPECT_EQ(HashFile(plain), hash);
    EXPECT_EQ(Names(work.Path()), (std::vector<std::string>{temporary, "film.mkv"}));

    // The stale temporary does not stand in the way of the next run, which leaves it alone.
    // (Its output is checked by size only: reading 200 MB back is the other tests' work.)
    const auto again = RunCli(home.Str(), Args(plain, "--keep"));
    ASSERT_EQ(again.exit, 0) << again.err;
    EXPECT_EQ(fs::file_size(plain + ".vwx"), tea::FramedSize(size));
    EXPECT_TRUE(fs::exists(work / temporary));
}

// ---------------------------------------------------------------------------------------------
// The source changed between listing and run, or during the run (the core's runs)
// ---------------------------------------------------------------------------------------------

enum class Change { Removed, Emptied, LockedByAnother, ShrunkDuringRun, GrownDuringRun, ReplacedDuringRun };

struct SourceCase {
    const char* name;
    Change change;
    bool encrypt;
};

class SourceChanged : public AppFixture, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(SourceChanged, NoPartialOutputAndTheSourceIsWhateverTheOtherProgramLeft) {
    const auto& c = GetParam();
    std::string original(300000, '\0');
    for (std::size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<char>(i * 131 + i / 977);
    const std::string plain = Make("notes.txt", original);
    const std::string encrypted = plain + ".vwx";
    std::string source = plain, dest = encrypted;
    if (!c.encrypt) {
        Cipher tea(app.state.texts);
        tea.EncryptFile(plain, encrypted, kPassword);
        fs::remove(plain);
        std::swap(source, dest);
    }
    // True when the destination is the complete, correct other form of the original.
    const auto destinationIsWhole = [&] {
        if (!c.encrypt) return ReadFile(dest) == original;
        const std::string copy = home / "original";
        WriteFile(copy, original);
        return EncryptedMatchesPlain(dest, copy, kPassword);
    };
    const std::string sourceBytes = ReadFile(source);
    app.state.deleteSources = true; // the strongest case: the run would destroy the source afterwards
    app.runs.cipher().SetStreamBufferSize(4096);
    auto& list = c.encrypt ? app.lists.lstDateienEnc : app.lists.lstDateienDec;
    list = {source};

    std::unique_ptr<HoldingProcess> holder;
    std::string leftByOther = sourceBytes; // the source's bytes as the other program leaves them
    int calls = 0;
    const auto changeMidRun = [&](auto change) {
        ui.onDoEvents = [&calls, change] {
            if (++calls == 3) change();
        };
    };
    switch (c.change) {
    case Change::Removed:
        fs::remove(source);
        leftByOther.clear();
        break;
    case Change::Emptied:
        fs::resize_file(source, 0);
        leftByOther.clear();
        break;
    case Change::LockedByAnother:
        holder = std::make_unique<HoldingProcess>(source, Hold::FlockExcl);
        ASSERT_TRUE(holder->Holding());
        break;
    case Change::ShrunkDuringRun:
        leftByOther = sourceBytes.substr(0, sourceBytes.size() / 2);
        changeMidRun([&] { fs::resize_file(source, leftByOther.size()); });
        break;
    case Change::GrownDuringRun:
        leftByOther = sourceBytes + "appended";
        changeMidRun([&] { std::ofstream(source, std::ios::binary | std::ios::app) << "appended"; });
        break;
    case Change::ReplacedDuringRun:
        leftByOther = sourceBytes.substr(100) + "new version";
        changeMidRun([&] {
            WriteFile(source + ".new", leftByOther);
            fs::rename(source + ".new", source);
        });
        break;
    }
    app.state.password = kPassword;
    const RunResult result = c.encrypt ? app.runs.Encrypt(list) : app.runs.Decrypt(list);
    holder.reset();

    if (c.change == Change::LockedByAnother) {
        // The lock is advisory: the run may go ahead, but only with a complete, verified result;
        // the source is either destroyed after that check or kept as it was.
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
        EXPECT_FALSE(fs::exists(source));
    } else {
        EXPECT_EQ(ReadFile(source), leftByOther);
    }
    // A destination under its real name only when complete and correct (the file was replaced
    // after it had been read whole: the check before destroying stopped the run).
    if (fs::exists(dest)) {
        EXPECT_EQ(c.change, Change::ReplacedDuringRun);
        EXPECT_TRUE(destinationIsWhole());
        fs::remove(dest);
    }
    const auto names = Names(work.Path());
    EXPECT_EQ(names.size(), c.change == Change::Removed ? 0U : 1U) << (names.empty() ? "" : names.front());

    // A later run on what is there now succeeds.
    if (c.change == Change::Removed || c.change == Change::Emptied) return;
    ui.onDoEvents = nullptr;
    ui.messages.clear();
    list = {source};
    app.state.password = kPassword;
    if (c.encrypt) {
        ASSERT_EQ(app.runs.Encrypt(list), RunResult::Completed);
        fs::remove(dest);
    } else {
        // What the other program left is no longer a whole encrypted file.
        EXPECT_EQ(app.runs.Decrypt(list), c.change == Change::GrownDuringRun || c.change == Change::ShrunkDuringRun ||
                                                  c.change == Change::ReplacedDuringRun
                                              ? RunResult::Failed
                                              : RunResult::Completed);
    }
}

INSTANTIATE_TEST_SUITE_P(Changes, SourceChanged,
                         ::testing::Values(SourceCase{"EncryptRemoved", Change::Removed, true},
                                           SourceCase{"EncryptEmptied", Change::Emptied, true},
                                           SourceCase{"EncryptLocked", Change::LockedByAnother, true},
                                           SourceCase{"EncryptShrunk", Change::ShrunkDuringRun, true},
                                           SourceCase{"EncryptGrown", Change::GrownDuringRun, true},
                                           SourceCase{"EncryptReplaced", Change::ReplacedDuringRun, true},
                                           SourceCase{"DecryptRemoved", Change::Removed, false},
                                           SourceCase{"DecryptEmptied", Change::Emptied, false},
                                           SourceCase{"DecryptLocked", Change::LockedByAnother, false},
                                           SourceCase{"DecryptShrunk", Change::ShrunkDuringRun, false},
                                           SourceCase{"DecryptGrown", Change::GrownDuringRun, false},
                                           SourceCase{"DecryptReplaced", Change::ReplacedDuringRun, false}),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace vaultwing::test
