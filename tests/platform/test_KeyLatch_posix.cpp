// The hot region's key state on X11, through a fake of what the X server reports.
#include "platform/posix/KeyLatch.h"

#include <gtest/gtest.h>
#include <tuple>
#include <utility>

#include "platform/platform.h"

namespace vaultwing::platform {
namespace {

// A tap between two queries reads as down once; a key held reads as down at every query.
TEST(KeyLatch, PressBetweenQueriesCountsOnce) {
    std::set<unsigned> held;
    std::vector<unsigned> presses;
    KeySource x{[](unsigned long keysym) { return keysym == 0xff1b   ? 9U
                                                  : keysym == 0xffe3 ? 37U
                                                                     : 0U; },
                [&](unsigned code) { return held.count(code) != 0; }, [&] { return std::exchange(presses, {}); }};
    KeyLatch latch;
    const std::tuple<std::vector<unsigned>, std::set<unsigned>, int, bool> steps[] = {
        {{}, {}, kVkEscape, false},   {{9}, {}, kVkEscape, true},   {{}, {}, kVkEscape, false},
        {{9}, {}, kVkControl, false}, {{}, {}, kVkEscape, true},    {{}, {9}, kVkEscape, true},
        {{}, {9}, kVkEscape, true},   {{37}, {}, kVkControl, true}, {{}, {}, kVkShift, false}};
    for (const auto& [pressed, down, key, expected] : steps) {
        presses = pressed;
        held = down;
        EXPECT_EQ(LatchedKeyDown(x, latch, key), expected) << key;
    }
}

} // namespace
} // namespace vaultwing::platform
