#include "files/SourceFiles.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/HoldingProcess.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;
using test::Hold;

// Against files another real process holds; with descriptors hidden the holder is found by its
// lock alone, as a program of another user would be.
TEST(DestroyFile, HeldFileIsInUseAndStaysWholeUntilReleased) {
    for (const auto& [hold, hide] : {std::pair{Hold::OpenRead, false},
                                     {Hold::OpenWrite, false},
                                     {Hold::FlockShared, true},
                                     {Hold::FlockExcl, true},
                                     {Hold::FcntlRead, true},
                                     {Hold::FcntlWrite, true}}) {
        test::TempDir dir;
        const auto file = dir / "source.txt";
        test::WriteFile(file, "the only copy");
        test::HoldingProcess holder(file, hold, hide);
        ASSERT_TRUE(holder.Holding());
        EXPECT_TRUE(platform::FileInUse(file)) << static_cast<int>(hold);
        EXPECT_FALSE(platform::DestroyFile(file));
        EXPECT_EQ(test::ReadFile(file), "the only copy"); // not even truncated
        holder.Stop();
        EXPECT_FALSE(platform::FileInUse(file));
        EXPECT_TRUE(platform::DestroyFile(file)) << static_cast<int>(hold);
    }
}

// Only a plain file with a single name and owner write goes; the program's own descriptor, a
// FIFO or a missing file is not in use.
TEST(DestroyFile, OnlyAWritableSingleNamedPlainFile) {
    test::TempDir dir;
    const auto target = dir / "target", readOnly = dir / "readonly";
    test::WriteFile(target, "x");
    test::WriteFile(readOnly, "x");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    fs::create_symlink(target, dir / "link");
    fs::create_hard_link(target, dir / "hard");
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::ifstream mine(target);
    for (const auto& path :
         {dir / "link", dir / "hard", target, dir / "folder", dir / "fifo", readOnly, dir / "none"}) {
        EXPECT_FALSE(platform::FileInUse(path)) << path;
        EXPECT_FALSE(platform::DestroyFile(path)) << path;
    }
    EXPECT_EQ(test::Names(dir.Path()).size(), 6U);
    EXPECT_TRUE(ClearReadOnly(readOnly));
    EXPECT_TRUE(platform::DestroyFile(readOnly));
}

// The name goes before the contents are cut, so an end in between leaves no emptied file beside
// its output (which the next run would refuse): the folder's first change event is the deletion.
TEST(DestroyFile, TheNameGoesBeforeTheContents) {
    test::TempDir dir;
    test::WriteFile(dir / "source.txt", "the only copy");
    const int events = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(events, dir.Str().c_str(), IN_MODIFY | IN_DELETE), 0);
    ASSERT_TRUE(platform::DestroyFile(dir / "source.txt"));
    alignas(inotify_event) char buffer[4096];
    const bool read = ::read(events, buffer, sizeof buffer) > 0;
    ::close(events);
    ASSERT_TRUE(read);
    EXPECT_EQ(reinterpret_cast<const inotify_event*>(buffer)->mask & (IN_MODIFY | IN_DELETE), std::uint32_t{IN_DELETE});
}

} // namespace
} // namespace vaultwing
