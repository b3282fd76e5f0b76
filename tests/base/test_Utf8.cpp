#include "base/Utf8.h"

#include <gtest/gtest.h>

namespace vaultwing {
namespace {

// What a terminal would take as a command or a cursor move is shown escaped; the rest stays.
TEST(EscapeControlCharacters, EscapesControlsAndMalformedBytesOnly) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"C:\\My Files\\a.txt", "C:\\My Files\\a.txt"},
        {"Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC.txt", "Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC.txt"},
        {"a\x1B[2J\x07z", "a\\x1b[2J\\x07z"},
        {"t\tn\nr\r", "t\\tn\\nr\\r"},
        {std::string_view("nul\0", 4), "nul\\x00"},
        {"del\x7F", "del\\x7f"},
        {"csi\xC2\x9B[31m", "csi\\xc2\\x9b[31m"}, // a C1 control, as UTF-8
        {"raw\x9B[31m", "raw\\x9b[31m"},          // the same as a stray byte
        {"cut\xE2\x82", "cut\\xe2\\x82"},
        {"long\xC0\xAF", "long\\xc0\\xaf"}};
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(EscapeControlCharacters(text), shown) << shown;
}

} // namespace
} // namespace vaultwing
