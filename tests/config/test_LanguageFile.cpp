// Language files: the reader and the files we ship.
#include "config/LanguageFile.h"

#include "config/LangIndices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "support/TempDir.h"

namespace vaultwing {
namespace {

const std::string kHeader = "000 VAULTWING LANGUAGEFILE\r\n";
const std::string kBom = "\xEF\xBB\xBF";

TEST(LeadingNumber, ReadsThePrefix) {
    const std::pair<const char*, double> cases[] = {
        {"045", 45},  {" 45", 45}, {"12a", 12}, {"abc", 0},  {"-12", -12}, {"1E2", 100},       {"1e+", 1},
        {"2e-1", .2}, {".5", .5},  {"+-1", 0},  {"\t12", 0}, {"1-2", 1},   {"9e999", HUGE_VAL}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << '"' << text << '"';
}

// One file's contents, the entry looked at afterwards ("old" before), and whether every line was read.
// A malformed line of a UTF-8 file is skipped and reported; the lines after it are read.
TEST(ParseLanguageFile, Entries) {
    const struct {
        const char* name;
        std::string text;
        int index;
        std::string expected;
        bool parsed = true;
    } cases[] = {
        {"ColumnFourIgnored", kHeader + " 45= text\r\n", 45, " text"},
        {"NoLineEndAtEnd", kHeader + "123 last", 123, "last"},
        {"UnderscoresToCr", kHeader + "7   __a_ \r\n", 7, "\r\ra\r "},
        {"LaterEntryWins", kHeader + "050 one\r\n050 two\r\n", 50, "two"},
        {"LoneCrEndsLine", kHeader + "051 a\r052 b\r\n", 51, "a"},
        {"LineAfterLoneCr", kHeader + "051 a\r052 b\r\n", 52, "b"},
        {"LoneLfStaysInLine", kHeader + "053 a\n054 b\r\n", 53, "a\n054 b"},
        {"HalfRoundsToEven", kHeader + "2.5 x\r\n", 2, "x"},
        {"CommentSkipped", kHeader + ";01 comment\r\n", 1, "old"},
        {"Cp1252", kHeader + "300 \xC4nderung \x80\r\n", 300, "\xC3\x84nderung \xE2\x82\xAC"},
        {"Utf8WithBom", kBom + kHeader + "300 \xC3\x84nderung \xE2\x82\xAC\r\n", 300, "\xC3\x84nderung \xE2\x82\xAC"},
        {"Utf8ColumnsCountCharacters", kBom + "1\xC3\xA4 \xC3\x9Ftext\r\n", 1, "text"},
        {"OutOfRangeIndex", kHeader + "1e3 x\r\n999 last\r\n", 999, "last", false},
        {"NegativeIndex", kHeader + "-.6 x\r\n", 0, "VAULTWING LANGUAGEFILE", false},
        {"TruncatedUtf8", kBom + kHeader + "001 bad \xC3\r\n002 good\r\n", 2, "good", false},
        {"Overlong2", kBom + kHeader + "001 \xC0\xAF\r\n", 1, "old", false},
        {"Overlong3", kBom + kHeader + "001 \xE0\x82\xA9\r\n", 1, "old", false},
        {"Overlong4", kBom + kHeader + "001 \xF0\x80\x80\xAF\r\n", 1, "old", false},
    };
    for (const auto& c : cases) {
        LangTable table;
        table.Set(c.index, "old");
        EXPECT_EQ(ParseLanguageFile(c.text, table), c.parsed) << c.name;
        EXPECT_EQ(table[c.index], c.expected) << c.name;
    }
}

TEST(LoadLanguageFile, TrueForAFileReadWithoutErrorWithItsHeader) {
    test::TempDir dir;
    const std::pair<std::string, bool> cases[] = {{kHeader + "002 Language\r\n", true},
                                                  {kBom + "; comment\r\n" + kHeader, true},
                                                  {"000 Vaultwing Languagefile\r\n", false},
                                                  {kHeader + "-12 x\r\n", false}};
    for (const auto& [content, read] : cases) {
        test::WriteFile(dir / "x.lng", content);
        LangTable table;
        EXPECT_EQ(LoadLanguageFile(dir / "x.lng", table), read) << content;
    }
    // The table is never cleared: a later file overwrites only its own entries (and counts the
    // earlier header), and nothing to read leaves it as it was.
    test::WriteFile(dir / "long.lng", kHeader + "101 old\r\n701 old\r\n");
    test::WriteFile(dir / "headless.lng", "101 new\r\n");
    std::filesystem::create_directory(dir.Path() / "folder.lng");
    LangTable table;
    ASSERT_TRUE(LoadLanguageFile(dir / "long.lng", table));
    EXPECT_TRUE(LoadLanguageFile(dir / "headless.lng", table));
    EXPECT_FALSE(LoadLanguageFile(dir / "folder.lng", table));
    EXPECT_EQ(table[101], "new");
    EXPECT_EQ(table[701], "old");
}

// Where no file gives a text (none loaded, or it lacks the text) the shipped English one, built into
// the program, stands in; the file's own texts win and the header stays the file's.
TEST(LoadLanguage, TheBuiltInEnglishFillsEveryGapButTheHeader) {
    test::TempDir dir;
    LangTable english;
    ASSERT_TRUE(LoadLanguageFile(std::string(VAULTWING_LANG_DIR) + "/English.lng", english));
    test::WriteFile(dir / "partial.lng", kHeader + "606 Leer.\r\n");
    std::filesystem::create_directory(dir.Path() / "folder.lng");
    for (const std::string name : {"missing.lng", "folder.lng", "partial.lng"}) {
        const bool partial = name == "partial.lng";
        LangTable table;
        EXPECT_EQ(LoadLanguage(dir / name, table), partial) << name;
        EXPECT_EQ(table.HasValidHeader(), partial) << name;
        for (int index = 1; index < LangTable::kSize; ++index)
            EXPECT_EQ(table[index], partial && index == lang::kFileEmpty ? "Leer." : english[index]) << name << index;
    }
}

// Each shipped file gives every text the program reads and no other, in Windows-1252 with CR LF
// throughout and without a byte-order mark, so that every copy of the program can read it.
TEST(ShippedLanguageFiles, AreCompleteAndPlainWindows1252) {
    for (const char* name : {"English.lng", "Deutsch.lng"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(VAULTWING_LANG_DIR) + "/" + name;
        LangTable table;
        ASSERT_TRUE(LoadLanguageFile(path, table));
        const std::set<int> known(lang::kAllIndices.begin(), lang::kAllIndices.end());
        for (int index = 1; index < LangTable::kSize; ++index)
            EXPECT_EQ(table[index].empty(), known.count(index) == 0) << "text " << index;
        EXPECT_NE(table[lang::kEdgeOn], table[lang::kEdgeOff]); // compared to switch the state
        EXPECT_NE(table[lang::kDeleteModeOn], table[lang::kDeleteModeOff]);

        const std::string bytes = test::ReadFile(path);
        EXPECT_FALSE(bytes.starts_with(kBom));
        EXPECT_TRUE(bytes.ends_with("\r\n"));
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            const bool lineEnd = b == '\r' ? bytes[i + 1] == '\n' : b == '\n' && i > 0 && bytes[i - 1] == '\r';
            EXPECT_TRUE(lineEnd || (b >= 0x20 &&
                                    std::string_view("\x81\x8D\x8F\x90\x9D").find(bytes[i]) == std::string_view::npos))
                << i;
        }
    }
}

} // namespace
} // namespace vaultwing
