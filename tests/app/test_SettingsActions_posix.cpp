// The settings window's decisions: the boxes' values at load, their actions, the slider and the
// hot-region edges, against the recording fake and a temporary XDG_DATA_HOME.
#include "app/SettingsActions.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/AppFixture.h"
#include "support/ScopedEnv.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

class SettingsActionsTest : public AppFixture {
protected:
    TempDir data;
    ScopedEnv xdg{"XDG_DATA_HOME", data.Str().c_str()};
    std::vector<bool> timer; // every start (true) and stop (false) of the hot-region timer
    SettingsActions actions{app.state, ui, app.lists, [this](bool on) { timer.push_back(on); }};

    void Set(const std::string& key, const std::string& value) {
        app.state.settings.WriteINI(key, value, kSettingsSection);
    }
    [[nodiscard]] std::string Get(const std::string& key) const {
        return app.state.settings.ReadINI(key, kSettingsSection);
    }
    [[nodiscard]] bool Association() const { return fs::exists(data / "applications/vaultwing-vwx.desktop"); }
    [[nodiscard]] bool Launcher() const { return fs::exists(data / "nautilus/scripts/Vaultwing"); }
};

struct LoadCase {
    const char* name;
    const char *del, *reg, *hot, *sendTo;
    SettingsBoxes expected;
    const char* hint;
};

