#include "app/Startup.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/AppFixture.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

// Start-up with a command line: Application built with the paths, the settings prepared.
class StartUp : public AppFixture {
protected:
    // Runs Main with `paths` on the command line; false when the process was ended at once.
    bool Start(const std::vector<std::string>& paths, bool present = true) {
        Application started(home.Str(), ui, CommandLine{present, paths});
        for (int i = 1; i < LangTable::kSize; ++i) started.state.texts.Set(i, "T" + std::to_string(i));
        ui.flow = &started.passwords;
        try {
            started.startup.Main();
        } catch (const ProcessEnded&) {
            ended = true;
        }
        enc = started.lists.lstDateienEnc;
        dec = started.lists.lstDateienDec;
        runMode = started.state.runMode;
        firstStart = started.state.firstStart;
        ui.flow = &app.passwords;
        return !ended;
    }
    void SetLanguage() { app.state.settings.WriteINI("Sprache", "Test", kSettingsSection); }

    bool ended = false;
    std::vector<std::string> enc, dec;
    short runMode = -1;
    short firstStart = -1;
};

TEST_F(StartUp, FirstStartOpensOnlyTheLanguageWindow) {
    EXPECT_TRUE(Start({}, false));
    EXPECT_EQ(firstStart, 1);
    EXPECT_EQ(ui.events, std::vector<std::string>{"language window"});
}

TEST_F(StartUp, InteractiveStartShowsTrayIconAndDropZone) {
    SetLanguage();
    EXPECT_TRUE(Start({}, false));
    EXPECT_EQ(firstStart, 0);
    EXPECT_EQ(runMode, RunMode::Interactive);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"apply language", "tray: on", "main: show"}));
}

TEST_F(StartUp, LanguageFileIsLoadedFromTheProgramFolder) {
    SetLanguage();
    WriteFile(home / "Test.lng", "000 VAULTWING LANGUAGEFILE\r\n606 Leer\r\n");
    const auto empty = Make("e.txt", "");
    Application started(home.Str(), ui, CommandLine{true, {empty}});
    EXPECT_THROW(started.startup.Main(), ProcessEnded);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, empty + "\r\n\r\nLeer");
}

TEST_F(StartUp, PlainAndEncryptedFilesFillBothListsAndOpenDecryptionFirst) {
    SetLanguage();
    const auto plain = Make("a.txt"), encrypted = Make("b.vwx");
    EXPECT_TRUE(Start({plain, encrypted}));
    EXPECT_EQ(runMode, RunMode::CommandLine);
    EXPECT_EQ(enc, std::vector<std::string>{plain});
    EXPECT_EQ(dec, std::vector<std::string>{encrypted});
    EXPECT_EQ(ui.dialogsShown, std::vector{PasswordDialog::Decrypt});
    EXPECT_FALSE(ui.Saw("main: show"));
    EXPECT_FALSE(ui.trayIcon);
}

TEST_F(StartUp, EmptyFileAnywhereEndsTheStartWithMessageA) {
    SetLanguage();
    const auto good = Make("good.txt"), empty = Make("empty.txt", "");
    EXPECT_FALSE(Start({good, empty}));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, A(empty));
    EXPECT_TRUE(ui.dialogsShown.empty());
}

struct TakenCase {
    const char* deleteSetting;
    bool encryptedGiven; // pass a.txt.vwx (else a.txt)
    bool ends;
};

class OutputTakenAtStart : public StartUp, public ::testing::WithParamInterface<TakenCase> {};

TEST_P(OutputTakenAtStart, EndsWithMessageCOnlyWhileSourcesStay) {
    SetLanguage();
    SetDelete(GetParam().deleteSetting);
    const auto plain = Make("x/a.txt"), encrypted = Make("x/a.txt.vwx");
    const bool started = Start({GetParam().encryptedGiven ? encrypted : plain});
    EXPECT_EQ(!started, GetParam().ends);
    if (GetParam().ends) {
        ASSERT_EQ(ui.messages.size(), 1U);
        EXPECT_EQ(ui.messages[0].text, C(GetParam().encryptedGiven ? plain : encrypted));
    } else {
        EXPECT_TRUE(ui.messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, OutputTakenAtStart,
                         ::testing::Values(TakenCase{"0", false, true}, TakenCase{"0", true, true},
                                           TakenCase{"1", false, false}, TakenCase{"1", true, false}));

TEST_F(StartUp, NoPathOnACommandLineEndsSilently) {
    SetLanguage();
    EXPECT_FALSE(Start({}, true));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.dialogsShown.empty());
}

TEST_F(StartUp, FolderAmongPathsHasAllItsFilesAdded) {
#ifdef _WIN32
    GTEST_SKIP() << "expected paths are written with '/'; Windows lists them with '\\'";
#endif
    SetLanguage();
    const auto folder = Dir("tree");
    Make("tree/1.txt");
    Make("tree/deep/2.txt");
    Make("tree/deep/3.vwx");
    const auto single = Make("single.txt");
    EXPECT_TRUE(Start({folder, single}));
    EXPECT_EQ(enc.size(), 3U);
    EXPECT_EQ(enc.back(), single);
    EXPECT_EQ(dec, std::vector<std::string>{folder + "/deep/3.vwx"});
}

TEST_F(StartUp, UnsupportedSystemIsRefusedByNameBeforeAnythingElse) {
    SetLanguage();
    app.startup.queryOsVersion = [] { return OsVersionReport{true, 1, 4, 10, true, 0, false}; };
    EXPECT_THROW(app.startup.Main(), ProcessEnded);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, "Vaultwing l\xC3\xA4uft nicht unter dem Betriebssystem Windows 98");
    EXPECT_EQ(ui.messages[0].title, "Achtung");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(ui.Saw("apply language"));
}

TEST_F(StartUp, FailedVersionQueryIsReportedAndRefusedAndAskedAgainNextTime) {
    int queries = 0;
    app.startup.queryOsVersion = [&] {
        ++queries;
        return OsVersionReport{};
    };
    EXPECT_EQ(app.startup.GetOSVersion(), 0);
    EXPECT_EQ(app.startup.GetOSVersion(), 0);
    EXPECT_EQ(queries, 2); // a failure is not remembered
    ASSERT_EQ(ui.messages.size(), 2U);
    EXPECT_EQ(ui.messages[0].text, "Das Betriebssystem konnte nicht korrekt erkannt werden:\r\nFehler im API-Aufruf");
}

TEST_F(StartUp, KnownAnswerIsKept) {
    int queries = 0;
    app.startup.queryOsVersion = [&] {
        ++queries;
        return OsVersionReport{true, 2, 5, 0, true, 0, false};
    };
    EXPECT_EQ(app.startup.GetOSVersion(), 6);
    EXPECT_EQ(app.startup.GetOSVersion(), 6);
    EXPECT_EQ(queries, 1);
}

} // namespace
} // namespace vaultwing::test
