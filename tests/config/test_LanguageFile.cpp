#include "config/LanguageFile.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace vaultwing {
namespace {

constexpr const char* kHeaderLine = "000 VAULTWING LANGUAGEFILE\r\n";

// ---------------------------------------------------------------------------------------------
// The leading-number rule of the index field
// ---------------------------------------------------------------------------------------------

struct NumberCase {
    const char* text;
    double value;
};
void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class LeadingNumberTable : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumberTable, ReadsThePrefix) {
    EXPECT_DOUBLE_EQ(LeadingNumber(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, LeadingNumberTable,
                         ::testing::Values(NumberCase{"045", 45}, NumberCase{" 45", 45}, NumberCase{"45 ", 45},
                                           NumberCase{"  7", 7}, NumberCase{"12a", 12}, NumberCase{"abc", 0},
                                           NumberCase{"", 0}, NumberCase{"   ", 0}, NumberCase{"-12", -12},
                                           NumberCase{"+12", 12}, NumberCase{"1e9", 1e9}, NumberCase{"1E2", 100},
                                           NumberCase{"1e", 1}, NumberCase{"1e+", 1}, NumberCase{"2e-1", 0.2},
                                           NumberCase{"1.5", 1.5}, NumberCase{".5", 0.5}, NumberCase{"5.", 5},
                                           NumberCase{".", 0}, NumberCase{"-", 0}, NumberCase{"+-1", 0},
                                           NumberCase{"1 2", 1}, NumberCase{"\t12", 0}, NumberCase{"1-2", 1},
                                           NumberCase{"9e999", HUGE_VAL}, NumberCase{"1e-999", 0}));

// ---------------------------------------------------------------------------------------------
// Lines and entries
// ---------------------------------------------------------------------------------------------

struct EntryCase {
    const char* name;
    std::string text;
    int index;
    std::string expected;
    bool parsed = true;
    bool validHeader = true;
};
void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << c.name;
}
std::string H(const std::string& lines) {
    return kHeaderLine + lines;
}

class EntryTable : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryTable, StoresTheText) {
    const auto& c = GetParam();
    LangTable table;
    table.Set(c.index, "old");
    EXPECT_EQ(ParseLanguageFile(c.text, table), c.parsed);
    EXPECT_EQ(table[c.index], c.expected);
    EXPECT_EQ(table.HasValidHeader(), c.validHeader);
}

const std::string kBom = "\xEF\xBB\xBF";

INSTANTIATE_TEST_SUITE_P(
    Table, EntryTable,
    ::testing::Values(
        EntryCase{"LeadingZero", H("045 text\r\n"), 45, "text"},
        EntryCase{"LeadingSpace", H(" 45 text\r\n"), 45, "text"},
        EntryCase{"TrailingSpace", H("45  text\r\n"), 45, "text"},
        EntryCase{"EqualsSeparator", H("045=text\r\n"), 45, "text"}, EntryCase{"DigitsAlone", H("123\r\n"), 123, ""},
        EntryCase{"DigitsAndSpace", H("123 \r\n"), 123, ""}, EntryCase{"ShortLine", H("12\r\n"), 12, ""},
        EntryCase{"NoLineEndAtEnd", H("123 last"), 123, "last"},
        EntryCase{"UnderscoreToCr", H("606 First line_second line\r\n"), 606, "First line\rsecond line"},
        EntryCase{"Underscores", H("7   __a_\r\n"), 7, "\r\ra\r"},
        EntryCase{"TrailingSpacesKept", H("200 Encrypting  \r\n"), 200, "Encrypting  "},
        EntryCase{"LeadingSpacesKept", H("200   x\r\n"), 200, "  x"},
        EntryCase{"NoQuotesOrEscapes", H("201 \"a\\tb\";c\r\n"), 201, "\"a\\tb\";c"},
        EntryCase{"LaterEntryWins", H("050 one\r\n050 two\r\n"), 50, "two"},
        EntryCase{"LoneCrEndsLine", H("051 a\r052 b\r\n"), 51, "a"},
        EntryCase{"LoneLfStaysInLine", H("053 a\n054 b\r\n"), 53, "a\n054 b"},
        EntryCase{"HalfRoundsToEven", H("2.5 x\r\n"), 2, "x"}, EntryCase{"HalfRoundsUp", H("3.5 x\r\n"), 4, "x"},
        EntryCase{"RoundsToNearest", H("1.6 x\r\n"), 2, "x"}, EntryCase{"HighestIndex", H("999 last\r\n"), 999, "last"},
        EntryCase{"Cp1252Umlauts", H("300 \xC4nderung \xFC\xDF \x80\r\n"), 300,
                  "\xC3\x84nderung \xC3\xBC\xC3\x9F \xE2\x82\xAC"},
        EntryCase{"CommentSkipped", H(";01 comment\r\n"), 1, "old"},
        EntryCase{"SpacesOnlyLineSkipped", H("     \r\n"), 0, "VAULTWING LANGUAGEFILE"},
        EntryCase{"TabsOnlyLineIsTextZero", H("\t\t\t\t\t\r\n"), 0, "\t", true, false},
        // A forgotten comment marker: the three letters read as index 0 and overwrite the header.
        EntryCase{"LettersOverwriteTheHeader", H("abc this was meant as a comment\r\n"), 0,
                  "this was meant as a comment", true, false},
        EntryCase{"HeaderOnAnyLine", "005 five\r\n000 VAULTWING LANGUAGEFILE", 5, "five"},
        EntryCase{"Utf8WithByteOrderMark", kBom + H("300 \xC3\x84nderung \xE2\x82\xAC\r\n"), 300,
                  "\xC3\x84nderung \xE2\x82\xAC"},
        // Index field "1ä2" reads 1; column 4 is "ß"; the text starts after it.
        EntryCase{"Utf8ColumnsCountCharacters",
                  kBom + "1\xC3\xA4"
                         "2\xC3\x9Ftext\r\n",
                  1, "text", true, false},
        // Without a byte order mark the bytes of a UTF-8 "Ä" are two Windows-1252 characters.
        EntryCase{"WithoutBomBytesAreWindows1252", "001 \xC3\x84\r\n", 1, "\xC3\x83\xE2\x80\x9E", true, false},
        // A malformed line is skipped and reported; the lines after it are still read.
        EntryCase{"MalformedUtf8Skipped", kBom + H("001 bad \xC3\r\n"), 1, "old", false},
        EntryCase{"LineAfterMalformedUtf8Read", kBom + H("001 bad \xC3\r\n002 good\r\n"), 2, "good", false}),
    [](const auto& p) { return std::string(p.param.name); });

