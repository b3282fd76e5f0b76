#include "password/KeyRules.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace vaultwing {
namespace {

struct KeyCase {
    const char* password; // UTF-8
    bool valid;
    int quality;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << '"' << c.password << '"';
}

class KeyRules : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyRules, AcceptanceAndQuality) {
    const auto& c = GetParam();
    EXPECT_EQ(IsValidKey(c.password), c.valid) << c.password;
    EXPECT_EQ(KeyQuality(c.password), c.quality) << c.password;
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyRules,
    ::testing::Values(KeyCase{"", false, 0}, KeyCase{"abcde", false, 0}, // too short
                      KeyCase{"aaaaaa", false, 0}, KeyCase{"abcabc", false, 0}, KeyCase{"ababab", false, 0},
                      KeyCase{"Ab1!Ab1!Ab1!", false, 0},                           // three copies of a strong piece
                      KeyCase{"abcabca", true, 21}, KeyCase{"abcabcab", true, 24}, // a partial last copy is accepted
                      KeyCase{"aaaaab", true, 18}, KeyCase{"abcABC", true, 22},    // case counts: not a repetition
                      KeyCase{"abcdef", true, 18}, KeyCase{"123457", true, 18},    // digits without a letter: no bonus
                      KeyCase{"Abcdefg1", true, 41}, KeyCase{"Abcdef1!", true, 62},
                      KeyCase{"Abcdefghij12!?", true, 100},
                      KeyCase{"Abcdefghijk!", true, 64}, // 43 x 1.5 = 64.5 rounds to the even 64
                      KeyCase{"abcdef[]", true, 24}, KeyCase{"abcdef^`", true, 24}, // codes 91..96 count for nothing
                      KeyCase{"abcdef\\_", true, 24}, KeyCase{"abcdef!!", true, 36},
                      KeyCase{"abcde\xC3\xA9", true, 27},                            // é is one character, and special
                      KeyCase{"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", false, 0}, // five characters, ten bytes
                      KeyCase{"\xC3\xA9\xC3\xA8\xC3\xA9\xC3\xA8\xC3\xA9\xC3\xA8", false, 0}, // éè three times
                      // Characters Windows-1252 lacks all become '?': the key is six equal bytes.
                      KeyCase{"\xE4\xB8\xAD\xE5\x9B\xBD\xE6\x97\xA5\xE6\x9C\xAC\xE9\x9F\xA9\xE8\xB6\x8A", false, 0},
                      KeyCase{"\xE2\x82\xAC"
                              "abcde",
                              true, 27}, // the euro sign is in the code page: special
                      KeyCase{"ab\x01"
                              "cdef",
                              true, 32})); // a control character is special

// Second implementation of the score with floating point and the FPU's ties-to-even rounding,
// over every length and every mix of character classes.
TEST(KeyQuality, MatchesFloatingPointOracle) {
    const char* classChars[] = {"A", "a", "1", "!"};
    for (int mask = 1; mask < 16; ++mask) {
        for (int n = 6; n <= 40; ++n) {
            std::string p;
            int classIndex = 0;
            for (int i = 0; i < n; ++i) {
                // Cycle through the chosen classes. The first character never recurs, so the
                // password is no repetition.
                while ((mask & (1 << (classIndex % 4))) == 0)
                    ++classIndex;
                char ch = classChars[classIndex % 4][0];
                const int span = ch == '!' ? 14 : 8;
                ch = static_cast<char>(ch + (i == 0 ? span : i % span));
                p.push_back(ch);
                ++classIndex;
            }
            ASSERT_TRUE(IsValidKey(p)) << p;
            const bool capital = mask & 1, small = mask & 2, digit = mask & 4, special = mask & 8;
            double s = 3.0 * n;
            if (capital && small) s = std::nearbyint(s * 1.2);
            if (digit && (capital || small)) s = std::nearbyint(s * 1.4);
            if (special) s = std::nearbyint(s * 1.5);
            EXPECT_EQ(KeyQuality(p), std::min(100, static_cast<int>(s))) << p;
        }
    }
}

TEST(KeyQuality, HugePasswordIsCappedWithoutOverflow) {
    std::string p;
    for (int i = 0; i < 200000; ++i)
        p.push_back(static_cast<char>('a' + (i * 7 + i / 26) % 26));
    p += "Z1";
    ASSERT_TRUE(IsValidKey(p));
    EXPECT_EQ(KeyQuality(p), 100);
}

} // namespace
} // namespace vaultwing
