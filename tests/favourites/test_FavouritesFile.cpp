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
    test::TempDir dir;
    test::WriteFile(dir / kFavouritesFileName,
                    "old-entry-number-1\r\nold-entry-number-2\r\nold-entry-number-3\r\nold-entry-number-4\r\n");
    const Entries entries = {"", "C:\\d\\a,b.txt", "", "/u/x y.txt", "\xC3\x84rger;\"q\"=1\t.txt", "\xC4rger", ""};
    ASSERT_TRUE(SaveFavourites(dir.Str(), entries));
    EXPECT_EQ(test::ReadFile(dir / kFavouritesFileName), // a longer old file replaced whole
              "\r\nC:\\d\\a,b.txt\r\n\r\n/u/x y.txt\r\n\xC3\x84rger;\"q\"=1\t.txt\r\n\xC4rger\r\n\r\n");
    EXPECT_EQ(LoadFavourites(dir.Str()), entries);
    EXPECT_EQ(test::Names(dir.Path()), Entries{kFavouritesFileName}); // no temporary left
    for (const char* bad : {"a\nb", "a\rb"}) {                        // refused, the old file kept
        EXPECT_FALSE(IsStorableFavourite(bad));
        EXPECT_FALSE(SaveFavourites(dir.Str(), {"ok", bad}));
    }
    EXPECT_EQ(LoadFavourites(dir.Str()), entries);
    ASSERT_TRUE(SaveFavourites(dir.Str(), {})); // an empty list deletes the file
    EXPECT_TRUE(test::Names(dir.Path()).empty());
}

TEST(FavouritesFile, LoadAcceptsEveryLineEnd) {
    // Each entry read, followed by '|'; a last line without line end counts.
    const std::pair<const char*, const char*> cases[] = {{"", ""},           {"a\r\nb", "a|b|"},    {"a\nb\n", "a|b|"},
                                                         {"a\rb\r", "a|b|"}, {"a\r\r\nb", "a||b|"}, {"\n\r", "||"}};
    for (const auto& [content, expected] : cases) {
        test::TempDir dir;
        test::WriteFile(dir / kFavouritesFileName, content);
        std::string read;
        for (const auto& entry : LoadFavourites(dir.Str()))
            read += entry + "|";
        EXPECT_EQ(read, expected) << testing::PrintToString(std::string(content));
    }
}

TEST(FavouritesFile, NoListWhereThereIsNoPlainFile) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / kFavouritesFileName);
    test::WriteFile((dir.Path() / kFavouritesFileName / "inner").string(), "x\r\n");
    EXPECT_TRUE(LoadFavourites(dir.Str()).empty());
    EXPECT_FALSE(SaveFavourites(dir.Str(), {"a"}));
    EXPECT_EQ(test::Names(dir.Path()), Entries{kFavouritesFileName}); // the folder stays, the temporary goes
#ifndef _WIN32
    test::TempDir fifo; // a pipe would block a reader forever
    ASSERT_EQ(::mkfifo((fifo / kFavouritesFileName).c_str(), 0600), 0);
    EXPECT_TRUE(LoadFavourites(fifo.Str()).empty());
    if (::geteuid() == 0) return; // permissions do not bind the superuser
    // An unreadable file is reported, not taken for an empty list a later save would write over.
    test::TempDir locked;
    test::WriteFile(locked / kFavouritesFileName, "a\r\n");
    ASSERT_EQ(::chmod((locked / kFavouritesFileName).c_str(), 0), 0);
    EXPECT_FALSE(TryLoadFavourites(locked.Str()).has_value());
#endif
}

} // namespace
} // namespace vaultwing
