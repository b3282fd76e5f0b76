// The favourites window's list without the window: drops with their duplicate forms, the path
// mode switch, deleting, saving and loading.
#include "favourites/FavouritesList.h"

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

    [[nodiscard]] std::vector<std::string> Entries() const { return list.Entries(); }
    [[nodiscard]] int DuplicateMessages() const {
        int n = 0;
        for (const auto& m : ui.messages)
            n += m.text == "T510" ? 1 : 0;
        return n;
    }
};

struct DuplicateCase {
    const char* name;
    const char* listed;  // relative to the work folder; "rel:" keeps it relative in the list
    const char* dropped; // relative to the work folder
    bool duplicate;
};

class DuplicateForms : public FavouritesListTest, public ::testing::WithParamInterface<DuplicateCase> {};

TEST_P(DuplicateForms, AreCheckedBeforeAdding) {
    const DuplicateCase& c = GetParam();
    const std::string listed = c.listed;
    app.state.favourites = {listed.rfind("rel:", 0) == 0 ? listed.substr(4) : work / listed};
    list.Drop({work / c.dropped});
    EXPECT_EQ(DuplicateMessages(), c.duplicate ? 1 : 0);
    EXPECT_EQ(Entries().size(), c.duplicate ? 1U : 2U);
    EXPECT_TRUE(ui.favouritesCommandsEnabled);
}

INSTANTIATE_TEST_SUITE_P(Table, DuplicateForms,
                         ::testing::Values(DuplicateCase{"SamePath", "d/x.txt", "d/x.txt", true},
                                           DuplicateCase{"OtherCase", "d/x.txt", "D/X.TXT", true},
                                           DuplicateCase{"EncryptedForm", "d/x.txt", "d/x.txt.vwx", true},
                                           DuplicateCase{"ListedEncryptedForm", "d/x.txt.vwx", "d/x.txt", true},
                                           DuplicateCase{"StrippedForm", "d/x", "d/x.txt", true},
                                           DuplicateCase{"WithoutExtensionIsNew", "d/x.txt", "d/x", false},
                                           DuplicateCase{"RelativeForm", "rel:d/x.txt", "d/x.txt", true},
                                           DuplicateCase{"RelativeEncryptedForm", "rel:d/x.txt.vwx", "d/x.txt", true},
                                           DuplicateCase{"RelativeStrippedForm", "rel:D/X", "d/x.txt", true},
                                           DuplicateCase{"OtherFile", "d/x.txt", "d/y.txt", false}),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(FavouritesListTest, ThreeFilesWithAListedSecondAddOnlyTheFirst) {
    const std::string first = Make("b.txt"), second = Make("a.txt"), third = Make("c.txt");
    app.state.favourites = {second};
    list.Drop({first, second, third});
    EXPECT_EQ(Entries(), (std::vector<std::string>{second, first})); // sorted
    EXPECT_EQ(DuplicateMessages(), 1);
    EXPECT_TRUE(ui.favouritesCommandsEnabled);
}

TEST_F(FavouritesListTest, FolderAddsEveryFileBelowItAndReportsDuplicatesInside) {
    const std::string a = Make("f/a.txt"), b = Make("f/sub/B.txt"), c = Make("f/c.txt");
    app.state.favourites = {b};
    list.Drop({work / "f", Make("z.txt")});
    EXPECT_EQ(Entries(), (std::vector<std::string>{a, c, b, work / "z.txt"}));
    EXPECT_EQ(DuplicateMessages(), 1); // the walk goes on after it
}

TEST_F(FavouritesListTest, RelativeModeAddsRelativeEntries) {
    app.state.pathMode = PathMode::Relative;
    list.Drop({Make("d/x.txt"), Make("A.txt")});
    EXPECT_EQ(Entries(), (std::vector<std::string>{"A.txt", "d/x.txt"}));
}

TEST_F(FavouritesListTest, FailureStopsTheDropAndKeepsWhatWasAdded) {
    app.state.pathMode = PathMode::Relative;
    ScopedCwd inside(Dir("x/y"));
    // The dropped folder x holds no file, but lies above the working directory: it has no
    // relative form.
    list.Drop({Make("a.txt"), work / "x", Make("c.txt")});
    EXPECT_EQ(Entries(), (std::vector<std::string>{"../../a.txt"}));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, "T516");
    EXPECT_EQ(ui.messages[0].title, "T418");
    EXPECT_TRUE(ui.favouritesCommandsEnabled);
}

TEST_F(FavouritesListTest, PathsWithLineBreaksAreNotTaken) {
    list.Drop({work / "bad\nname.txt", Make("good.txt")});
    EXPECT_EQ(Entries(), (std::vector<std::string>{work / "good.txt"}));
}

