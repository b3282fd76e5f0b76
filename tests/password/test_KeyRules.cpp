#include "password/KeyInput.h"
#include "password/KeyRules.h"

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
    EXPECT_EQ(IsValidKey(GetParam().password), GetParam().valid);
    EXPECT_EQ(KeyQuality(GetParam().password), GetParam().quality);
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
                      KeyCase{"abcdef\\_", true, 24}, KeyCase{"abcdef!!", true, 36}, KeyCase{"abcdef{|", true, 36},
                      KeyCase{"abcdef}~", true, 36}, // codes 123..126 are special
                      KeyCase{"abcde@", true, 27}, KeyCase{"abcde:", true, 27}, KeyCase{"abcde/", true, 27},
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

TEST(KeyQuality, HugePasswordIsCappedWithoutOverflow) {
    std::string p;
    for (int i = 0; i < 200000; ++i)
        p.push_back(static_cast<char>('a' + (i * 7 + i / 26) % 26));
    ASSERT_TRUE(IsValidKey(p + "Z1"));
    EXPECT_EQ(KeyQuality(p + "Z1"), 100);
}

TEST(IsKeyCharacter, Windows1252Codes33To255) {
    const std::pair<char32_t, bool> cases[] = {
        {U' ', false},     {U'!', true},       {U'~', true},           {U'\x7F', true},   {U'\t', false},
        {U'\b', false},    {U'\r', false},     {U'\x01', false},       {U'\x81', false},  // C1 control
        {U'\xA0', true},   {U'\xE9', true},    {U'\xFF', true},        {U'\u20AC', true}, // euro sign: code 128
        {U'\u2013', true}, {U'\u03A9', false}, {U'\U0001F600', false},                    // not in the code page
    };
    for (const auto& [c, accepted] : cases)
        EXPECT_EQ(IsKeyCharacter(c), accepted) << static_cast<unsigned>(c);
}

} // namespace
} // namespace vaultwing
