#include "about/Marquee.h"

#include <gtest/gtest.h>

namespace vaultwing {
namespace {

TEST(Marquee, MovesOnePixelLeftAndStartsAgainAfterOneCopy) {
    for (const int width : {1, 2, 7, 640}) {
        SCOPED_TRACE(width);
        int position = kMarqueeStart;
        // One full round: every position from 1 down to -(width - 1), then 1 again.
        for (int expected = 0; expected > -width; --expected) {
            position = MarqueeStep(position, width);
            ASSERT_EQ(position, expected);
        }
        EXPECT_EQ(MarqueeStep(position, width), kMarqueeStart);
    }
}

} // namespace
} // namespace vaultwing
