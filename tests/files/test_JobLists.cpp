#include "files/JobLists.h"

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

namespace fs = std::filesystem;

class JobListsTest : public AppFixture {};

struct CheckCase {
    const char* name;
    const char* deleteSetting;
    std::vector<std::pair<const char*, std::int64_t>> present; // name and size; -1 for a folder
    const char* dropped;
    char refusal;      // 0: listed; 'A': empty; 'C': output name taken (naming `named`); 'L': too large
    const char* named; // the existing output a message C names
};

class PathChecks : public JobListsTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(PathChecks, RefuseOrList) {
    const auto& c = GetParam();
    SetDelete(c.deleteSetting);
    for (const auto& [name, size] : c.present) {
        if (size < 0) {
            Dir(name);
        } else {
            fs::resize_file(Make(name, ""), static_cast<std::uintmax_t>(size)); // sparse: nothing written
        }
    }
    const std::string dropped = work / c.dropped;
    app.DropPaths({dropped});
    if (c.refusal == 0) {
        EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text;
        EXPECT_EQ(dropped.ends_with(".vwx") ? Dec() : Enc(), std::vector<std::string>{dropped});
        return;
    }
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, c.refusal == 'C'   ? C(fs::path(work / c.named).make_preferred().string())
                                   : c.refusal == 'A' ? A(dropped)
                                                      : dropped + "\r\n\r\nT608");
    EXPECT_TRUE(Enc().empty() && Dec().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathChecks,
    ::testing::Values(
        CheckCase{"EncryptedNameTaken", "0", {{"a.txt", 4}, {"a.txt.vwx", 8}}, "a.txt", 'C', "a.txt.vwx"},
        CheckCase{"EncryptedNameTakenWhileSourcesGo", "1", {{"a.txt", 4}, {"a.txt.vwx", 8}}, "a.txt", 'C', "a.txt.vwx"},
        CheckCase{"PlainNameTaken", "0", {{"r.doc.vwx", 8}, {"r.doc", 4}}, "r.doc.vwx", 'C', "r.doc"},
        CheckCase{"PlainNameTakenWhileSourcesGo", "1", {{"r.doc.vwx", 8}, {"r.doc", 4}}, "r.doc.vwx", 'C', "r.doc"},
        CheckCase{"Empty", "0", {{"e.txt", 0}}, "e.txt", 'A', ""},
        CheckCase{"PlainNameIsAFolder", "0", {{"r.doc.vwx", 8}, {"r.doc", -1}}, "r.doc.vwx", 0, ""},
        CheckCase{"PlainAtTheLimit", "0", {{"big.bin", 2147483635}}, "big.bin", 0, ""},
        CheckCase{"PlainOverTheLimit", "0", {{"big.bin", 2147483636}}, "big.bin", 'L', ""},
        CheckCase{"EncryptedAtTheLimit", "0", {{"big.vwx", 2147483648}}, "big.vwx", 0, ""},
        CheckCase{"EncryptedOverTheLimit", "0", {{"big.vwx", 2147483649}}, "big.vwx", 'L', ""}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(JobListsTest, FileInUseIsRefusedOnlyWhenSourcesAreDestroyed) {
    const auto f = Make("locked.txt");
#ifdef _WIN32
    WinHoldingProcess holder(f, "exclusive");
#else
    HoldingProcess holder(f, Hold::FlockExcl);
#endif
    ASSERT_TRUE(holder.Holding());
    SetDelete("1"); // only a source that will be destroyed must be free
    app.DropPaths({f});
    EXPECT_EQ(ui.messages.at(0).text, B(f));
    SetDelete("0");
    app.DropPaths({f});
    EXPECT_EQ(Enc(), std::vector<std::string>{f});
}

// A refused item empties the lists, later items are still added; in a folder the walk ends at once.
TEST_F(JobListsTest, RefusalEmptiesTheListsButLaterItemsAreStillAdded) {
    const auto one = Make("1.txt"), empty = Make("f/empty.txt", ""), three = Make("3.txt");
    Make("f/n1.txt"), Make("f/n2.txt");
    app.DropPaths({one, empty, three});
    EXPECT_EQ(Enc(), std::vector<std::string>{three});
    app.DropPaths({work / "f", one});
    EXPECT_EQ(ui.messages.size(), 2U);
    EXPECT_EQ(Enc(), std::vector<std::string>{one});
}

TEST_F(JobListsTest, BatchesTakeTheFormTheirDirectionNeedsAndOnlyTheirOwnRefusalCancelsThem) {
    const auto doc = Make("report.doc"), manifest = Make("app.exe.manifest"), encrypted = Make("d.txt.vwx");
    const auto exe = Make("app.exe");
    app.DropPaths({Make("empty", "")}); // an earlier drop's refusal does not stop a batch
    ASSERT_TRUE(SaveFavourites(home.Str(), {doc + ".vwx", manifest, work / "gone.txt", work / "d.txt"}));
    SetDelete("1");
    // app.exe.manifest stays itself (app.exe would pass), and its plain name is taken, in either
    // delete mode; once that is gone the batch runs.
    app.StartFavouritesBatch(RunDirection::Encrypt);
    EXPECT_EQ(ui.messages.back().text, C(exe));
    EXPECT_TRUE(Enc().empty());
    fs::remove(exe);
    ui.messages.clear();
    app.StartFavouritesBatch(RunDirection::Encrypt);
    EXPECT_EQ(Enc(), (std::vector<std::string>{doc, manifest}));
    EXPECT_EQ(app.state.runMode, RunMode::HiddenFavourites); // the drop zone was hidden
    app.StartFavouritesBatch(RunDirection::Decrypt);
    EXPECT_EQ(Dec(), std::vector<std::string>{encrypted});
    EXPECT_EQ(ui.dialogsShown, (std::vector{PasswordDialog::Encrypt, PasswordDialog::Decrypt}));

    ASSERT_TRUE(SaveFavourites(home.Str(), {doc, work / "empty"}));
    app.StartFavouritesBatch(RunDirection::Encrypt);
    EXPECT_TRUE(ui.messages.size() == 1U && Enc().empty() && ui.dialogsShown.size() == 2U);
}

} // namespace
} // namespace vaultwing::test
