// The INI text functions on hand-written files.
#include "base/IniText.h"

#include <gtest/gtest.h>

#include "config/IniReadCases.h"

#include <string>
#include <vector>

namespace vaultwing {
namespace {

using namespace std::string_literals;

class IniRead : public ::testing::TestWithParam<test::IniReadCase> {};

TEST_P(IniRead, Table) {
    const auto& c = GetParam();
    EXPECT_EQ(IniReadValue(c.content, c.section, c.key), c.expected);
}

const std::string k300(300, 'a');

INSTANTIATE_TEST_SUITE_P(Cases, IniRead, ::testing::ValuesIn(test::IniReadCases()),
                         [](const auto& tc) { return std::string(tc.param.name); });

struct CutCase {
    const char* name;
    std::string text;
    std::size_t max;
    std::string expected;
};

class CutChars : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutChars, Table) {
    const auto& c = GetParam();
    EXPECT_EQ(CutToChars(c.text, c.max), c.expected);
}

const std::string kUmlaut = "\xC3\xA4";        // two bytes
const std::string kEuro = "\xE2\x82\xAC";      // three bytes
const std::string kEmoji = "\xF0\x9F\x94\x91"; // four bytes

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

INSTANTIATE_TEST_SUITE_P(Cases, CutChars,
                         ::testing::Values(CutCase{"Empty", "", 254, ""}, CutCase{"Shorter", "abc", 254, "abc"},
                                           CutCase{"ZeroLimit", "abc", 0, ""},
                                           CutCase{"AsciiBytes", std::string(255, 'x'), 254, std::string(254, 'x')},
                                           CutCase{"TwoByteChars", Repeat(kUmlaut, 300), 254, Repeat(kUmlaut, 254)},
                                           CutCase{"NeverInsideSequence", std::string(253, 'a') + kEuro + "b", 254,
                                                   std::string(253, 'a') + kEuro},
                                           CutCase{"FourByteChars", Repeat(kEmoji, 3), 2, Repeat(kEmoji, 2)},
                                           CutCase{"InvalidBytesCountSingly", "\xFF\xFE\x80z", 3, "\xFF\xFE\x80"},
                                           CutCase{"TruncatedSequenceCountsBytes", "\xE2\x82", 1, "\xE2"},
                                           CutCase{"Cp1252BytesCountSingly", "\xE4\xF6\xFC", 2, "\xE4\xF6"}),
                         [](const auto& tc) { return std::string(tc.param.name); });

struct UpdateCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    const char* value;
    std::string expected;
};

class IniUpdate : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(IniUpdate, Table) {
    const auto& c = GetParam();
    const auto updated = IniUpdateValue(c.content, c.section, c.key, c.value);
    ASSERT_TRUE(updated.has_value());
    EXPECT_EQ(*updated, c.expected);
}

// A file as people edit it: comments, other sections, odd spacing, mixed line ends.
const std::string kHandWritten = "; Vaultwing settings\n"
                                 "[Andere]\n"
                                 "Delete = keep me\n"
                                 "\n"
                                 "[einstellungen] ; main\r\n"
                                 "  delete = 0  \r\n"
                                 "; a note\r\n"
                                 "Sprache=\"Deutsch\"\r\n"
                                 "\r\n"
                                 "\r\n"
                                 "[Letzte]\n"
                                 "Z=9";

