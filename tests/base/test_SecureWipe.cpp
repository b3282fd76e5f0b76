#include "base/SecureWipe.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace vaultwing {
namespace {

// What a shrink cuts off is wiped (growing back within the capacity shows zeros, not the old
// secret); growing beyond the capacity and moving keep the content.
TEST(SecretBuffer, ShrinkingWipesWhatWasCutOffGrowingAndMovingKeepTheContent) {
    SecretBuffer buffer(16);
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0x5A});
    buffer.Resize(4);
    buffer.Resize(16);
    ASSERT_EQ(buffer.capacity(), 16u);
    EXPECT_EQ(std::count(buffer.begin() + 4, buffer.end(), 0), 12);
    buffer.Resize(1000);
    const SecretBuffer moved = std::move(buffer);
    EXPECT_EQ(buffer.size(), 0u);
    EXPECT_EQ(moved.size(), 1000u);
    EXPECT_EQ(std::count(moved.begin(), moved.end(), 0x5A), 4);
}

} // namespace
} // namespace vaultwing
