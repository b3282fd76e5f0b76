#include "favourites/FavouritesFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/platform.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

using Entries = std::vector<std::string>;

std::vector<std::string> FolderListing(const test::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(e.path().filename().string());
    return names;
}

TEST(FavouritesFile, RoundTripKeepsEveryEntryAndItsBytes) {
    const Entries tables[] = {
        {"C:\\d\\a,b.txt"},
        {"", "a", "", "", "b", ""}, // empty entries, also first and last
        {"/home/u/x y.txt", "..\\..\\Daten\\Brief.doc", "\xC3\x84rger;\"q\"=1\t.txt"},
        {"\xC4rger.txt"}, // bytes that are not UTF-8 survive too
        {""},
    };
    for (const auto& entries : tables) {
        test::TempDir dir;
        ASSERT_TRUE(SaveFavourites(dir.Str(), entries));
        std::string expected;
        for (const auto& e : entries)
            expected += e + "\r\n";
        EXPECT_EQ(test::ReadFile(dir / kFavouritesFileName), expected);
        EXPECT_EQ(LoadFavourites(dir.Str()), entries);
        EXPECT_EQ(FolderListing(dir), std::vector<std::string>{kFavouritesFileName}); // no temporary left
    }
}

TEST(FavouritesFile, LoadAcceptsEveryLineEnd) {
    struct Case {
        const char* content;
        Entries entries;
    };
    const Case cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a", {"a"}},
        {"a\r\nb", {"a", "b"}}, // last line without line end counts
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\n\r", {"", ""}},
        {"a\r\n\n", {"a", ""}},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        test::WriteFile(dir / kFavouritesFileName, c.content);
        EXPECT_EQ(LoadFavourites(dir.Str()), c.entries) << testing::PrintToString(std::string(c.content));
    }
}

TEST(FavouritesFile, EmptyListDeletesTheFile) {
    test::TempDir dir;
    ASSERT_TRUE(SaveFavourites(dir.Str(), {"a"}));
    ASSERT_TRUE(SaveFavourites(dir.Str(), {}));
    EXPECT_FALSE(std::filesystem::exists(dir / kFavouritesFileName));
    EXPECT_TRUE(SaveFavourites(dir.Str(), {})); // nothing to delete is fine
    EXPECT_TRUE(LoadFavourites(dir.Str()).empty());
}

TEST(FavouritesFile, SaveReplacesALongerFileWhole) {
    test::TempDir dir;
    test::WriteFile(dir / kFavouritesFileName, "old-entry-1\r\nold-entry-2\r\nold-entry-3\r\n");
    ASSERT_TRUE(SaveFavourites(dir.Str(), {"n"}));
    EXPECT_EQ(test::ReadFile(dir / kFavouritesFileName), "n\r\n");
}

TEST(FavouritesFile, AFolderOfThatNameIsNotAList) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / kFavouritesFileName);
    test::WriteFile((dir.Path() / kFavouritesFileName / "inner").string(), "x\r\n");
    EXPECT_TRUE(LoadFavourites(dir.Str()).empty());
    EXPECT_FALSE(SaveFavourites(dir.Str(), {"a"}));
    EXPECT_TRUE(std::filesystem::is_directory(dir / kFavouritesFileName));
    EXPECT_EQ(FolderListing(dir), std::vector<std::string>{kFavouritesFileName}); // the temporary is gone
}

TEST(FavouritesFile, MissingFileOrFolderGivesEmptyList) {
    test::TempDir dir;
    EXPECT_TRUE(LoadFavourites(dir.Str()).empty());
    ASSERT_TRUE(TryLoadFavourites(dir.Str()).has_value());
    EXPECT_TRUE(LoadFavourites(dir / "no-such-folder").empty());
    EXPECT_FALSE(SaveFavourites(dir / "no-such-folder", {"a"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
}

TEST(FavouritesFile, AnEntryWithALineBreakIsRefusedAndTheOldFileKept) {
    test::TempDir dir;
    ASSERT_TRUE(SaveFavourites(dir.Str(), {"keep"}));
    for (const char* bad : {"a\nb", "a\rb", "a\r\n"}) {
        EXPECT_FALSE(IsStorableFavourite(bad));
        EXPECT_FALSE(SaveFavourites(dir.Str(), {"ok", bad}));
        EXPECT_EQ(LoadFavourites(dir.Str()), Entries{"keep"});
    }
    EXPECT_TRUE(IsStorableFavourite(""));
    EXPECT_TRUE(IsStorableFavourite("C:\\d\\a,b.txt"));
}

TEST(FavouritesFile, PathJoinsFolderAndName) {
    const std::string sep(1, platform::kPathSeparator);
    EXPECT_EQ(FavouritesPath("base"), "base" + sep + kFavouritesFileName);
    EXPECT_EQ(FavouritesPath("base" + sep), "base" + sep + kFavouritesFileName);
}

#ifndef _WIN32
TEST(FavouritesFile, ASpecialFileOfThatNameIsNotRead) {
    test::TempDir dir;
    // A pipe would block a reader forever.
    ASSERT_EQ(::mkfifo((dir / kFavouritesFileName).c_str(), 0600), 0);
    EXPECT_TRUE(LoadFavourites(dir.Str()).empty());
}

TEST(FavouritesFile, AnUnreadableFileIsReportedNotTakenForEmpty) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    test::TempDir dir;
    test::WriteFile(dir / kFavouritesFileName, "a\r\n");
    ASSERT_EQ(::chmod((dir / kFavouritesFileName).c_str(), 0), 0);
    EXPECT_FALSE(TryLoadFavourites(dir.Str()).has_value());
    EXPECT_TRUE(LoadFavourites(dir.Str()).empty());
}
#endif

} // namespace
} // namespace vaultwing
