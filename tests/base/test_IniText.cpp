#include "base/IniText.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

#include "config/IniReadCases.h"

namespace vaultwing {
namespace {

using namespace std::string_literals;

class IniRead : public ::testing::TestWithParam<test::IniReadCase> {};

TEST_P(IniRead, Table) {
    EXPECT_EQ(IniReadValue(GetParam().content, GetParam().section, GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, IniRead, ::testing::ValuesIn(test::IniReadCases()),
                         [](const auto& tc) { return std::string(tc.param.name); });

// Characters, not bytes: a UTF-8 sequence counts once and is never cut; any other byte counts once.
TEST(CutToChars, NeverInsideASequence) {
    const std::string euro = "\xE2\x82\xAC", emoji = "\xF0\x9F\x94\x91";
    const std::tuple<std::string, std::size_t, std::string> cases[] = {
        {std::string(253, 'a') + euro + "b", 254, std::string(253, 'a') + euro},
        {emoji + emoji + emoji, 2, emoji + emoji},
        {"\xFF\xFE\x80z", 3, "\xFF\xFE\x80"},
    };
    for (const auto& [text, max, expected] : cases)
        EXPECT_EQ(CutToChars(text, max), expected) << text;
}

// A file as people edit it: comments, other sections, odd spacing, mixed line ends.
const std::string kHandWritten = "; Vaultwing settings\n[Andere]\nDelete = keep me\n\n[einstellungen] ; main\r\n"
                                 "  delete = 0  \r\n; a note\r\nSprache=\"Deutsch\"\r\n\r\n[Letzte]\nZ=9";

// The new value reads back; a key is replaced in place, added after the last line of its section
// or in a new section at the end; every other byte stays.
TEST(IniUpdate, ReplacesInPlaceAddsAfterTheSectionAndKeepsEveryOtherByte) {
    const std::tuple<std::string, const char*, const char*, std::string> cases[] = {
        {"", "Einstellungen", "1", "[Einstellungen]\r\nDelete=1\r\n"},
        {kHandWritten, "EINSTELLUNGEN", "1",
         "; Vaultwing settings\n[Andere]\nDelete = keep me\n\n[einstellungen] ; main\r\n"
         "delete=1\r\n; a note\r\nSprache=\"Deutsch\"\r\n\r\n[Letzte]\nZ=9"},
        {kHandWritten, "Letzte", "1", kHandWritten + "\r\nDelete=1\r\n"},
        {kHandWritten, "Neu", "", kHandWritten + "\r\n\r\n[Neu]\r\nDelete=\r\n"},
        {"[A]\r\nB=2\r\n\r\n[S]\r\n", "A", "v", "[A]\r\nB=2\r\nDelete=v\r\n\r\n[S]\r\n"},
        {"[A]\r\nB=2\r\n", "S", "v", "[A]\r\nB=2\r\n\r\n[S]\r\nDelete=v\r\n"},
        {"\xEF\xBB\xBF[S]\r\ndelete=1\r\ndelete=2", "s", "3", "\xEF\xBB\xBF[S]\r\ndelete=3\r\ndelete=2"},
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
