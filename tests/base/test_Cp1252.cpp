#include "base/Cp1252.h"

#include <gtest/gtest.h>

namespace vaultwing {
namespace {

TEST(Cp1252, EncodesAsciiLatin1AndTheHighPunctuation) {
    EXPECT_EQ(Utf8ToCp1252("abc"), "abc");
    EXPECT_EQ(Utf8ToCp1252("\xC3\xA4\xC3\x9F"), "\xE4\xDF");    // ä ß
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC"), "\x80");            // €
    EXPECT_EQ(Utf8ToCp1252("\xC5\xB8"), "\x9F");                // Ÿ
}

TEST(Cp1252, ReplacesWhatItLacksAndMalformedBytes) {
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");   // a CJK character
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"), "?"); // an emoji
    EXPECT_EQ(Utf8ToCp1252("a\xFFz"), "a?z");       // a stray byte
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");           // cut short
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");      // overlong '/'
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

} // namespace
} // namespace vaultwing
