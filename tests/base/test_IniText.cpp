#include "base/IniText.h"

#include <gtest/gtest.h>

#include "config/IniReadCases.h"

namespace vaultwing {
namespace {

using namespace std::string_literals;

TEST(IniRead, Table) {
    for (const auto& c : test::IniReadCases())
        EXPECT_EQ(IniReadValue(c.content, c.section, c.key), c.expected) << c.name;
}

// Characters, not bytes: a UTF-8 sequence counts once and is never cut; any other byte counts once.
TEST(CutToChars, NeverInsideASequence) {
    const std::string euro = "\xE2\x82\xAC", emoji = "\xF0\x9F\x94\x91";
    EXPECT_EQ(CutToChars(std::string(253, 'a') + euro + "b", 254), std::string(253, 'a') + euro);
    EXPECT_EQ(CutToChars(emoji + emoji + "\xFF", 2), emoji + emoji);
}

const std::string kHandWritten = "; Vaultwing settings\n[Andere]\nDelete = keep me\n\n[einstellungen] ; main\r\n"
                                 "  delete = 0  \r\n; a note\r\nSprache=\"Deutsch\"\r\n\r\n[Letzte]\nZ=9";

// The new value reads back; a key is replaced in place, added after the last line of its section
// or in a new section at the end; every other byte stays.
TEST(IniUpdate, ReplacesInPlaceAddsAfterTheSectionAndKeepsEveryOtherByte) {
    const std::tuple<std::string, const char*, const char*, std::string> cases[] = {
        {kHandWritten, "EINSTELLUNGEN", "1",
         "; Vaultwing settings\n[Andere]\nDelete = keep me\n\n[einstellungen] ; main\r\n"
         "delete=1\r\n; a note\r\nSprache=\"Deutsch\"\r\n\r\n[Letzte]\nZ=9"},
        {kHandWritten, "Letzte", "1", kHandWritten + "\r\nDelete=1\r\n"},
        {kHandWritten, "Neu", "", kHandWritten + "\r\n\r\n[Neu]\r\nDelete=\r\n"},
        {"[A]\r\nB=2\r\n\r\n[S]\r\n", "A", "v", "[A]\r\nB=2\r\nDelete=v\r\n\r\n[S]\r\n"},
        {"\xEF\xBB\xBF[S]\r\ndelete=1\r\ndelete=2", "s", "3", "\xEF\xBB\xBF[S]\r\ndelete=3\r\ndelete=2"},
        // Found by fuzzing: a new key after a last line ending in a lone CR must not join that line.
        {"[S]\r\nPfad=1\r", "S", "1", "[S]\r\nPfad=1\r\r\nDelete=1\r\n"},
        {"[S]\r\nPfad=1 \r", "S", "1", "[S]\r\nPfad=1 \r\r\nDelete=1\r\n"},
    };
    for (const auto& [content, section, value, expected] : cases) {
        EXPECT_EQ(IniUpdateValue(content, section, "Delete", value), expected) << section;
        EXPECT_EQ(IniReadValue(expected, section, "Delete"), value);
        EXPECT_EQ(IniUpdateValue(expected, section, "Delete", value), expected); // the same again: no change
    }
}

// Names and values that would change other lines or not read back are not written.
TEST(IniUpdate, MalformedNamesAndValuesRefused) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"S", "", "v"}, {"S", "a=b", "v"}, {"S", "[x", "v"},       {"S", ";x", "v"},    {"S", "a\nb", "v"},
        {"", "K", "v"}, {"a]b", "K", "v"}, {"S", "K", "a\r\n[X]"}, {"S", "K", "a\0b"s}, {"S", "K\0"s, "v"}};
    for (const auto& [section, key, value] : cases)
        EXPECT_FALSE(IniUpdateValue("[S]\r\nK=1\r\n", section, key, value).has_value()) << section << "/" << key;
}

} // namespace
} // namespace vaultwing
