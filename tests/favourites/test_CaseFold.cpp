#include "favourites/CaseFold.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vaultwing {
namespace {

TEST(FindListEntry, FirstWholeEntryIgnoringCase) {
    const std::vector<std::string> list = {"C:\\d\\x.txt", "c:\\D\\X.TXT", "\xC3\x84rger.txt", "", "C:\\d\\x"};
    struct Case {
        const char* text;
        std::optional<std::size_t> index;
    };
    const Case cases[] = {
        {"C:\\D\\x.TXT", 0},     // case ignored, first of two matches
        {"c:\\d\\X", 4},         // a whole entry, not the start of entry 0
        {"\xC3\xA4RGER.TXT", 2}, // Ä and ä are one letter
        {"", 3},
        {"C:\\d\\x.txt.vwx", std::nullopt}, // an entry is not a prefix
        {"C:\\d\\x.tx", std::nullopt},
        {"C:\\d", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindListEntry(list, c.text), c.index) << c.text;
    EXPECT_EQ(FindListEntry({}, "x"), std::nullopt);
    EXPECT_EQ(FindListEntry({}, ""), std::nullopt);
}

TEST(EqualsIgnoringCase, FoldsTheLettersOfTheCodePageOnly) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    const Case cases[] = {
        {"abc", "ABC", true},
        {"abc", "abcd", false},
        {"\xC3\x80\xC3\x9E", "\xC3\xA0\xC3\xBE", true}, // À Þ / à þ: first and last folded capital
        {"\xC3\x97", "\xC3\xB7", false},                // × and ÷ are no letter pair
        {"\xC3\x9F", "SS", false},                      // ß stays ß
        {"\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8", "\xC5\xA1\xC5\x93\xC5\xBE\xC3\xBF", true}, // ŠŒŽŸ / šœžÿ
        {"\xD0\x94", "\xD0\xB4", false}, // Д / д lie outside the code page: exact only
        {"\xD0\x94", "\xD0\x94", true},
        {"\xC4", "\xE4", false}, // malformed bytes compare as bytes
        {"\xC4", "\xC4", true},
        {"@", "`", false},
        {"[", "{", false}, // neighbours of the ASCII letters
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EqualsIgnoringCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
        EXPECT_EQ(EqualsIgnoringCase(c.b, c.a), c.equal) << c.b << " / " << c.a;
    }
}

} // namespace
} // namespace vaultwing
