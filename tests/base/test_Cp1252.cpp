#include "base/Cp1252.h"

#include <gtest/gtest.h>

namespace vaultwing {
namespace {

// Every byte survives a round trip; UTF-8 encodes to what the code page has, '?' for the rest.
TEST(Cp1252, EncodesWhatItHasAndReplacesTheRest) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    // ä ß Ÿ €, CJK, emoji, a stray byte, a sequence cut short, an overlong '/'
    const std::pair<const char*, const char*> cases[] = {{"a\xC3\xA4\xC3\x9F\xC5\xB8\xE2\x82\xAC", "a\xE4\xDF\x9F\x80"},
                                                         {"\xE4\xB8\xAD\xF0\x9F\x98\x80", "??"},
                                                         {"a\xFFz", "a?z"},
                                                         {"\xC3", "?"},
                                                         {"\xC0\xAF", "??"}};
    for (const auto& [utf8, cp1252] : cases)
        EXPECT_EQ(Utf8ToCp1252(utf8), cp1252) << utf8;
}

} // namespace
} // namespace vaultwing
