#include "app/LanguageChoice.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

TEST(IsDriveRoot, RootsAndFolders) {
    for (const char* root : {"", "/", "C:\\", "C:", "c:/"})
        EXPECT_TRUE(IsDriveRoot(root)) << root;
    for (const char* folder : {"C:\\A", "/ab", "/opt", "\\\\srv", "ab"})
        EXPECT_FALSE(IsDriveRoot(folder)) << folder;
}

// Listed: *.lng files (not folders) without folder and last extension. Chosen: loaded at once,
// stored only when the window closes.
TEST(LanguageChoice, ListsAndLoadsLanguageFiles) {
    TempDir folder;
    for (const char* name : {"English.lng", "FRENCH.LNG", "notes.txt", "lng"})
        WriteFile(folder / name, "x");
    WriteFile(folder / "Deutsch.neu.lng", "000 VAULTWING LANGUAGEFILE\r\n216 Beenden\r\n");
    std::filesystem::create_directory(folder.Path() / "Old.lng");
    std::vector<std::string> names = LanguageNames(folder.Str());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Deutsch.neu", "English", "FRENCH"}));
    EXPECT_TRUE(LanguageNames(folder / "missing").empty());

    AppState state(folder.Str());
    ChooseLanguage(state, "Deutsch.neu");
    EXPECT_EQ(state.language, "Deutsch.neu");
    EXPECT_EQ(state.Text(216), "Beenden");
    EXPECT_FALSE(state.settings.IsStored(Setting::Language));
}

// An installed copy lists the user's and the installed language files; the user's file of a name wins.
TEST(LanguageChoice, UserFolderBeforeInstalledFolder) {
    TempDir user, shared;
    WriteFile(user / "Deutsch.lng", "000 VAULTWING LANGUAGEFILE\r\n216 Schluss\r\n");
    WriteFile(user / "Mine.lng", "x");
    WriteFile(shared / "Deutsch.lng", "000 VAULTWING LANGUAGEFILE\r\n216 Beenden\r\n");
    WriteFile(shared / "English.lng", "000 VAULTWING LANGUAGEFILE\r\n216 Exit\r\n");
    platform::Folders folders = platform::FoldersIn(user.Str());
    folders.languages = {user.Str(), shared.Str(), user / "missing"};
    std::vector<std::string> names = LanguageNames(folders.languages);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Deutsch", "English", "Mine"}));

    AppState state(folders);
    for (const auto& [name, text] : {std::pair{"Deutsch", "Schluss"}, std::pair{"English", "Exit"}}) {
        ChooseLanguage(state, name);
        EXPECT_EQ(state.Text(216), text);
    }
}

} // namespace
} // namespace vaultwing::test
