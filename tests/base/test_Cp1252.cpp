#include "base/Cp1252.h"
#include "base/Utf8.h"

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

// What a terminal would take as a command or a cursor move is shown escaped; the rest stays.
TEST(EscapeControlCharacters, EscapesControlsAndMalformedBytesOnly) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"C:\\a \xC3\xBC\xE2\x82\xAC.txt", "C:\\a \xC3\xBC\xE2\x82\xAC.txt"},
        {"a\x1B[2J\x07\t\n\r\x7F", "a\\x1b[2J\\x07\\t\\n\\r\\x7f"},
        {"c1\xC2\x9B[m raw\x9B[m", "c1\\xc2\\x9b[m raw\\x9b[m"}}; // CSI as C1 character and as a stray byte
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(EscapeControlCharacters(text), shown) << shown;
}

} // namespace
} // namespace vaultwing
