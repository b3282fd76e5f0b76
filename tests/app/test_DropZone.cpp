#include "app/DropZone.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

// Screen 1280 px = 19200 twips, window 58 px = 870 twips: centred is (19200 - 870) \ 2 = 9165.
TEST(RestoredPosition, StoredValueOrCentred) {
    const struct {
        const char* stored;
        long expected;
    } cases[] = {
        {"", 9165},       // first start: centred
        {"0", 9165},      // "0" counts as unset
        {"19201", 9165},  // beyond a screen that got smaller: centred
        {"19200", 19200}, // exactly the screen width stays
        {"-450", -450},   // another monitor to the left
        {"1500", 1500},   // a stored position
        {"00", 0},        // a number 0 that is not the text "0"
        {"1500.6", 1501}, // rounded
        {"abc", 0},       // no number
    };
    for (const auto& c : cases)
        EXPECT_EQ(RestoredPosition(c.stored, 19200, 870), c.expected) << c.stored;
    // An odd difference: (1001 - 0) \ 2.
    EXPECT_EQ(RestoredPosition("", 1001, 0), 500);
}

TEST(LoadTransparency, SettingToAlpha) {
    const struct {
        const char* stored;
        int expected;
    } cases[] = {{"128", 128}, {"255", 255}, {" 90", 90},  {"40", 40},
                 {"0", 40},    {"-5", 40},   {"300", 255}, {"abc", 255}};
    for (const auto& c : cases) {
        TempDir home;
        IniStore settings(home.Str());
        settings.WriteINI("Transparenz", c.stored, kSettingsSection);
        EXPECT_EQ(LoadTransparency(settings), std::optional<int>(c.expected)) << c.stored;
    }
}

TEST(LoadTransparency, MissingSettingIsStoredOpaqueAndLeavesTheWindow) {
    TempDir home;
    IniStore settings(home.Str());
    EXPECT_EQ(LoadTransparency(settings), std::nullopt);
    EXPECT_EQ(settings.ReadINI("Transparenz", kSettingsSection), "255");
}

TEST(ReadHotRegion, SwitchesAndEdges) {
    TempDir home;
    IniStore settings(home.Str());
    EXPECT_FALSE(ReadHotRegion(settings).enabled);
    settings.WriteINI("HotRegion", "0", kSettingsSection);
    EXPECT_FALSE(ReadHotRegion(settings).enabled);
    settings.WriteINI("HotRegion", "yes", kSettingsSection); // neither "0" nor empty
    settings.WriteINI("HotRegion Links", "1", kSettingsSection);
    settings.WriteINI("HotRegion Rechts", "2", kSettingsSection); // only "1" switches an edge on
    const HotRegion region = ReadHotRegion(settings);
    EXPECT_TRUE(region.enabled);
    EXPECT_TRUE(region.left);
    EXPECT_FALSE(region.right);
    EXPECT_FALSE(region.top);
    EXPECT_FALSE(region.bottom);
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
    const struct {
        int x, y;
        bool shows;
    } cases[] = {
        {500, 0, true},     // top: y < 1
        {500, 1, false},    // just below it
        {500, 799, true},   // bottom: y > 800 - 2
        {500, 798, false},  // just above it
        {0, 400, true},     // left: x = 0 exactly
        {1, 400, false},    // just right of it
        {1279, 400, true},  // right: x > 1280 - 2
        {1278, 400, false}, // just left of it
        {1280, 0, true},    // past the top edge's end (x < 1280), but on the right edge
    };
    for (const auto& c : cases) {
        const HotRegionStep step = HotRegionTick(all, Held(c.x, c.y));
        EXPECT_EQ(step.show, c.shows) << c.x << "," << c.y;
        EXPECT_FALSE(step.hide);
    }
}

TEST(HotRegionTick, OnlyActiveEdgesAndOnlyWithCtrlAndShift) {
    const HotRegion leftOnly{true, false, false, true, false};
    EXPECT_TRUE(HotRegionTick(leftOnly, Held(0, 300)).show);
    EXPECT_FALSE(HotRegionTick(leftOnly, Held(300, 0)).show); // top is not active
    EXPECT_FALSE(HotRegionTick(leftOnly, Held(0, 800)).show); // below the left edge's end
    HotRegionInput ctrlOnly = Held(0, 300);
    ctrlOnly.shift = false;
    EXPECT_FALSE(HotRegionTick(leftOnly, ctrlOnly).show);
    HotRegionInput noPointer = Held(0, 300);
    noPointer.cursor.reset();
    EXPECT_FALSE(HotRegionTick(leftOnly, noPointer).show);
    EXPECT_FALSE(HotRegionTick(leftOnly, Held(0, 300, true)).show); // already visible
}

TEST(HotRegionTick, EscapeHidesTheVisibleDropZone) {
    const HotRegion leftOnly{true, false, false, true, false};
    HotRegionInput input;
    input.escape = true;
    input.mainVisible = true;
    EXPECT_TRUE(HotRegionTick(leftOnly, input).hide);
    input.mainVisible = false;
    EXPECT_FALSE(HotRegionTick(leftOnly, input).hide); // nothing to hide
}

} // namespace
} // namespace vaultwing::test