// Indices the table does not have are a failed step: nothing stored, the rest still read.
TEST(ParseLanguageFile, OutOfRangeIndexIsNotStored) {
    for (const char* line :
         {"-12 negative", "1e9 exponent", "1e3 thousand", "-1 x", "-.6 rounds to -1", "9e2 nine hundred"}) {
        SCOPED_TRACE(line);
        LangTable table;
        const bool inRange = std::string_view(line) == "9e2 nine hundred";
        EXPECT_EQ(ParseLanguageFile(std::string(kHeaderLine) + line + "\r\n010 after\r\n", table), inRange);
        EXPECT_EQ(table[10], "after");
        EXPECT_EQ(table[900], inRange ? "nine hundred" : "");
        EXPECT_EQ(table[0], "VAULTWING LANGUAGEFILE");
    }
}

// ---------------------------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------------------------

std::string EntriesFile(int count, const std::string& word) {
    std::string text = "; generated\r\n" + std::string(kHeaderLine);
    for (int i = 1; i <= count; ++i)
        text += std::to_string(100 + i) + " " + word + "\r\n";
    return text;
}

TEST(LoadLanguageFile, ResultCodes) {
    test::TempDir dir;
    test::WriteFile(dir / "good.lng", std::string(kHeaderLine) + "002 Language\r\n");
    test::WriteFile(dir / "noheader.lng", "002 Language\r\n");
    test::WriteFile(dir / "wrongcase.lng", "000 Vaultwing Languagefile\r\n");
    test::WriteFile(dir / "badindex.lng", std::string(kHeaderLine) + "-12 x\r\n");
    test::WriteFile(dir / "empty.lng", "");
    test::WriteFile(dir / "forgotten.lng", std::string(kHeaderLine) + "abc meant as a comment\r\n");
    test::WriteFile(dir / "bom.lng", "\xEF\xBB\xBF; comment\r\n000 VAULTWING LANGUAGEFILE\r\n");
    test::WriteFile(dir / "lf.lng", "000 VAULTWING LANGUAGEFILE\n002 Language\n"); // one line, text 0 too long
    std::filesystem::create_directory(dir.Path() / "folder.lng");

    const struct {
        std::string path;
        int result;
    } cases[] = {
        {dir / "good.lng", 0},      {dir / "noheader.lng", 1}, {dir / "wrongcase.lng", 1}, {dir / "badindex.lng", 1},
        {dir / "empty.lng", 1},     {dir / "missing.lng", 1},  {dir / "folder.lng", 1},    {"", 1},
        {dir / "forgotten.lng", 1}, {dir / "bom.lng", 0},      {dir / "lf.lng", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        LangTable table;
        EXPECT_EQ(LoadLanguageFile(c.path, table), c.result);
    }
}

TEST(LoadLanguageFile, MissingFileChangesNothing) {
    test::TempDir dir;
    LangTable table;
    table.Set(0, LangTable::kHeader);
    table.Set(2, "Sprache");
    EXPECT_EQ(LoadLanguageFile(dir / "gone.lng", table), 1);
    EXPECT_EQ(LoadLanguageFile("", table), 1);
    EXPECT_TRUE(table.HasValidHeader());
    EXPECT_EQ(table[2], "Sprache");
}

// The table is never cleared: a shorter file leaves the texts it lacks from the earlier one,
// and a file without a header keeps the earlier header.
TEST(LoadLanguageFile, LaterFileOverwritesOnlyItsOwnEntries) {
    test::TempDir dir;
    test::WriteFile(dir / "long.lng", EntriesFile(700, "old"));
    test::WriteFile(dir / "short.lng", EntriesFile(600, "new"));
    test::WriteFile(dir / "headless.lng", "101 headless\r\n");
    LangTable table;
    ASSERT_EQ(LoadLanguageFile(dir / "long.lng", table), 0);
    ASSERT_EQ(table[101], "old");
    ASSERT_EQ(LoadLanguageFile(dir / "short.lng", table), 0);
    EXPECT_EQ(table[101], "new");
    EXPECT_EQ(table[700], "new");
    EXPECT_EQ(table[701], "old");
    EXPECT_EQ(table[800], "old");
    EXPECT_EQ(LoadLanguageFile(dir / "headless.lng", table), 0);
    EXPECT_EQ(table[101], "headless");
}

} // namespace
} // namespace vaultwing
