#include "cipher/ManyFiles.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>

#include "cipher/Cipher.h"
#include "cipher/Verify.h"
#include "config/LangIndices.h"
#include "config/LangTable.h"
#include "files/CipherMessages.h"
#include "platform/platform.h"
#include "support/Raised.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

constexpr const char* kPassword = "lanes and threads";
constexpr std::size_t kLane = 64; // bytes per lane: every file crosses buffers

// Around one lane buffer of frame (1 byte, exactly one buffer, one byte more), tiny and several
// buffers long, in an order that has lanes finish at different times; more files than lanes.
const std::vector<std::size_t> kSizes = {1, kLane - 12, kLane - 11, 700, 5, 3 * kLane + 1, 2000, 1, kLane - 12};

struct Spread {
    tea::DecryptKernel kernel;
    unsigned threads;
};

class ManyFiles : public ::testing::TestWithParam<Spread> {
protected:
    ManyFiles() {
        texts.Set(lang::kSourceMissing, "missing");
        cipher.Progress = [this](int percent) {
            events.push_back(percent);
            if (finished.size() == cancelAt && percent > 0) throw VwxError(0, "progress", "cancelled");
        };
    }

    // `count` files of kSizes' sizes in turn; the one-file cipher's output of each, and the
    // random values it drew, read back from its first block.
    void Make(std::size_t count) {
        std::mt19937 random(5);
        for (std::size_t i = 0; i < count; ++i) {
            const std::string source = dir / ("f" + std::to_string(100 + i));
            std::string bytes(kSizes[i % kSizes.size()], '\0');
            for (char& c : bytes)
                c = static_cast<char>(random());
            WriteFile(source, bytes);
            jobs.push_back({source, source + ".vwx"});
            events.clear();
            fs::remove(ref / "one");
            cipher.EncryptFile(source, ref / "one", kPassword);
            progress.push_back(events);
            expected.push_back(ReadFile(ref / "one"));
            std::uint8_t first[8];
            std::memcpy(first, expected.back().data(), 8);
            tea::Chain chain;
            tea::CbcDecryptScalar(first, 8, tea::KeyFromPassword(kPassword), chain);
            pairs.push_back({tea::LoadLE32(first), tea::LoadLE32(first + 4)});
        }
    }

    // Runs the engine; `done` records the order and what was in place at each step. Files of
    // 2000 bytes and more go alone (and draw their own random values).
    void Run() {
        events.clear();
        ManyFilesSetup setup{GetParam().threads, GetParam().kernel, kLane, 2000, {}};
        setup.randomValues = [this](std::size_t index) {
            if (atOpen) atOpen(index); // the file is open and its length taken
            return pairs.at(index);
        };
        const auto done = [this](std::size_t k) {
            finished.push_back(k);
            EXPECT_EQ(std::exchange(events, {}), progress[k]) << k; // the head file's, as alone
            EXPECT_TRUE(fs::file_size(jobs[k].source) >= 2000 || ReadFile(jobs[k].destination) == expected[k]) << k;
            EXPECT_TRUE(EncryptedMatchesPlain(jobs[k].destination, jobs[k].source, kPassword)) << k;
            EXPECT_TRUE(k + 1 == jobs.size() || !fs::is_regular_file(jobs[k + 1].destination) ||
                        ReadFile(jobs[k + 1].destination) == "older") // a test's file under that name
                << k;
            return true;
        };
        ManyFilesEncryption engine(cipher, setup);
        engine.Run(
            jobs, kPassword, [](std::size_t) {}, done);
    }

    // What `call` raised, a cipher failure in the words a run shows.
    template <class Call> std::optional<VwxError> Raised(Call&& call) {
        return test::Raised([&] {
            try {
                call();
            } catch (const CipherFailure& failure) {
                throw CipherError(failure, texts);
            }
        });
    }

    LangTable texts;
    Cipher cipher;
    test::TempDir dir, ref;
    std::vector<EncryptionJob> jobs;
    std::vector<std::string> expected;
    std::vector<tea::RandomPair> pairs;
    std::vector<std::size_t> finished;
    std::vector<int> events;
    std::vector<std::vector<int>> progress;
    std::size_t cancelAt = SIZE_MAX;
    std::function<void(std::size_t)> atOpen;
};

