#include "config/FindFiles.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "base/VwxError.h"
#include "platform/platform.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------------
// Wildcards
// ---------------------------------------------------------------------------------------------

struct MatchCase {
    const char* name;
    const char* pattern;
    bool matches;
};
void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << '"' << c.name << "\" ~ \"" << c.pattern << '"';
}

class PatternTable : public ::testing::TestWithParam<MatchCase> {};

TEST_P(PatternTable, Matches) {
    const auto& c = GetParam();
    EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches) << '"' << c.name << "\" ~ \"" << c.pattern << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, PatternTable,
    ::testing::Values(
        // star
        MatchCase{"english.lng", "*.lng", true}, MatchCase{"deutsch.neu.lng", "*.lng", true},
        MatchCase{".lng", "*.lng", true}, MatchCase{"lng", "*.lng", false}, MatchCase{"a.lngx", "*.lng", false},
        MatchCase{"a.lng.bak", "*.lng", false}, MatchCase{"", "*", true}, MatchCase{"abc", "**", true},
        MatchCase{"aaa", "*a", true}, MatchCase{"ab", "*a", false}, MatchCase{"abcabd", "*abd", true},
        MatchCase{"mississippi", "m*iss*ppi", true}, MatchCase{"mississippi", "m*iss*ppx", false},
        MatchCase{"abc", "a*b*c*", true}, MatchCase{"acb", "a*b*c", false},
        // exact, empty
        MatchCase{"", "", true}, MatchCase{"a", "", false}, MatchCase{"", "a", false}, MatchCase{"abc", "abc", true},
        MatchCase{"abc", "abcd", false}, MatchCase{"a]", "a]", true},
        // question mark and hash
        MatchCase{"abc", "a?c", true}, MatchCase{"ac", "a?c", false}, MatchCase{"", "?", false},
        MatchCase{"a1c", "a#c", true}, MatchCase{"abc", "a#c", false}, MatchCase{"a12", "a##", true},
        MatchCase{"a1", "a##", false},
        // bracket lists
        MatchCase{"b", "[abc]", true}, MatchCase{"d", "[abc]", false}, MatchCase{"m", "[a-z]", true},
        MatchCase{"M", "[a-z]", false}, MatchCase{"m", "[!a-z]", false}, MatchCase{"1", "[!a-z]", true},
        MatchCase{"5", "[0-36-9]", false}, MatchCase{"7", "[0-36-9]", true}, MatchCase{"-", "[a-]", true},
        MatchCase{"-", "[-a]", true}, MatchCase{"b", "[a-]", false}, MatchCase{"z", "[z-a]", false},
        MatchCase{"ab", "a[]b", true}, MatchCase{"x", "[!]", true}, MatchCase{"", "[!]", false},
        MatchCase{"*", "[*]", true}, MatchCase{"x", "[*]", false}, MatchCase{"?", "[?]", true},
        MatchCase{"#", "[#]", true}, MatchCase{"[", "[", true}, MatchCase{"[a", "[a", true},
        MatchCase{"ab", "[a", false}, MatchCase{"v1.lng", "v[0-9].*", true},
        // characters, not bytes
        MatchCase{"\xC3\xA4.lng", "?.lng", true}, MatchCase{"\xC3\xB6", "[\xC3\xA4-\xC3\xBC]", true},
        MatchCase{"\xC3\xBC", "[\xC3\xA4-\xC3\xB6]", false}, MatchCase{"\xC3", "?", true},
        MatchCase{"\xC3\xA4", "\xC3?", false}, MatchCase{"\xE2\x82\xAC", "#", false}));

// ---------------------------------------------------------------------------------------------
// Listing folders
// ---------------------------------------------------------------------------------------------

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

class FindFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteFile(dir / "ENGLISH.LNG", "x");
        test::WriteFile(dir / "Deutsch.neu.lng", "x");
        test::WriteFile(dir / "readme.txt", "x");
        fs::create_directory(dir.Path() / "x.lng");
        test::WriteFile(dir / "x.lng/inner.lng", "x");
        fs::create_directories(dir.Path() / "sub" / "deeper");
        test::WriteFile(dir / "sub/b.lng", "x");
        test::WriteFile(dir / "sub/deeper/c.lng", "x");
#ifndef _WIN32 // std::filesystem makes no symbolic links on Windows (reparse points: tests/win32)
        fs::create_directory_symlink(dir.Path() / "sub", dir.Path() / "link");
