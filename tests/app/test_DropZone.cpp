#include "app/DropZone.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

// Screen 19200 twips, window 870: centred is (19200 - 870) \ 2 = 9165. A value beyond a smaller
// screen is centred (compared before rounding); the screen width and negative values stay.
TEST(RestoredPosition, StoredValueOrCentred) {
    const std::pair<std::optional<double>, long> cases[] = {
        {std::nullopt, 9165}, {19201, 9165}, {19200.4, 9165}, {19200, 19200}, {-450, -450}, {0, 0}, {1500.6, 1501}};
    for (const auto& [stored, expected] : cases)
        EXPECT_EQ(RestoredPosition(stored, 19200, 870), expected) << stored.value_or(-1);
    EXPECT_EQ(RestoredPosition(std::nullopt, 1001, 0), 500); // an odd difference: (1001 - 0) \ 2
}

TEST(LoadTransparency, StoredAlphaBroughtIntoTheSlidersRange) {
    TempDir home;
    Settings settings(home.Str());
    EXPECT_EQ(LoadTransparency(settings), std::nullopt); // nothing stored: stored opaque, window left alone
    EXPECT_EQ(settings.Text(Setting::Transparency), "255");
    for (const auto& [stored, alpha] : {std::pair{"128", 128}, {"40", 40}, {"39", 40}, {"-5", 40}, {"300", 255}}) {
        settings.Store().WriteSetting("Transparenz", stored, kSettingsSection);
        EXPECT_EQ(LoadTransparency(settings), std::optional<int>(alpha)) << stored;
    }
}

// With Ctrl and Shift held, the pointer on an active edge (desktop 1280 x 800) shows the hidden
// drop zone: top y < 1, bottom y > 798, left x = 0, right x > 1278, each along the edge's length.
TEST(HotRegionTick, ActiveEdgesShowTheHiddenDropZone) {
    const HotRegion all{true, true, true, true, true}, leftOnly{true, false, false, true, false};
    // clang-format off
    const std::tuple<HotRegion, int, int, bool> cases[] = {
        {all, 500, 0, true}, {all, 500, 1, false}, {all, 500, 799, true}, {all, 500, 798, false},
        {all, 0, 400, true}, {all, 1, 400, false}, {all, 1279, 400, true}, {all, 1278, 400, false},
        {all, 1280, 0, true}, {leftOnly, 0, 300, true}, {leftOnly, 300, 0, false}, {leftOnly, 0, 800, false}};
    // clang-format on
    for (const auto& [region, x, y, shows] : cases) {
        HotRegionInput input{false, true, true, platform::ScreenPoint{x, y}, 1280, 800, false};
        EXPECT_EQ(HotRegionTick(region, input).show, shows) << x << "," << y;
        input.mainVisible = true; // already shown
        EXPECT_FALSE(HotRegionTick(region, input).show);
        input.shift = false;
        input.mainVisible = false;
        EXPECT_FALSE(HotRegionTick(region, input).show);
    }
    EXPECT_FALSE(HotRegionTick(all, HotRegionInput{false, true, true, std::nullopt, 1280, 800, false}).show);
    const HotRegion none; // Escape hides the visible drop zone
    EXPECT_TRUE(HotRegionTick(none, HotRegionInput{true, false, false, std::nullopt, 1280, 800, true}).hide);
    EXPECT_FALSE(HotRegionTick(none, HotRegionInput{true, false, false, std::nullopt, 1280, 800, false}).hide);
}

} // namespace
} // namespace vaultwing::test
