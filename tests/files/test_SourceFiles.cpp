// Destroying sources and the in-use test, against files another real process holds.
#include "files/SourceFiles.h"
#include "files/FileInUse.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/HoldingProcess.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;
using test::Hold;

constexpr const char* kContents = "the only copy";

struct HoldCase {
    const char* name;
    Hold hold;
    bool hideDescriptors;
};

class HeldByAnotherProcess : public ::testing::TestWithParam<HoldCase> {};

TEST_P(HeldByAnotherProcess, IsInUseAndStaysWholeUntilReleased) {
    test::TempDir dir;
    const auto file = dir / "source.txt";
    test::WriteFile(file, kContents);
    test::HoldingProcess holder(file, GetParam().hold, GetParam().hideDescriptors);
    ASSERT_TRUE(holder.Holding());

    EXPECT_TRUE(FileInUse(file));
    EXPECT_FALSE(DestroyFile(file));
    EXPECT_EQ(test::ReadFile(file), kContents); // not even truncated

    holder.Stop();
    EXPECT_FALSE(FileInUse(file));
    EXPECT_TRUE(DestroyFile(file));
    EXPECT_FALSE(fs::exists(file));
}

// With its descriptors hidden the holder is found by its lock alone (as a program of another
// user would be); as root its descriptors are seen anyway.
INSTANTIATE_TEST_SUITE_P(Holds, HeldByAnotherProcess,
                         ::testing::Values(HoldCase{"OpenRead", Hold::OpenRead, false},
                                           HoldCase{"OpenWrite", Hold::OpenWrite, false},
                                           HoldCase{"FlockShared", Hold::FlockShared, true},
                                           HoldCase{"FlockExclusive", Hold::FlockExcl, true},
                                           HoldCase{"FcntlRead", Hold::FcntlRead, true},
                                           HoldCase{"FcntlWrite", Hold::FcntlWrite, true}),
                         [](const auto& tc) { return std::string(tc.param.name); });

// ClearReadOnly on a writable file changes nothing; the file is then removed.
TEST(DestroyFile, RemovesWritableUnopenedFiles) {
    test::TempDir dir;
    for (const std::string& contents : {std::string(kContents), std::string(), std::string(100000, 'x')}) {
        const auto file = dir / "source";
        test::WriteFile(file, contents);
        EXPECT_FALSE(FileInUse(file));
        EXPECT_TRUE(ClearReadOnly(file));
        EXPECT_EQ(test::ReadFile(file), contents);
        EXPECT_TRUE(DestroyFile(file)) << contents.size() << " bytes";
        EXPECT_FALSE(fs::exists(file));
    }
}

// The owner-write bit is checked itself, so a read-only file stays whole for root too.
TEST(DestroyFile, ReadOnlyFileStaysUntilClearReadOnly) {
    test::TempDir dir;
    const auto file = dir / "readonly.txt";
    test::WriteFile(file, kContents);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(DestroyFile(file));
    EXPECT_EQ(test::ReadFile(file), kContents);

    int eventsRun = 0;
    EXPECT_TRUE(ClearReadOnly(file, [&] { ++eventsRun; }));
    EXPECT_EQ(eventsRun, 1);
    EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_TRUE(DestroyFile(file));
    EXPECT_FALSE(fs::exists(file));
}

TEST(DestroyFile, MissingPath) {
    test::TempDir dir;
    for (const std::string& missing : {dir / "missing", std::string()}) {
        EXPECT_FALSE(DestroyFile(missing));
        EXPECT_FALSE(ClearReadOnly(missing));
        EXPECT_FALSE(FileInUse(missing));
        EXPECT_FALSE(fs::exists(dir / "missing")); // nothing created on the way
    }
}

// Neither a folder nor the target of a link is cut: only a plain file with a single name.
TEST(DestroyFile, LeavesWhatIsNotASingleNamedPlainFile) {
    test::TempDir dir;
    const auto target = dir / "target";
    test::WriteFile(target, kContents);
    const auto link = dir / "link";
    fs::create_symlink(target, link);
    const auto hard = dir / "hard";
    fs::create_hard_link(target, hard);
    const auto folder = dir / "folder";
    fs::create_directory(folder);
    const auto fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    for (const auto& path : {link, hard, target, folder, fifo}) {
        EXPECT_FALSE(DestroyFile(path)) << path;
        EXPECT_FALSE(FileInUse(path)) << path; // and a FIFO does not block the test
        EXPECT_TRUE(fs::exists(fs::symlink_status(path))) << path;
    }
    EXPECT_EQ(test::ReadFile(target), kContents);
}

} // namespace
} // namespace vaultwing