TEST_F(FavouritesListTest, ModeSwitchRoundTrip) {
    const std::string a = Make("d/a.txt"), b = Make("B.txt");
    app.state.favourites = {b, a};
    ASSERT_TRUE(list.SwitchPathMode());
    EXPECT_TRUE(list.Relative());
    EXPECT_EQ(app.state.settings.Store().ReadINI("Pfad", kSettingsSection), "1");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"B.txt", "d/a.txt"}));
    ASSERT_TRUE(list.SwitchPathMode());
    EXPECT_FALSE(list.Relative());
    EXPECT_EQ(app.state.settings.Store().ReadINI("Pfad", kSettingsSection), "0");
    EXPECT_EQ(Entries(), (std::vector<std::string>{b, a}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FavouritesListTest, EmptyListStillSwitchesTheMode) {
    EXPECT_TRUE(list.SwitchPathMode());
    EXPECT_EQ(app.state.pathMode, PathMode::Relative);
}

TEST_F(FavouritesListTest, ModeSwitchFailingOnOneEntryChangesNothing) {
    const std::string sub = Dir("sub");
    ScopedCwd inside(sub);
    const std::vector<std::string> before = {Make("sub/a.txt"), work.Str(), Make("sub/z.txt")};
    app.state.favourites = before;
    app.state.settings.Store().WriteINI("Pfad", "0", kSettingsSection);
    app.state.pathMode = PathMode::Absolute;
    EXPECT_FALSE(list.SwitchPathMode());
    EXPECT_EQ(Entries(), before);
    EXPECT_EQ(app.state.pathMode, PathMode::Absolute);
    EXPECT_EQ(app.state.settings.Store().ReadINI("Pfad", kSettingsSection), "0");
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, "T516");

    // Back to absolute: a relative entry that climbs too high stops it the same way.
    const std::vector<std::string> relative = {"a.txt", "../../../../../../../../../../../../x.txt", "z.txt"};
    app.state.favourites = relative;
    app.state.pathMode = PathMode::Relative;
    EXPECT_FALSE(list.SwitchPathMode());
    EXPECT_EQ(Entries(), relative);
    EXPECT_EQ(app.state.pathMode, PathMode::Relative);
    EXPECT_EQ(ui.messages.back().text, "rpErrTooManySteps");
}

TEST_F(FavouritesListTest, AbsoluteEntryStaysAsItIsWhenSwitchingToAbsolute) {
    app.state.pathMode = PathMode::Relative;
    app.state.favourites = {"a.txt", "/elsewhere/b.txt"};
    ASSERT_TRUE(list.SwitchPathMode());
    EXPECT_EQ(Entries(), (std::vector<std::string>{"/elsewhere/b.txt", work / "a.txt"}));
}

TEST_F(FavouritesListTest, DeletingTheLastEntriesDisablesTheCommands) {
    app.state.favourites = {"a", "b", "c"};
    ui.favouritesCommandsEnabled = true;
    list.DeleteSelected({0, 2});
    EXPECT_EQ(Entries(), (std::vector<std::string>{"b"}));
    EXPECT_TRUE(ui.favouritesCommandsEnabled);
    list.DeleteSelected({});
    EXPECT_EQ(Entries().size(), 1U);
    list.DeleteSelected({0});
    EXPECT_TRUE(Entries().empty());
    EXPECT_FALSE(ui.favouritesCommandsEnabled);
}

TEST_F(FavouritesListTest, SaveAndLoadKeepEveryEntryWhole) {
    app.state.settings.Store().WriteINI("Pfad", "1", kSettingsSection);
    app.state.favourites = {"/d/a,b.txt", "", "/d/c.txt"};
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(ReadFile(FavouritesPath(home.Str())), "/d/a,b.txt\r\n\r\n/d/c.txt\r\n");
    FavouritesList again(app.state, ui, app.lists);
    again.Load();
    EXPECT_TRUE(again.Relative());
    EXPECT_EQ(again.Entries(), (std::vector<std::string>{"", "/d/a,b.txt", "/d/c.txt"}));
}

TEST_F(FavouritesListTest, LoadSortsWithoutRegardToCase) {
    WriteFile(FavouritesPath(home.Str()), "b\r\nA\r\nc\r\n");
    list.Load();
    EXPECT_EQ(Entries(), (std::vector<std::string>{"A", "b", "c"}));
    EXPECT_FALSE(list.Relative());
}

TEST_F(FavouritesListTest, EmptyListLeavesNoFile) {
    WriteFile(FavouritesPath(home.Str()), "/d/a.txt\r\n");
    list.Load();
    list.DeleteSelected({0});
    EXPECT_TRUE(list.Save());
    EXPECT_FALSE(fs::exists(FavouritesPath(home.Str())));
    EXPECT_TRUE(list.Save()); // nothing there: still fine
}

} // namespace
} // namespace vaultwing::test
