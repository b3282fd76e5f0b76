#include "base/CaseFold.h"

#include <gtest/gtest.h>
#include <string>

namespace vaultwing {
namespace {

TEST(EqualsIgnoringCase, FoldsTheLettersOfTheCodePageOnly) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"abc", "ABC", true},
        {"abc", "abcd", false},
        {"\xC3\x84rger", "\xC3\xA4RGER", true},
        {"\xC3\x80\xC3\x9E", "\xC3\xA0\xC3\xBE", true}, // À Þ / à þ: first and last folded capital
        {"\xC3\x97", "\xC3\xB7", false},                // × and ÷ are no letter pair
        {"\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8", "\xC5\xA1\xC5\x93\xC5\xBE\xC3\xBF", true}, // ŠŒŽŸ / šœžÿ
        {"\xD0\x94", "\xD0\xB4", false}, // Д / д lie outside the code page: exact only
        {"\xC4", "\xE4", false},         // malformed bytes compare as bytes
        {"[", "{", false},               // neighbours of the ASCII letters
    };
    for (const auto& [a, b, equal] : cases) {
        EXPECT_EQ(EqualsIgnoringCase(a, b), equal) << a << " / " << b;
        EXPECT_EQ(EqualsIgnoringCase(b, a), equal) << b << " / " << a;
    }
}

} // namespace
} // namespace vaultwing
