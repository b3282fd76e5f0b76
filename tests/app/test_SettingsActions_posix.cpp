// The settings window's decisions against the recording fake and a temporary XDG_DATA_HOME.
#include "app/SettingsActions.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "config/LangIndices.h"
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
    SettingsActions actions{app.state, ui, [this](bool on) { timer.push_back(on); }};

    [[nodiscard]] std::string Get(const char* key) const {
        return app.state.settings.Store().ReadSetting(key, kSettingsSection);
    }
    [[nodiscard]] bool Association() const { return fs::exists(data / "applications/vaultwing-vwx.desktop"); }
    [[nodiscard]] bool Launcher() const { return fs::exists(data / "nautilus/scripts/Vaultwing"); }
};

// Reading alone applies nothing: the window's ticks do.
TEST_F(SettingsActionsTest, LoadReadsTheBoxesAndSetsOnlyTheHint) {
    SetDelete("2");
    app.state.settings.SetOn(Setting::SendTo, true);
    const SettingsBoxes boxes = actions.ReadBoxes();
    EXPECT_TRUE(boxes.deleteSources && boxes.sendTo);
    EXPECT_FALSE(boxes.registerType || boxes.hotRegion);
    EXPECT_EQ(ui.deleteModeText, "T120");
    EXPECT_TRUE(timer.empty());
    EXPECT_FALSE(Launcher());
}

// Each box does its work and writes "1" or "0", ticked, unticked and ticked again.
TEST_F(SettingsActionsTest, BoxesApplyAndStoreTheirValue) {
    const std::tuple<SettingsBox, const char*, std::function<bool()>> boxes[] = {
        {SettingsBox::DeleteSources, "Delete",
         [&] { return app.state.DeletesSources() && ui.deleteModeText == "T120"; }},
        {SettingsBox::Register, "Register", [&] { return Association(); }},
        {SettingsBox::HotRegion, "HotRegion", [&] { return !timer.empty() && timer.back(); }},
        {SettingsBox::SendTo, "SendTo", [&] { return Launcher(); }}};
    actions.executable = work / "renamed copy/MyVault"; // the association names the running program
    for (const auto& [box, key, applied] : boxes)
        for (const bool ticked : {true, false, true}) {
            actions.BoxChanged(box, ticked);
            EXPECT_EQ(Get(key), ticked ? "1" : "0");
            EXPECT_EQ(applied(), ticked) << key;
        }
    EXPECT_NE(
        ReadFile(data / "applications/vaultwing-vwx.desktop").find("Exec=\"" + work / "renamed copy/MyVault\" %F"),
        std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(data / "nautilus/scripts"), fs::directory_iterator()), 1);
    EXPECT_NE(ReadFile(data / "nautilus/scripts/Vaultwing").find(work / "renamed copy/VWX"), std::string::npos);
}

// The manual is the file the language names in the documents folder, never a path it names.
TEST_F(SettingsActionsTest, ManualIsTheFileTheLanguageNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"Handbuch.pdf", "Handbuch.pdf"}, {"", "Manual.pdf"}, {"../x.pdf", "Manual.pdf"}, {"a\\x.pdf", "Manual.pdf"}};
    for (const auto& [named, file] : cases) {
        app.state.texts.Set(lang::kManualFile, named);
        EXPECT_EQ(actions.ManualPath(), app.state.folders.documents + "/" + file) << named;
    }
}

// An installed copy's package associates .vwx for everyone: the box reads as on and writes nothing.
TEST_F(SettingsActionsTest, InstalledCopyLeavesTheAssociationToThePackage) {
    app.state.folders.installed = true;
    EXPECT_TRUE(actions.ReadBoxes().registerType);
    actions.BoxChanged(SettingsBox::Register, true);
    EXPECT_EQ(Get("Register"), "");
    EXPECT_FALSE(Association());
}

// The edges as the window numbers them: top, left, right, bottom.
TEST_F(SettingsActionsTest, EdgeClicksToggleByTheLabelsCaption) {
    const char* const keys[] = {"HotRegion Oben", "HotRegion Links", "HotRegion Rechts", "HotRegion Unten"};
    bool HotRegion::*const fields[] = {&HotRegion::top, &HotRegion::left, &HotRegion::right, &HotRegion::bottom};
    for (int edge = 0; edge < kEdgeCount; ++edge) {
        HotRegion region;
        EXPECT_EQ(actions.EdgeClicked(region, edge, "T412"), std::optional<bool>(true));
        EXPECT_EQ(Get(keys[edge]), "1");
        EXPECT_TRUE(region.*fields[edge]);
        EXPECT_EQ(region.top + region.left + region.right + region.bottom, 1); // this edge alone
        EXPECT_EQ(actions.EdgeClicked(region, edge, "T414"), std::optional<bool>(false));
        EXPECT_EQ(actions.EdgeClicked(region, edge, "something else"), std::nullopt);
        EXPECT_FALSE(region.*fields[edge]);
        EXPECT_EQ(Get(keys[edge]), "0");
    }
}

} // namespace
} // namespace vaultwing::test
