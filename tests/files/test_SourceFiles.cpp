// Destroying sources and the in-use test, against files another real process holds.
#include "files/FileInUse.h"
#include "files/SourceFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
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

// Only a plain file with a single name and owner write goes; nothing else is cut, and nothing
// here counts as in use: not the program's own descriptor, an unreadable file or a FIFO.
TEST(DestroyFile, OnlyAWritableSingleNamedPlainFile) {
    test::TempDir dir;
    const auto target = dir / "target", readOnly = dir / "readonly", secret = dir / "secret";
    for (const auto& f : {target, readOnly, secret})
        test::WriteFile(f, kContents);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    fs::permissions(secret, fs::perms::none);
    fs::create_symlink(target, dir / "link");
    fs::create_hard_link(target, dir / "hard");
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::ifstream mine(target);

    for (const auto& path : {dir / "link", dir / "hard", target, dir / "folder", dir / "fifo", readOnly}) {
        EXPECT_FALSE(FileInUse(path)) << path;
        EXPECT_FALSE(DestroyFile(path)) << path;
        EXPECT_TRUE(fs::exists(fs::symlink_status(path))) << path;
    }
    EXPECT_EQ(test::ReadFile(target), kContents);
    EXPECT_EQ(test::ReadFile(readOnly), kContents); // the owner-write bit counts for root too
    EXPECT_FALSE(FileInUse(secret));

    int eventsRun = 0;
    EXPECT_TRUE(ClearReadOnly(readOnly, [&] { ++eventsRun; }));
    EXPECT_EQ(eventsRun, 1);
    for (const std::string& contents : {std::string(), std::string(100000, 'x')}) {
        test::WriteFile(dir / "plain", contents);
        EXPECT_TRUE(ClearReadOnly(dir / "plain"));
        EXPECT_TRUE(DestroyFile(dir / "plain")) << contents.size() << " bytes";
    }
    EXPECT_TRUE(DestroyFile(readOnly));
    EXPECT_EQ(test::Names(dir.Path()),
              (std::vector<std::string>{"fifo", "folder", "hard", "link", "secret", "target"}));

    for (const std::string& missing : {dir / "missing", std::string()}) {
        EXPECT_FALSE(DestroyFile(missing));
        EXPECT_FALSE(ClearReadOnly(missing));
        EXPECT_FALSE(FileInUse(missing));
    }
    EXPECT_FALSE(fs::exists(dir / "missing")); // nothing created on the way
}

} // namespace
} // namespace vaultwing