INSTANTIATE_TEST_SUITE_P(
    Cases, IniUpdate,
    ::testing::Values(
        UpdateCase{"CreatesFileContent", "", "Einstellungen", "Transparenz", "255",
                   "[Einstellungen]\r\nTransparenz=255\r\n"},
        UpdateCase{"ReplacesInPlaceKeepingEverythingElse", kHandWritten, "Einstellungen", "Delete", "1",
                   "; Vaultwing settings\n[Andere]\nDelete = keep me\n\n[einstellungen] ; main\r\n"
                   "delete=1\r\n; a note\r\nSprache=\"Deutsch\"\r\n\r\n\r\n[Letzte]\nZ=9"},
        UpdateCase{"NewKeyAfterLastLineOfSection", kHandWritten, "Einstellungen", "Pfad", "1",
                   "; Vaultwing settings\n[Andere]\nDelete = keep me\n\n[einstellungen] ; main\r\n"
                   "  delete = 0  \r\n; a note\r\nSprache=\"Deutsch\"\r\nPfad=1\r\n\r\n\r\n[Letzte]\nZ=9"},
        UpdateCase{"NewKeyInLastSectionWithoutLineEnd", kHandWritten, "LETZTE", "Y", "8", kHandWritten + "\r\nY=8\r\n"},
        UpdateCase{"NewSectionAtEnd", kHandWritten, "Neu", "K", "v", kHandWritten + "\r\n\r\n[Neu]\r\nK=v\r\n"},
        UpdateCase{"NewSectionAfterBlankLine", "[A]\r\nB=2\r\n\r\n", "S", "K", "v", "[A]\r\nB=2\r\n\r\n[S]\r\nK=v\r\n"},
        UpdateCase{"NewSectionAfterLineEnd", "[A]\r\nB=2\r\n", "S", "K", "v", "[A]\r\nB=2\r\n\r\n[S]\r\nK=v\r\n"},
        UpdateCase{"NewKeyInHeaderOnlySection", "[S]\n[T]\n", "S", "K", "v", "[S]\nK=v\r\n[T]\n"},
        UpdateCase{"NewKeyInSectionAtEndWithoutLineEnd", "[S]", "S", "K", "v", "[S]\r\nK=v\r\n"},
        UpdateCase{"OnlyFirstDuplicateReplaced", "[S]\r\nK=1\r\nK=2\r\n", "S", "k", "3", "[S]\r\nK=3\r\nK=2\r\n"},
        UpdateCase{"FirstDuplicateSectionUsed", "[S]\r\nA=1\r\n[T]\r\n[S]\r\n", "s", "B", "2",
                   "[S]\r\nA=1\r\nB=2\r\n[T]\r\n[S]\r\n"},
        UpdateCase{"KeyWithoutEqualsGetsValue", "[S]\r\nK\r\n", "S", "K", "v", "[S]\r\nK=v\r\n"},
        UpdateCase{"LastLineReplacedWithoutLineEnd", "[S]\nK=1", "S", "K", "2", "[S]\nK=2"},
        UpdateCase{"ByteOrderMarkKept", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "S", "K", "2", "\xEF\xBB\xBF[S]\r\nK=2\r\n"},
        UpdateCase{"EmptyValue", "[S]\r\nK=1\r\n", "S", "K", "", "[S]\r\nK=\r\n"},
        UpdateCase{"ArgumentsTrimmed", "", " S ", " K ", "v", "[S]\r\nK=v\r\n"}),
    [](const auto& tc) { return std::string(tc.param.name); });

// Names and values that would change other lines or not read back are not written.
TEST(IniUpdateRefused, MalformedNamesAndValues) {
    struct Refused {
        std::string section, key, value;
    };
    const std::vector<Refused> cases = {
        {"S", "", "v"},     {"S", "  ", "v"},       {"S", "a=b", "v"},   {"S", "[x", "v"},   {"S", ";x", "v"},
        {"S", "a\nb", "v"}, {"S", "a\rb", "v"},     {"", "K", "v"},      {"a]b", "K", "v"},  {"a\nb", "K", "v"},
        {"S", "K", "a\nb"}, {"S", "K", "a\r\n[X]"}, {"S", "K", "a\0b"s}, {"S", "K\0"s, "v"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(IniUpdateValue("[S]\r\nK=1\r\n", c.section, c.key, c.value).has_value())
            << "section '" << c.section << "' key '" << c.key << "'";
    }
}

// Every write reads back, and leaves every other setting of the file reading as before.
TEST(IniUpdateRoundTrip, WrittenValueReadsBackOthersUnchanged) {
    const std::vector<std::string> files = {"", kHandWritten, "[S]\nK=1", "\xEF\xBB\xBF[S]\r\n", "x\r\n[S]"};
    const std::vector<std::pair<std::string, std::string>> probes = {{"Einstellungen", "Delete"},
                                                                     {"Einstellungen", "Sprache"},
                                                                     {"Andere", "Delete"},
                                                                     {"Letzte", "Z"},
                                                                     {"S", "K"},
                                                                     {"Neu", "K"},
                                                                     {"S", "Other"}};
    const std::vector<std::string> values = {"1", "", "C:\\Pfad mit Leerzeichen", "/home/j\xC3\xBCrgen", k300};
    for (const auto& file : files) {
        for (const auto& [section, key] : probes) {
            for (const auto& value : values) {
                const auto updated = IniUpdateValue(file, section, key, value);
                ASSERT_TRUE(updated.has_value());
                EXPECT_EQ(IniReadValue(*updated, section, key), CutToChars(value, kIniMaxValueChars));
                for (const auto& [otherSection, otherKey] : probes) {
                    if (otherSection == section && otherKey == key) continue;
                    EXPECT_EQ(IniReadValue(*updated, otherSection, otherKey),
                              IniReadValue(file, otherSection, otherKey))
                        << "writing " << section << "/" << key << " changed " << otherSection << "/" << otherKey;
                }
                // Writing the same value again changes nothing.
                EXPECT_EQ(IniUpdateValue(*updated, section, key, value), updated);
            }
        }
    }
}

} // namespace
} // namespace vaultwing
