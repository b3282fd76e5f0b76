#include "files/JobLists.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "favourites/FavouritesFile.h"
#ifdef _WIN32
#include "win32/HoldingProcess.h"
#else
#include "platform/HoldingProcess.h"
#endif
#include "support/AppFixture.h"

namespace vaultwing::test {
namespace {

// The order a directory lists its entries in, as an independent reader sees it.
std::vector<std::string> ListedOrder(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    return names;
}

class JobListsTest : public AppFixture {};

TEST_F(JobListsTest, FolderDropSortsByExtensionInListedOrderAndOpensBothDialogs) {
#ifdef _WIN32
    GTEST_SKIP() << "expected paths are written with '/'; Windows lists them with '\\'";
#endif
    const auto folder = Dir("drop");
    Make("drop/a.txt");
    Make("drop/b.vwx");
    Make("drop/sub/c.txt");
    app.lists.DropPaths({folder});

    std::vector<std::string> expectedEnc;
    for (const auto& name : ListedOrder(folder)) {
        if (name == "a.txt") expectedEnc.push_back(folder + "/a.txt");
        if (name == "sub") expectedEnc.push_back(folder + "/sub/c.txt");
    }
    EXPECT_EQ(Enc(), expectedEnc);
    EXPECT_EQ(Dec(), std::vector<std::string>{folder + "/b.vwx"});
    EXPECT_EQ(ui.dialogsShown, (std::vector{PasswordDialog::Decrypt, PasswordDialog::Encrypt}));
    EXPECT_FALSE(ui.mainVisible);
}

TEST_F(JobListsTest, ExtensionDecidesTheListWhateverItsCase) {
#ifdef _WIN32
    GTEST_SKIP() << "names differing only in letter case are one file on Windows";
#endif
    const auto upper = Make("X.VWX");
    const auto bak = Make("x.vwx.bak");
    const auto dotted = Make("a.vwx.txt");
    app.lists.DropPaths({upper, bak, dotted});
    EXPECT_EQ(Dec(), std::vector<std::string>{upper});
    EXPECT_EQ(Enc(), (std::vector<std::string>{bak, dotted}));
}

TEST_F(JobListsTest, EmptySecondOfThreeFilesIsRefusedAndTheThirdStillAdded) {
    const auto one = Make("1.txt"), two = Make("2.txt", ""), three = Make("3.txt");
    app.lists.DropPaths({one, two, three});
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, A(two));
    EXPECT_EQ(ui.messages[0].title, "T418");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(Enc(), std::vector<std::string>{three});
    EXPECT_EQ(ui.dialogsShown, std::vector{PasswordDialog::Encrypt});
    EXPECT_TRUE(app.lists.AddAborted);
}

TEST_F(JobListsTest, EmptyFileInAFolderEndsTheWalkButLaterItemsAreAdded) {
#ifdef _WIN32
    GTEST_SKIP() << "expected paths are written with '/'; Windows lists them with '\\'";
#endif
    const auto folder = Dir("f");
    Make("f/empty.txt", "");
    for (int i = 0; i < 5; ++i) Make("f/n" + std::to_string(i) + ".txt");
    const auto later = Make("later.txt");
    app.lists.DropPaths({folder, later});
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, A(folder + "/empty.txt"));
    EXPECT_EQ(Enc(), std::vector<std::string>{later});
    EXPECT_FALSE(ui.taskbar); // the message's taskbar button is gone again
}

struct DeleteCase {
    const char* deleteSetting;
    bool refused;
};

class OutputNameTaken : public JobListsTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(OutputNameTaken, RefusedOnlyWhileSourcesStay) {
    SetDelete(GetParam().deleteSetting);
    const auto plain = Make("a.txt");
    Make("a.txt.vwx");
    app.lists.DropPaths({plain});
    if (GetParam().refused) {
        ASSERT_EQ(ui.messages.size(), 1U);
        EXPECT_EQ(ui.messages[0].text, C(plain + ".vwx"));
        EXPECT_TRUE(Enc().empty());
    } else {
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(Enc(), std::vector<std::string>{plain});
    }
}

