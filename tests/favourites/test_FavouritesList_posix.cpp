#include "favourites/FavouritesList.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "favourites/FavouritesFile.h"
#include "support/AppFixture.h"
#include "support/ScopedEnv.h"

namespace vaultwing::test {
namespace {

class FavouritesListTest : public AppFixture {
protected:
    FavouritesList list{app.state, ui, app.lists, [this](bool on) { ui.EnableFavouritesCommands(on); }};
    ScopedCwd cwd{work.Path()}; // relative entries are relative to the user's folder

    [[nodiscard]] long DuplicateMessages() const {
        return std::count_if(ui.messages.begin(), ui.messages.end(), [](const auto& m) { return m.text == "T510"; });
    }
};

TEST_F(FavouritesListTest, EveryFormOfAListedFileIsADuplicate) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        // listed ("rel:" keeps it relative), dropped, duplicate
        {"d/x.txt", "D/X.TXT", true}, {"d/x.txt", "d/x.txt.vwx", true}, {"d/x.txt.vwx", "d/x.txt", true},
        {"d/x", "d/x.txt", true},     {"d/x.txt", "d/x", false},        {"rel:d/x.txt.vwx", "d/x.txt", true},
        {"rel:D/X", "d/x.txt", true}, {"d/x.txt", "d/y.txt", false},
    };
    for (const auto& [listedText, dropped, duplicate] : cases) {
        const std::string listed = listedText;
        app.state.favourites = {listed.starts_with("rel:") ? listed.substr(4) : work / listed};
        ui.messages.clear();
        list.Drop({work / dropped});
        EXPECT_EQ(DuplicateMessages(), duplicate ? 1 : 0) << listed << " / " << dropped;
        EXPECT_EQ(list.Entries().size(), duplicate ? 1U : 2U) << listed << " / " << dropped;
    }
}

// The walk adds every file below the folder in the mode's form, reports a file listed in either
// form and goes on after it.
TEST_F(FavouritesListTest, FolderWalkSkipsFilesListedInEitherFormInBothModes) {
    const std::string a = Make("f/a.txt"), b = Make("f/sub/B.txt"), z = Make("z.txt");
    for (const bool relativeMode : {false, true}) {
        for (const std::string& listedB : {b, std::string("f/sub/B.txt")}) {
            app.state.settings.SetOn(Setting::RelativePaths, relativeMode);
            list.Load();
            app.state.favourites = {listedB};
            ui.messages.clear();
            list.Drop({work / "f", z});
            std::vector<std::string> expected = {listedB, relativeMode ? "f/a.txt" : a, relativeMode ? "z.txt" : z};
            EXPECT_TRUE(
                std::is_permutation(expected.begin(), expected.end(), list.Entries().begin(), list.Entries().end()))
                << "relative mode " << relativeMode << ", listed " << listedB;
            EXPECT_EQ(DuplicateMessages(), 1);
        }
    }
}

TEST_F(FavouritesListTest, ModeSwitchConvertsEveryEntryOrNone) {
    ScopedCwd inside(Dir("sub"));
    const std::vector<std::string> absolute = {Make("sub/a.txt"), work.Str(), Make("sub/z.txt")};
    const std::vector<std::string> relative = {"a.txt", "../../../../../../../../../../../../x.txt", "z.txt"};
    app.state.favourites = {absolute[2], absolute[0]};
    ASSERT_TRUE(list.SwitchPathMode());
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"a.txt", "z.txt"}));
    app.state.favourites.push_back("/elsewhere/c.txt"); // absolute entries stay as they are
    ASSERT_TRUE(list.SwitchPathMode());
    EXPECT_EQ(app.state.settings.Store().ReadSetting("Pfad", kSettingsSection), "0");
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/elsewhere/c.txt", absolute[0], absolute[2]}));
    const std::vector<std::string> rootless = {"a.txt"}; // no root to be relative from
    for (const auto& [before, mode] : {std::pair{absolute, "0"}, {relative, "1"}, {rootless, "0"}}) {
        app.state.settings.Store().WriteSetting("Pfad", mode, kSettingsSection);
        list.Load();
        app.state.favourites = before;
        EXPECT_FALSE(list.SwitchPathMode());
        EXPECT_EQ(list.Entries(), before);
        EXPECT_EQ(list.Relative(), std::string(mode) == "1");
        EXPECT_EQ(app.state.settings.Store().ReadSetting("Pfad", kSettingsSection), mode);
    }
    // Each message names the entry that cannot be converted.
    EXPECT_EQ(ui.messages.at(0).text, work.Str() + "\r\n\r\nT516");
    EXPECT_EQ(ui.messages.at(1).text, relative[1] + "\r\n\r\nrpErrTooManySteps");
    EXPECT_EQ(ui.messages.at(2).text, "a.txt\r\n\r\nT518"); // not "another drive": there are none
}

// A favourites file that cannot be read is reported once in a run and again at the first drop
// into the list that cannot be saved; it is never written over.
TEST_F(FavouritesListTest, UnreadableFileIsReportedAndLeftAlone) {
    const std::string file = FavouritesPath(home.Str());
    std::filesystem::create_symlink("/proc/self/mem", file); // every read fails, also for root
    list.Load();
    FavouritesList(app.state, ui, app.lists, [](bool) {}).Load(); // the window opened again
    list.Drop({Make("a.txt")});
    list.Drop({Make("b.txt")});
    EXPECT_EQ(list.Entries().size(), 2U);
    EXPECT_FALSE(list.Save());
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(ui.messages.size(), 2U);
    EXPECT_EQ(ui.messages.at(0).text, file + "\r\n\r\nT520");
}

} // namespace
} // namespace vaultwing::test
