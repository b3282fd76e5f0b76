#include "password/KeyInput.h"
#include "password/KeyRules.h"

#include <gtest/gtest.h>
#include <string>

namespace vaultwing {
namespace {

TEST(KeyRules, AcceptanceAndQuality) {
    const std::tuple<const char*, bool, int> cases[] = {
        {"abcde", false, 0},        // too short
        {"Ab1!Ab1!Ab1!", false, 0}, // three copies of a strong piece
        {"abcabca", true, 21},      // a partial last copy is accepted
        {"abcABC", true, 22},       // case counts: not a repetition
        {"123457", true, 18},       // digits without a letter: no bonus
        {"Abcdef1!", true, 62},
        {"Abcdefghijk!", true, 64}, // 43 x 1.5 = 64.5 rounds to the even 64
        {"abcdef[`", true, 24},     // codes 91..96 count for nothing
        {"abcdef{|", true, 36},     // codes 123..126 are special
        {"abcdef}~", true, 36},
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", false, 0}, // five characters, ten bytes
        // Six characters outside the code page: six equal '?'.
        {"\xE4\xB8\xAD\xE5\x9B\xBD\xE6\x97\xA5\xE6\x9C\xAC\xE9\x9F\xA9\xE8\xB6\x8A", false, 0},
        {"abcde\xE2\x82\xAC", true, 27}, // the euro sign is in the code page: special
        {"abcdef\x01", true, 32},        // a control character is special
    };
    for (const auto& [password, valid, quality] : cases) {
        EXPECT_EQ(IsValidKey(password), valid) << password;
        EXPECT_EQ(KeyQuality(password), quality) << password;
    }
}

TEST(IsKeyCharacter, Windows1252Codes33To255) {
    // 0x81 is a C1 control, the euro sign is code 128, Omega and emoji lie outside the code page.
    const std::pair<char32_t, bool> cases[] = {{U' ', false},      {U'!', true},          {U'\x7F', true},
                                               {U'\t', false},     {U'\x81', false},      {U'\xA0', true},
                                               {U'\xFF', true},    {U'\u20AC', true},     {U'\u2013', true},
                                               {U'\u03A9', false}, {U'\U0001F600', false}};
    for (const auto& [c, accepted] : cases)
        EXPECT_EQ(IsKeyCharacter(c), accepted) << static_cast<unsigned>(c);
}

// A whole password as given on the command line: taken for encryption, taken for decryption.
TEST(IsKeyText, WellFormedKeyCharactersOnly) {
    const std::tuple<const char*, bool, bool> cases[] = {
        {"Gr\xC3\xBC\xC3\x9F\xE2\x82\xAC-2024", true, true}, // Grüß€-2024
        {"correct horse", false, true},                      // earlier versions took spaces
        {"секрет2024", false, false},                        // Cyrillic: not in the code page
        {"abc\tdef", false, false},
        {"abc\xC2\x85x", false, false}, // a C1 control
        {"abc\xE9x", false, false},     // Latin-1, not UTF-8
        {"abc\xC3", false, false}};     // cut short
    for (const auto& [text, encryption, decryption] : cases) {
        EXPECT_EQ(IsKeyText(text, KeyUse::Encryption), encryption) << text;
        EXPECT_EQ(IsKeyText(text, KeyUse::Decryption), decryption) << text;
    }
}

} // namespace
} // namespace vaultwing