INSTANTIATE_TEST_SUITE_P(Delete, OutputNameTaken,
                         ::testing::Values(DeleteCase{"0", true}, DeleteCase{"", true}, DeleteCase{"1", false}));

TEST_F(JobListsTest, DecryptionOutputNameTakenNamesThePlainFile) {
    const auto encrypted = Make("r.doc.vwx");
    const auto plain = Make("r.doc");
    app.lists.DropPaths({encrypted});
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, C(plain));
}

TEST_F(JobListsTest, SameFileTwiceIsListedTwice) {
    const auto f = Make("twice.txt");
    app.lists.DropPaths({f, f});
    EXPECT_EQ(Enc(), (std::vector<std::string>{f, f}));
}

TEST_F(JobListsTest, LargeTreeIsCollectedCompletely) {
    const auto root = Dir("tree");
    for (int i = 0; i < 250; ++i) Make("tree/d" + std::to_string(i % 7) + "/s" + std::to_string(i % 3) + "/f" + std::to_string(i));
    app.lists.DropPaths({root});
    EXPECT_EQ(Enc().size(), 250U);
    auto sorted = Enc();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
}

TEST_F(JobListsTest, LinkedFolderIsNotFollowedSoACycleEnds) {
#ifdef _WIN32
    GTEST_SKIP() << "std::filesystem makes no symbolic links on Windows (reparse points: tests/win32)";
#endif
    const auto root = Dir("loop");
    Make("loop/inner/f.txt");
    std::filesystem::create_directory_symlink(root, root + "/inner/back");
    app.lists.DropPaths({root});
    EXPECT_EQ(Enc(), std::vector<std::string>{root + "/inner/f.txt"});
}

TEST_F(JobListsTest, FileInUseIsRefusedOnlyWhenSourcesAreDestroyed) {
    const auto f = Make("locked.txt");
#ifdef _WIN32
    WinHoldingProcess holder(f, "exclusive");
#else
    HoldingProcess holder(f, Hold::FlockExcl);
#endif
    ASSERT_TRUE(holder.Holding());
    SetDelete("1");
    app.lists.DropPaths({f});
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, B(f));
    ui.messages.clear();
    SetDelete("0");
    app.lists.DropPaths({f});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Enc(), std::vector<std::string>{f});
}

TEST_F(JobListsTest, DropWhileARunIsActiveIsIgnored) {
    const auto f = Make("f.txt");
    app.lists.lstDateienEnc = {f};
    app.state.runActive = true;
    app.lists.DropPaths({Make("other.txt"), Make("other.vwx")});
    EXPECT_EQ(Enc(), std::vector<std::string>{f});
    EXPECT_TRUE(Dec().empty());
    EXPECT_TRUE(ui.dialogsShown.empty());
}

// ---------------------------------------------------------------------------------------------
// Favourites batches
// ---------------------------------------------------------------------------------------------

TEST_F(JobListsTest, MissingFavouritesFileSaysThereIsNothingToDo) {
    ui.mainVisible = true;
    app.lists.StartFavouritesBatch(RunDirection::Encrypt);
    app.lists.StartFavouritesBatch(RunDirection::Decrypt);
    ASSERT_EQ(ui.messages.size(), 2U);
    EXPECT_EQ(ui.messages[0].text, "T514");
    EXPECT_EQ(ui.messages[1].text, "T512");
    EXPECT_TRUE(ui.Saw("favourites window: close"));
    EXPECT_EQ(app.state.runMode, RunMode::Interactive);
}

