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

// Listed: *.lng files (not folders) without folder and last extension, from the user's folder and
// then the installed one, each name once: the user's file wins. Chosen: loaded at once, stored
// only when the window closes.
TEST(LanguageChoice, ListsAndLoadsLanguageFiles) {
    TempDir folder, shared;
    for (const char* name : {"English.lng", "notes.txt", "lng"})
        WriteFile(folder / name, "x");
    WriteFile(folder / "FRENCH.LNG", "000 VAULTWING LANGUAGEFILE\r\n216 Quitter\r\n");
    WriteFile(folder / "Deutsch.neu.lng", "000 VAULTWING LANGUAGEFILE\r\n216 Beenden\r\n");
    WriteFile(shared / "Deutsch.neu.lng", "000 VAULTWING LANGUAGEFILE\r\n216 Ende\r\n");
    WriteFile(shared / "Extra.lng", "000 VAULTWING LANGUAGEFILE\r\n216 Exit\r\n");
    std::filesystem::create_directory(folder.Path() / "Old.lng");
    platform::Folders folders = platform::FoldersIn(folder.Str());
    folders.languages = {folder.Str(), shared.Str(), folder / "missing"};
    std::vector<std::string> names = LanguageNames(folders.languages);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Deutsch.neu", "English", "Extra", "FRENCH"}));
    EXPECT_TRUE(LanguageNames(folder / "missing").empty());

    AppState state(folders);
    // FRENCH: opened under its own name.
    for (const auto& [name, text] :
         {std::pair{"Extra", "Exit"}, std::pair{"Deutsch.neu", "Beenden"}, std::pair{"FRENCH", "Quitter"}}) {
        ChooseLanguage(state, name);
        EXPECT_EQ(state.Text(216), text);
    }
    EXPECT_FALSE(state.settings.IsStored(Setting::Language));
}

} // namespace
} // namespace vaultwing::test
