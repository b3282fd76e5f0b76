#include "favourites/FavouritesFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "support/TempDir.h"

namespace vaultwing {
namespace {

using Entries = std::vector<std::string>;

TEST(FavouritesFile, RoundTripKeepsEveryEntryAndItsBytes) {
    const Entries tables[] = {
        {"C:\\d\\a,b.txt"},
        {"", "a", "", "", "b", ""}, // empty entries, also first and last
        {"/home/u/x y.txt", "..\\..\\Daten\\Brief.doc", "\xC3\x84rger;\"q\"=1\t.txt"},
        {"\xC4rger.txt"}, // bytes that are not UTF-8 survive too
    };
    test::TempDir dir;
    test::WriteFile(dir / kFavouritesFileName, "old-entry-1\r\nold-entry-2\r\nold-entry-3\r\nold-entry-4\r\n");
    for (const auto& entries : tables) {
        ASSERT_TRUE(SaveFavourites(dir.Str(), entries));
        std::string expected;
        for (const auto& e : entries)
            expected += e + "\r\n";
        EXPECT_EQ(test::ReadFile(dir / kFavouritesFileName), expected); // a longer old file replaced whole
        EXPECT_EQ(LoadFavourites(dir.Str()), entries);
        EXPECT_EQ(test::Names(dir.Path()), Entries{kFavouritesFileName}); // no temporary left
    }
    ASSERT_TRUE(SaveFavourites(dir.Str(), {})); // an empty list deletes the file
    EXPECT_TRUE(test::Names(dir.Path()).empty());
    EXPECT_TRUE(SaveFavourites(dir.Str(), {}));
}

TEST(FavouritesFile, LoadAcceptsEveryLineEnd) {
    const std::pair<const char*, Entries> cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a\r\nb", {"a", "b"}}, // last line without line end counts
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\n\r", {"", ""}},
        {"a\r\n\n", {"a", ""}},
    };
    for (const auto& [content, entries] : cases) {
        test::TempDir dir;
        test::WriteFile(dir / kFavouritesFileName, content);
        EXPECT_EQ(LoadFavourites(dir.Str()), entries) << testing::PrintToString(std::string(content));
    }
}

TEST(FavouritesFile, NoListWhereThereIsNoPlainFile) {
    test::TempDir dir;
    EXPECT_FALSE(SaveFavourites(dir / "no-such-folder", {"a"}));
    EXPECT_TRUE(LoadFavourites(dir / "no-such-folder").empty());
    EXPECT_TRUE(test::Names(dir.Path()).empty());

    std::filesystem::create_directory(dir / kFavouritesFileName);
    test::WriteFile((dir.Path() / kFavouritesFileName / "inner").string(), "x\r\n");
    EXPECT_TRUE(LoadFavourites(dir.Str()).empty());
    EXPECT_FALSE(SaveFavourites(dir.Str(), {"a"}));
    EXPECT_EQ(test::Names(dir.Path()), Entries{kFavouritesFileName}); // the folder stays, the temporary goes
#ifndef _WIN32
    test::TempDir fifo; // a pipe would block a reader forever
    ASSERT_EQ(::mkfifo((fifo / kFavouritesFileName).c_str(), 0600), 0);
    EXPECT_TRUE(LoadFavourites(fifo.Str()).empty());
#endif
}

#ifndef _WIN32
// Not taken for an empty list, which a later save would write over the user's entries.
TEST(FavouritesFile, AnUnreadableFileIsReportedNotTakenForEmpty) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    test::TempDir dir;
    test::WriteFile(dir / kFavouritesFileName, "a\r\n");
    ASSERT_EQ(::chmod((dir / kFavouritesFileName).c_str(), 0), 0);
    EXPECT_FALSE(TryLoadFavourites(dir.Str()).has_value());
}
#endif

TEST(FavouritesFile, AnEntryWithALineBreakIsRefusedAndTheOldFileKept) {
    test::TempDir dir;
    ASSERT_TRUE(SaveFavourites(dir.Str(), {"keep"}));
    for (const char* bad : {"a\nb", "a\rb", "a\r\n"}) {
        EXPECT_FALSE(IsStorableFavourite(bad));
        EXPECT_FALSE(SaveFavourites(dir.Str(), {"ok", bad}));
        EXPECT_EQ(LoadFavourites(dir.Str()), Entries{"keep"});
    }
}

} // namespace
} // namespace vaultwing