#endif
    }
    test::TempDir dir;
    const std::string sep{platform::kPathSeparator};
};

TEST_F(FindFilesTest, ListsMatchingFilesNotFolders) {
    std::vector<std::string> files;
    EXPECT_EQ(FindFiles(dir.Str(), files, "*.lng", 0, false), 2);
    EXPECT_EQ(Sorted(files), (std::vector<std::string>{dir / "Deutsch.neu.lng", dir / "ENGLISH.LNG"}));
}

TEST_F(FindFilesTest, PatternAndNamesAreComparedInLowerCase) {
    for (const char* pattern : {"*.lng", "*.LNG", "*.Lng", "english.lng", "[e]*", "[A-F]*.LNG"}) {
        SCOPED_TRACE(pattern);
        std::vector<std::string> files;
        FindFiles(dir.Str(), files, pattern, 0, false);
        EXPECT_NE(std::find(files.begin(), files.end(), dir / "ENGLISH.LNG"), files.end());
    }
}

TEST_F(FindFilesTest, TrailingSeparatorIsNotDoubled) {
    std::vector<std::string> files;
    EXPECT_EQ(FindFiles(dir.Str() + sep, files, "readme.txt", 0, false), 1);
    EXPECT_EQ(files, std::vector<std::string>{dir / "readme.txt"});
}

TEST_F(FindFilesTest, AddsToWhatTheListHeldAndCountsOnlyItsOwn) {
    std::vector<std::string> files{"earlier"};
    EXPECT_EQ(FindFiles(dir.Str(), files, "readme.txt", 0, false), 1);
    EXPECT_EQ(files, (std::vector<std::string>{"earlier", dir / "readme.txt"}));
}

TEST_F(FindFilesTest, RecursesIntoFoldersButNotIntoLinks) {
    std::vector<std::string> files;
    EXPECT_EQ(FindFiles(dir.Str(), files, "*.lng", 0, true), 5);
    EXPECT_EQ(Sorted(files), Sorted({dir / "ENGLISH.LNG", dir / "Deutsch.neu.lng", dir / "x.lng" + sep + "inner.lng",
                                     dir / "sub" + sep + "b.lng", dir / "sub" + sep + "deeper" + sep + "c.lng"}));
}

TEST_F(FindFilesTest, FilesComeInTheFolderOrder) {
    std::vector<std::string> expected;
    ASSERT_TRUE(platform::EnumerateDirectory(dir.Str(), [&](const platform::DirEntry& e) {
        if (e.kind == platform::EntryKind::File) expected.push_back(dir / e.name);
    }));
    std::vector<std::string> files;
    EXPECT_EQ(FindFiles(dir.Str(), files, "*", 0, false), 3);
    EXPECT_EQ(files, expected);
}

TEST_F(FindFilesTest, AttributeMaskNeedsEveryBit) {
    test::WriteFile(dir / "locked.txt", "x");
    test::WriteFile(dir / ".hidden.txt", "x");
    ASSERT_TRUE(platform::SetReadOnly(dir / "locked.txt", true));
    const struct {
        std::uint32_t mask;
        std::vector<std::string> expected;
    } cases[] = {
        {0, {dir / ".hidden.txt", dir / "locked.txt", dir / "readme.txt"}},
        {platform::kAttrReadOnly, {dir / "locked.txt"}},
        {platform::kAttrHidden, {dir / ".hidden.txt"}},
        {platform::kAttrReadOnly | platform::kAttrHidden, {}},
        {platform::kAttrDirectory, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        std::vector<std::string> files;
        EXPECT_EQ(FindFiles(dir.Str(), files, "*.txt", c.mask, false), static_cast<long>(c.expected.size()));
        EXPECT_EQ(Sorted(files), c.expected);
    }
}

TEST_F(FindFilesTest, FolderThatCannotBeListedRaises76) {
    for (const std::string& path : {dir / "missing", dir / "readme.txt", std::string()}) {
        SCOPED_TRACE(path);
        std::vector<std::string> files;
        try {
            (void)FindFiles(path, files, "*", 0, false);
            ADD_FAILURE() << "no error";
        } catch (const VwxError& e) {
            EXPECT_EQ(e.Number(), 76);
            EXPECT_EQ(e.Source(), "LanguageWindow.FindFiles");
            EXPECT_EQ(e.Description(), "Path not found");
        }
        EXPECT_TRUE(files.empty());
    }
}

} // namespace
} // namespace vaultwing
