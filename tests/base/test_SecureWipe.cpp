#include "base/SecureWipe.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

#include "base/Secret.h"

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

// A secret grows through several larger buffers one character at a time and keeps every byte;
// a moved secret leaves nothing behind, and a cleared one starts again from empty.
TEST(Secret, GrowsKeepingItsTextAndEmptiesWhenMovedOrCleared) {
    std::string text;
    Secret secret;
    for (int i = 0; i < 1000; ++i) {
        text.push_back(static_cast<char>('!' + i % 90));
        secret.append(text.back());
    }
    secret.append("\r");
    secret.pop_back();
    EXPECT_EQ(secret.view(), text);
    Secret moved = std::move(secret);
    EXPECT_TRUE(secret.empty());
    EXPECT_EQ(moved.view(), text);
    moved.clear();
    moved.append("pw");
    EXPECT_EQ(moved.view(), "pw");
}

} // namespace
} // namespace vaultwing
