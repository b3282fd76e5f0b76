#include "app/DropZone.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

// Screen 1280 px = 19200 twips, window 58 px = 870 twips: centred is (19200 - 870) \ 2 = 9165.
TEST(RestoredPosition, StoredValueOrCentred) {
    const std::pair<std::optional<double>, long> cases[] = {
        {std::nullopt, 9165}, // never placed
        {19201, 9165},        // beyond a screen that got smaller
        {19200.4, 9165},      // compared before rounding
        {19200, 19200},       // exactly the screen width stays
        {-450, -450},         // another monitor to the left
        {0, 0},
        {1500.6, 1501},
    };
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
        settings.Store().WriteINI("Transparenz", stored, kSettingsSection);
        EXPECT_EQ(LoadTransparency(settings), std::optional<int>(alpha)) << stored;
    }
}

HotRegionInput Held(int x, int y, bool visible = false) {
    HotRegionInput input;
    input.control = input.shift = true;
    input.cursor = platform::ScreenPoint{x, y};
    input.desktopRight = 1280;
    input.desktopBottom = 800;
    input.mainVisible = visible;
    return input;
}

TEST(HotRegionTick, EdgesShowTheHiddenDropZone) {
    const HotRegion all{true, true, true, true, true};
    const std::tuple<int, int, bool> cases[] = {
        {500, 0, true},    {500, 1, false},    // top: y < 1
        {500, 799, true},  {500, 798, false},  // bottom: y > 800 - 2
        {0, 400, true},    {1, 400, false},    // left: x = 0 exactly
        {1279, 400, true}, {1278, 400, false}, // right: x > 1280 - 2
        {1280, 0, true},                       // past the top edge's end (x < 1280), but on the right edge
    };
    for (const auto& [x, y, shows] : cases) {
        const HotRegionStep step = HotRegionTick(all, Held(x, y));
        EXPECT_EQ(step.show, shows) << x << "," << y;
        EXPECT_FALSE(step.hide);
    }
}

TEST(HotRegionTick, OnlyActiveEdgesOnlyWithCtrlAndShiftAndEscapeHides) {
    const HotRegion leftOnly{true, false, false, true, false};
    EXPECT_TRUE(HotRegionTick(leftOnly, Held(0, 300)).show);
    EXPECT_FALSE(HotRegionTick(leftOnly, Held(300, 0)).show);       // top is not active
    EXPECT_FALSE(HotRegionTick(leftOnly, Held(0, 800)).show);       // below the left edge's end
    EXPECT_FALSE(HotRegionTick(leftOnly, Held(0, 300, true)).show); // already visible
    HotRegionInput input = Held(0, 300);
    input.shift = false;
    EXPECT_FALSE(HotRegionTick(leftOnly, input).show);
    input = Held(0, 300);
    input.cursor.reset();
    EXPECT_FALSE(HotRegionTick(leftOnly, input).show);
    input.escape = true;
    EXPECT_FALSE(HotRegionTick(leftOnly, input).hide); // nothing to hide
    input.mainVisible = true;
    EXPECT_TRUE(HotRegionTick(leftOnly, input).hide);
}

} // namespace
} // namespace vaultwing::test
