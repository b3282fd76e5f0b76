#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace vaultwing::test {
namespace {

// Without an X display every query answers "unknown", and nothing fails.
TEST(X11Input, NoDisplayMeansUnknown) {
#ifdef _WIN32
    GTEST_SKIP() << "the X11 queries are POSIX only";
#endif
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && *display != '\0') GTEST_SKIP() << "an X display is present";
    EXPECT_FALSE(platform::CapsLockOn());
    for (const int key : {platform::kVkEscape, platform::kVkControl, platform::kVkShift, 65})
        EXPECT_FALSE(platform::AsyncKeyDown(key)) << key;
    EXPECT_FALSE(platform::CursorPosition().has_value());
}

} // namespace
} // namespace vaultwing::test