class SettingsLoad : public SettingsActionsTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(SettingsLoad, ReadsEveryValueButZeroAndEmptyAsOn) {
    const LoadCase& c = GetParam();
    for (const auto& [key, value] :
         {std::pair{"Delete", c.del}, {"Register", c.reg}, {"HotRegion", c.hot}, {"SendTo", c.sendTo}})
        if (value != nullptr) Set(key, value);
    const SettingsBoxes boxes = actions.ReadBoxes();
    EXPECT_EQ(boxes.fileDel, c.expected.fileDel);
    EXPECT_EQ(boxes.registerType, c.expected.registerType);
    EXPECT_EQ(boxes.hotRegion, c.expected.hotRegion);
    EXPECT_EQ(boxes.sendTo, c.expected.sendTo);
    EXPECT_EQ(ui.deleteModeText, c.hint);
    // Reading alone applies nothing: the window's ticks do.
    EXPECT_TRUE(timer.empty());
    EXPECT_FALSE(Association());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsLoad,
    ::testing::Values(LoadCase{"Missing", nullptr, nullptr, nullptr, nullptr, {false, false, false, false}, "T122"},
                      LoadCase{"Zeros", "0", "0", "0", "0", {false, false, false, false}, "T122"},
                      LoadCase{"Ones", "1", "1", "1", "1", {true, true, true, true}, "T120"},
                      LoadCase{"OtherWords", "2", "yes", "on", "x", {true, true, true, true}, "T120"},
                      LoadCase{"Mixed", "0", "1", "", "1", {false, true, false, true}, "T122"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(SettingsActionsTest, DeleteBoxSwitchesTheModeInMemoryHintsAndFile) {
    Set("Delete", "2");
    actions.BoxChanged(SettingsBox::FileDel, true);
    EXPECT_EQ(Get("Delete"), "1");
    EXPECT_EQ(app.state.Delete, "1");
    EXPECT_EQ(ui.deleteModeText, "T120");
    actions.BoxChanged(SettingsBox::FileDel, false);
    EXPECT_EQ(Get("Delete"), "0");
    EXPECT_EQ(app.state.Delete, "0");
    EXPECT_EQ(ui.deleteModeText, "T122");
}

TEST_F(SettingsActionsTest, RegisterBoxWritesAndRemovesTheAssociation) {
    actions.BoxChanged(SettingsBox::Register, true);
    EXPECT_EQ(Get("Register"), "1");
    ASSERT_TRUE(Association());
    const std::string entry = ReadFile(data / "applications/vaultwing-vwx.desktop");
    EXPECT_NE(entry.find(home.Str() + "/VWX"), std::string::npos) << entry;
    EXPECT_EQ(actions.IconPath(), home / "VWX_icon.ico");
    actions.BoxChanged(SettingsBox::Register, false);
    EXPECT_EQ(Get("Register"), "0");
    EXPECT_FALSE(Association());
    EXPECT_FALSE(fs::exists(data / "mime/packages/vaultwing-vwx.xml"));
}

TEST_F(SettingsActionsTest, HotRegionBoxStartsAndStopsTheTimer) {
    actions.BoxChanged(SettingsBox::HotRegion, true);
    EXPECT_EQ(Get("HotRegion"), "1");
    actions.BoxChanged(SettingsBox::HotRegion, false);
    EXPECT_EQ(Get("HotRegion"), "0");
    EXPECT_EQ(timer, (std::vector<bool>{true, false}));
}

TEST_F(SettingsActionsTest, SendToTickUntickTickLeavesOneLauncher) {
    actions.BoxChanged(SettingsBox::SendTo, true);
    EXPECT_TRUE(Launcher());
    EXPECT_EQ(Get("SendTo"), "1");
    actions.BoxChanged(SettingsBox::SendTo, false);
    EXPECT_FALSE(Launcher());
    EXPECT_EQ(Get("SendTo"), "0");
    actions.BoxChanged(SettingsBox::SendTo, false); // nothing there: nothing happens
    actions.BoxChanged(SettingsBox::SendTo, true);
    EXPECT_TRUE(Launcher());
    EXPECT_EQ(Get("SendTo"), "1");
    std::size_t scripts = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(data / "nautilus/scripts"))
        ++scripts;
    EXPECT_EQ(scripts, 1U);
}

TEST_F(SettingsActionsTest, TransparencyIsWrittenAsAWholeNumber) {
    for (const int value : {40, 128, 255}) {
        actions.TransparencyChanged(value);
        EXPECT_EQ(Get("Transparenz"), std::to_string(value));
    }
}

TEST_F(SettingsActionsTest, EdgeClicksToggleByTheLabelsCaption) {
    const char* const keys[] = {"HotRegion Oben", "HotRegion Links", "HotRegion Rechts", "HotRegion Unten"};
    for (int edge = 0; edge < kEdgeCount; ++edge) {
        SCOPED_TRACE(edge);
        EXPECT_STREQ(EdgeKey(edge), keys[edge]);
        HotRegion region;
        EXPECT_EQ(actions.EdgeClicked(region, edge, "T412"), std::optional<bool>(true));
        EXPECT_TRUE(EdgeOf(region, edge));
        EXPECT_EQ(Get(keys[edge]), "1");
        // Only this edge changed.
        int on = 0;
        for (int other = 0; other < kEdgeCount; ++other)
            on += EdgeOf(region, other) ? 1 : 0;
        EXPECT_EQ(on, 1);
        EXPECT_EQ(actions.EdgeClicked(region, edge, "T414"), std::optional<bool>(false));
        EXPECT_FALSE(EdgeOf(region, edge));
        EXPECT_EQ(Get(keys[edge]), "0");
        EXPECT_EQ(actions.EdgeClicked(region, edge, "something else"), std::nullopt);
        EXPECT_EQ(Get(keys[edge]), "0");
    }
}

TEST_F(SettingsActionsTest, EqualOnAndOffTextsAlwaysSwitchOn) {
    app.state.texts.Set(412, "same");
    app.state.texts.Set(414, "same");
    HotRegion region;
    for (int click = 0; click < 3; ++click) {
        EXPECT_EQ(actions.EdgeClicked(region, kEdgeBottom, "same"), std::optional<bool>(true));
        EXPECT_TRUE(region.bottom);
        EXPECT_EQ(Get("HotRegion Unten"), "1");
    }
}

} // namespace
} // namespace vaultwing::test
