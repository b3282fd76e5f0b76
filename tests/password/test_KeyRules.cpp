#include "password/KeyInput.h"
#include "password/KeyRules.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

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

// What the password fields take (IsKeyCharacter) and the command line checks whole: Windows-1252
// codes 33..255 but DEL in well-formed UTF-8 (0x81: a C1 control; Omega and emoji: not in the code page).
TEST(IsKeyText, Windows1252Codes33To255ButDelInWellFormedUtf8) {
    const std::pair<std::vector<const char*>, bool> cases[] = {
        {{"!", "~", "\xC2\xA0", "\xC3\xBF", "\xE2\x82\xAC", "\xE2\x80\x93", "Gr\xC3\xBC\xC3\x9F!"}, true},
        {{"\t", "\x7F", "a\177b", "\xC2\x81", "\xCE\xA9", "\xF0\x9F\x98\x80", "a\xE9z", "a\xC3"}, false}};
    for (const auto& [texts, accepted] : cases)
        for (const char* text : texts)
            for (const KeyUse use : {KeyUse::Encryption, KeyUse::Decryption})
                EXPECT_EQ(IsKeyText(text, use), accepted) << text;
    EXPECT_FALSE(IsKeyText("a b", KeyUse::Encryption)); // decryption takes it, as earlier versions did: see Cli
}

} // namespace
} // namespace vaultwing