TEST_F(JobListsTest, EncryptionBatchTakesPlainFormsAndSkipsMissingEntries) {
    const auto doc = Make("report.doc");
    const auto manifest = Make("app.exe.manifest");
    Make("app.exe");
    ASSERT_TRUE(SaveFavourites(home.Str(), {doc + ".vwx", manifest, work / "gone.txt"}));
    SetDelete("1"); // with "0" the existing app.exe would refuse app.exe.manifest (its plain name)
    app.lists.StartFavouritesBatch(RunDirection::Encrypt);
    EXPECT_EQ(Enc(), (std::vector<std::string>{doc, manifest}));
    EXPECT_EQ(ui.dialogsShown, std::vector{PasswordDialog::Encrypt});
    EXPECT_EQ(app.state.runMode, RunMode::HiddenFavourites); // the drop zone was hidden
}

TEST_F(JobListsTest, DecryptionBatchQueuesTheEncryptedFormOfAPlainEntry) {
    const auto plain = work / "d.txt";
    const auto enc = Make("d.txt.vwx");
    ASSERT_TRUE(SaveFavourites(home.Str(), {plain}));
    SetDelete("1"); // d.txt need not exist; nothing else stands in the way
    app.lists.StartFavouritesBatch(RunDirection::Decrypt);
    EXPECT_EQ(Dec(), std::vector<std::string>{enc});
    EXPECT_EQ(ui.dialogsShown, std::vector{PasswordDialog::Decrypt});
}

TEST_F(JobListsTest, RefusedEntryCancelsTheBatchWithoutFurtherMessage) {
    const auto good = Make("good.txt");
    const auto empty = Make("empty.txt", "");
    ASSERT_TRUE(SaveFavourites(home.Str(), {good, empty}));
    app.lists.StartFavouritesBatch(RunDirection::Encrypt);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, A(empty));
    EXPECT_TRUE(Enc().empty());
    EXPECT_TRUE(ui.dialogsShown.empty());
    EXPECT_FALSE(app.lists.AddAborted);
}

TEST_F(JobListsTest, BatchAfterARefusedDropOpensItsDialog) {
    app.lists.DropPaths({Make("empty", "")});
    ASSERT_TRUE(app.lists.AddAborted);
    const auto good = Make("good.txt");
    ASSERT_TRUE(SaveFavourites(home.Str(), {good}));
    app.lists.StartFavouritesBatch(RunDirection::Encrypt);
    EXPECT_EQ(Enc(), std::vector<std::string>{good});
    EXPECT_EQ(ui.dialogsShown, std::vector{PasswordDialog::Encrypt});
}

TEST_F(JobListsTest, FavouritesFolderWalkSkipsListedFilesAndKeepsTheListSorted) {
#ifdef _WIN32
    GTEST_SKIP() << "expected paths are written with '/'; Windows lists them with '\\'";
#endif
    Make("fav/B.txt");
    Make("fav/a.txt");
    Make("fav/c.txt");
    app.state.favourites = {work / "fav/c.txt"};
    EXPECT_TRUE(app.lists.AddFolderToLists(work / "fav", FolderMode::Favourites));
    EXPECT_EQ(app.state.favourites,
              (std::vector<std::string>{work / "fav/a.txt", work / "fav/B.txt", work / "fav/c.txt"}));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, "T510");
}

TEST_F(JobListsTest, DeleteModeFollowsTheSettingAndIsWrittenBack) {
    SetDelete("");
    app.lists.RefreshDeleteMode();
    EXPECT_FALSE(app.state.deleteSources);
    EXPECT_EQ(ui.deleteModeText, "T122");
    app.lists.SetDeleteMode(true);
    EXPECT_EQ(app.state.settings.Store().ReadINI("Delete", kSettingsSection), "1");
    EXPECT_EQ(ui.deleteModeText, "T120");
    app.lists.SetDeleteMode(false);
    EXPECT_EQ(app.state.settings.Store().ReadINI("Delete", kSettingsSection), "0");
    EXPECT_EQ(ui.deleteModeText, "T122");
}

} // namespace
} // namespace vaultwing::test
