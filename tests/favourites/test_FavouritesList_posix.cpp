// The favourites window's list without the window: drops with their duplicate forms, the path
// mode switch, deleting, saving and loading.
#include "favourites/FavouritesList.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "favourites/FavouritesFile.h"
#include "support/AppFixture.h"
#include "support/ScopedEnv.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

class FavouritesListTest : public AppFixture {
protected:
    FavouritesListTest() { ui.favouritesCommandsEnabled = false; }

    FavouritesList list{app.state, ui, app.lists};
    ScopedCwd cwd{work.Path()}; // relative entries are relative to the user's folder

    [[nodiscard]] long DuplicateMessages() const {
        return std::count_if(ui.messages.begin(), ui.messages.end(), [](const auto& m) { return m.text == "T510"; });
    }
};

TEST_F(FavouritesListTest, EveryFormOfAListedFileIsADuplicate) {
    const struct {
        const char* listed; // "rel:" keeps it relative in the list
        const char* dropped;
        bool duplicate;
    } cases[] = {
        {"d/x.txt", "d/x.txt", true},     {"d/x.txt", "D/X.TXT", true},
        {"d/x.txt", "d/x.txt.vwx", true}, {"d/x.txt.vwx", "d/x.txt", true},
        {"d/x", "d/x.txt", true},         {"d/x.txt", "d/x", false},
        {"rel:d/x.txt", "d/x.txt", true}, {"rel:d/x.txt.vwx", "d/x.txt", true},
        {"rel:D/X", "d/x.txt", true},     {"d/x.txt", "d/y.txt", false},
    };
    for (const auto& c : cases) {
        const std::string listed = c.listed;
        app.state.favourites = {listed.starts_with("rel:") ? listed.substr(4) : work / listed};
        ui.messages.clear();
        list.Drop({work / c.dropped});
        EXPECT_EQ(DuplicateMessages(), c.duplicate ? 1 : 0) << c.listed << " / " << c.dropped;
        EXPECT_EQ(list.Entries().size(), c.duplicate ? 1U : 2U) << c.listed << " / " << c.dropped;
    }
    EXPECT_TRUE(ui.favouritesCommandsEnabled);
}

TEST_F(FavouritesListTest, ADuplicateStopsTheDropAndLineBreaksAreNotTaken) {
    const std::string first = Make("b.txt"), second = Make("a.txt"), third = Make("c.txt");
    app.state.favourites = {second};
    list.Drop({work / "bad\nname.txt", first, second, third});
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{second, first})); // sorted
    EXPECT_EQ(DuplicateMessages(), 1);
    EXPECT_TRUE(ui.favouritesCommandsEnabled);
}

// The walk adds every file below the folder in the mode's form, reports a file listed in either
// form and goes on after it.
TEST_F(FavouritesListTest, FolderWalkSkipsFilesListedInEitherFormInBothModes) {
    const std::string a = Make("f/a.txt"), b = Make("f/sub/B.txt"), c = Make("f/c.txt"), z = Make("z.txt");
    for (const bool relativeMode : {false, true}) {
        for (const std::string& listedB : {b, std::string("f/sub/B.txt")}) {
            app.state.pathMode = relativeMode ? PathMode::Relative : PathMode::Absolute;
            app.state.favourites = {listedB};
            ui.messages.clear();
            list.Drop({work / "f", z});
            std::vector<std::string> expected = {listedB};
            for (const auto& [absolute, relative] : {std::pair{a, "f/a.txt"}, {c, "f/c.txt"}, {z, "z.txt"}})
                expected.push_back(relativeMode ? relative : absolute);
            EXPECT_TRUE(
                std::is_permutation(expected.begin(), expected.end(), list.Entries().begin(), list.Entries().end()))
                << "relative mode " << relativeMode << ", listed " << listedB;
            EXPECT_EQ(DuplicateMessages(), 1);
        }
    }
}

TEST_F(FavouritesListTest, PathWithoutRelativeFormStopsTheDropAndKeepsWhatWasAdded) {
    app.state.pathMode = PathMode::Relative;
    ScopedCwd inside(Dir("x/y"));
    list.Drop({Make("a.txt"), work / "x", Make("c.txt")}); // x lies above the working directory
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"../../a.txt"}));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, "T516");
    EXPECT_TRUE(ui.favouritesCommandsEnabled);
}

TEST_F(FavouritesListTest, ModeSwitchRoundTripKeepsAbsoluteEntriesAsTheyAre) {
    const std::string a = Make("d/a.txt"), b = Make("B.txt");
    app.state.favourites = {b, a};
    ASSERT_TRUE(list.SwitchPathMode());
    EXPECT_EQ(app.state.settings.Store().ReadINI("Pfad", kSettingsSection), "1");
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"B.txt", "d/a.txt"}));
    app.state.favourites.push_back("/elsewhere/c.txt");
    ASSERT_TRUE(list.SwitchPathMode());
    EXPECT_FALSE(list.Relative());
    EXPECT_EQ(app.state.settings.Store().ReadINI("Pfad", kSettingsSection), "0");
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/elsewhere/c.txt", b, a}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FavouritesListTest, ModeSwitchFailingOnOneEntryChangesNothing) {
    ScopedCwd inside(Dir("sub"));
    const std::vector<std::string> absolute = {Make("sub/a.txt"), work.Str(), Make("sub/z.txt")};
    const std::vector<std::string> relative = {"a.txt", "../../../../../../../../../../../../x.txt", "z.txt"};
    for (const auto& [before, mode] : {std::pair{absolute, "0"}, {relative, "1"}}) {
        app.state.favourites = before;
        app.state.pathMode = std::string(mode) == "1" ? PathMode::Relative : PathMode::Absolute;
        app.state.settings.Store().WriteINI("Pfad", mode, kSettingsSection);
        EXPECT_FALSE(list.SwitchPathMode());
        EXPECT_EQ(list.Entries(), before);
        EXPECT_EQ(app.state.pathMode == PathMode::Relative, std::string(mode) == "1");
        EXPECT_EQ(app.state.settings.Store().ReadINI("Pfad", kSettingsSection), mode);
    }
    EXPECT_EQ(ui.messages.front().text, "T516");
    EXPECT_EQ(ui.messages.back().text, "rpErrTooManySteps");
}

TEST_F(FavouritesListTest, SaveLoadAndDeleteKeepEveryEntryWhole) {
    app.state.settings.Store().WriteINI("Pfad", "1", kSettingsSection);
    app.state.favourites = {"/d/a,b.txt", "", "/d/C.txt", "/d/b.txt"};
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(ReadFile(FavouritesPath(home.Str())), "/d/a,b.txt\r\n\r\n/d/C.txt\r\n/d/b.txt\r\n");
    FavouritesList again(app.state, ui, app.lists);
    again.Load();
    EXPECT_TRUE(again.Relative());
    EXPECT_EQ(again.Entries(), (std::vector<std::string>{"", "/d/a,b.txt", "/d/b.txt", "/d/C.txt"})); // any case

    ui.favouritesCommandsEnabled = true;
    again.DeleteSelected({0, 2});
    EXPECT_EQ(again.Entries(), (std::vector<std::string>{"/d/a,b.txt", "/d/C.txt"}));
    EXPECT_TRUE(ui.favouritesCommandsEnabled);
    again.DeleteSelected({0, 1});
    EXPECT_FALSE(ui.favouritesCommandsEnabled);
    EXPECT_TRUE(again.Save());
    EXPECT_FALSE(fs::exists(FavouritesPath(home.Str()))); // an empty list leaves no file
}

} // namespace
} // namespace vaultwing::test
