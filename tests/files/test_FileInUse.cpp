// The in-use test on files no other program holds (held files: test_modDestroyFile.cpp).
#include "files/FileInUse.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kContents = "contents";

// Only other programs count: the program's own descriptors do not make a file busy.
TEST(FileInUse, OwnDescriptorIsNotUse) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows cannot tell the program's own handles from another's: the exclusive open fails for both";
#endif
    test::TempDir dir;
    const auto file = dir / "mine";
    test::WriteFile(file, kContents);
    std::ifstream mine(file);
    ASSERT_TRUE(mine.is_open());
    EXPECT_FALSE(FileInUse(file));
}

// A file the user may not read cannot be judged and counts as free (as root it is readable).
TEST(FileInUse, UnreadableFileIsFree) {
    test::TempDir dir;
    const auto file = dir / "secret";
    test::WriteFile(file, kContents);
    fs::permissions(file, fs::perms::none);
    EXPECT_FALSE(FileInUse(file));
}

} // namespace
} // namespace vaultwing
