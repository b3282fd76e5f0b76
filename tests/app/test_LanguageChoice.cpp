#include "app/LanguageChoice.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

TEST(IsDriveRoot, RootsAndFolders) {
    const struct {
        const char* folder;
        bool root;
    } cases[] = {{"", true},       {"/", true},    {"C:\\", true},  {"C:", true},       {"c:/", true},
                 {"C:\\A", false}, {"/ab", false}, {"/opt", false}, {"\\\\srv", false}, {"ab", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsDriveRoot(c.folder), c.root) << c.folder;
}

TEST(LanguageNames, LngFilesOnlyWithoutFolderAndLastExtension) {
    TempDir folder;
    for (const char* name : {"English.lng", "Deutsch.neu.lng", "FRENCH.LNG", "notes.txt", "lng"})
        WriteFile(folder / name, "x");
    std::filesystem::create_directory(folder.Path() / "Old.lng"); // a folder is not a language
    std::vector<std::string> names = LanguageNames(folder.Str());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Deutsch.neu", "English", "FRENCH"}));
}

TEST(LanguageNames, UnreadableFolderOffersNone) {
    TempDir folder;
    EXPECT_TRUE(LanguageNames(folder / "missing").empty());
}

TEST(ChooseLanguage, RemembersAndLoadsAtOnce) {
    TempDir folder;
    WriteFile(folder / "Deutsch.neu.lng", "000 VAULTWING LANGUAGEFILE\r\n216 Beenden\r\n");
    AppState state(folder.Str());
    ChooseLanguage(state, "Deutsch.neu");
    EXPECT_EQ(state.Sprache, "Deutsch.neu");
    EXPECT_TRUE(state.texts.HasValidHeader());
    EXPECT_EQ(state.Text(216), "Beenden");
    EXPECT_EQ(state.settings.ReadINI("Sprache", kSettingsSection), ""); // stored only when the window closes
}

TEST(LanguageMessages, FixedBilingualCriticalMessages) {
    for (const Message& m : {DriveRootMessage(), NoLanguageFileMessage(), InvalidLanguageFileMessage()}) {
        EXPECT_EQ(m.icon, MsgIcon::Critical);
        EXPECT_EQ(m.buttons, MsgButtons::Ok);
        EXPECT_NE(m.text.find("\r\n"), std::string::npos); // German line, then English line
    }
    EXPECT_EQ(DriveRootMessage().title, "Achtung / Caution");
    EXPECT_EQ(NoLanguageFileMessage().title, "Achtung / Warning");
    EXPECT_EQ(InvalidLanguageFileMessage().text,
              "Du hast versucht eine ung\xC3\xBCltige Sprachdatei auszuw\xC3\xA4hlen!\r\n"
              "You tried to select a invalid language file!");
}

} // namespace
} // namespace vaultwing::test