TEST_P(ManyFiles, ByteIdenticalToOneFileAfterTheOtherAndInListOrder) {
    if (!tea::KernelAvailable(GetParam().kernel)) GTEST_SKIP() << "no " << tea::KernelName(GetParam().kernel);
    Make(2 * tea::LaneCount(GetParam().kernel) * GetParam().threads + 3);
    Run();
    ASSERT_EQ(finished.size(), jobs.size());
    EXPECT_TRUE(std::ranges::is_sorted(finished) && finished.back() + 1 == jobs.size());
}

// File k of n fails: the files before it are complete, it raises what the one-file cipher
// raises, and nothing of the later files is left, although they were in flight. The faults: the
// source gone, a folder or a file under the output's name, cancel; a file that
// appears under the output's name once the file is open (never replaced); a source that grows
// once its length is taken (it would be stored cut short).
TEST_P(ManyFiles, FailureAtOneFileLeavesTheLaterOnesUntouched) {
    if (!tea::KernelAvailable(GetParam().kernel)) GTEST_SKIP() << "no " << tea::KernelName(GetParam().kernel);
    constexpr std::size_t k = 3;
    enum Fault { kGone, kFolder, kCancel, kFile, kAppears, kGrows, kFaults };
    const auto system = [](std::errc code) {
        return VwxError(0, "Cipher.EncryptFile", platform::ErrorDescription(std::make_error_code(code)));
    };
    for (int fault = 0; fault < kFaults; ++fault) {
#ifdef _WIN32
        if (fault == kGrows) continue; // Windows lets nobody change a file while it is read
#endif
        jobs.clear(), expected.clear(), pairs.clear(), finished.clear(), progress.clear();
        for (const auto& name : test::Names(dir.Path()))
            fs::remove(dir.Path() / name);
        Make(12);
        std::optional<VwxError> want = VwxError(0, "progress", "cancelled");
        if (fault == kGone) fs::remove(jobs[k].source); // gone after the list was made
        if (fault == kFolder) fs::create_directory(jobs[k].destination);
        if (fault == kFile) WriteFile(jobs[k].destination, "older");
        if (fault != kCancel && fault < kAppears)
            want = Raised([&] { cipher.EncryptFile(jobs[k].source, jobs[k].destination, kPassword); });
        atOpen = [&, fault](std::size_t i) {
            if (i == k && fault == kAppears) WriteFile(jobs[k].destination, "older");
            if (i == k && fault == kGrows) std::ofstream(jobs[k].source, std::ios::app) << "appended";
        };
        if (fault == kAppears) want = system(std::errc::file_exists);
        if (fault == kGrows) want = system(std::errc::io_error);
        cancelAt = fault == kCancel ? k : SIZE_MAX;
        const auto raised = Raised([&] { Run(); });
        ASSERT_TRUE(raised && want) << fault;
#ifdef _WIN32 // Windows words "exists" its own way ("File already exists")
        if (fault == kAppears) want = VwxError(0, want->Source(), raised->Description());
#endif
        EXPECT_EQ(raised->Description() + raised->Source(), want->Description() + want->Source()) << fault;
        EXPECT_EQ(finished, (std::vector<std::size_t>{0, 1, 2}));
        std::vector<std::string> names;
        const bool keptAtK = fault == kFolder || fault == kFile || fault == kAppears;
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            if (i != k || fault != kGone) names.push_back(fs::path(jobs[i].source).filename().string());
            if (i < k || (i == k && keptAtK)) names.push_back(fs::path(jobs[i].destination).filename().string());
        }
        std::ranges::sort(names);
        EXPECT_EQ(test::Names(dir.Path()), names) << fault;
        EXPECT_TRUE(!keptAtK || fault == kFolder || ReadFile(jobs[k].destination) == "older") << fault;
    }
    atOpen = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Kernels, ManyFiles,
                         ::testing::Values(Spread{tea::DecryptKernel::Scalar, 1}, Spread{tea::DecryptKernel::Sse2, 2},
                                           Spread{tea::DecryptKernel::Avx2, 1}, Spread{tea::DecryptKernel::Avx512, 2}));

} // namespace
} // namespace vaultwing
