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
    for (const char* name : {"English.lng", "Deutsch.neu.lng", "notes.txt", "lng"})
        WriteFile(folder / name, "x");
    WriteFile(folder / "FRENCH.LNG", "000 VAULTWING LANGUAGEFILE\r\n216 Quitter\r\n");
    std::filesystem::create_directory(folder.Path() / "Old.lng");
    std::vector<std::string> names = LanguageNames(folder.Str());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Deutsch.neu", "English", "FRENCH"}));
    EXPECT_TRUE(LanguageNames(folder / "missing").empty());

    AppState state(folder.Str());
    ChooseLanguage(state, "FRENCH"); // opened under its own name
    EXPECT_EQ(state.language, "FRENCH");
    EXPECT_EQ(state.Text(216), "Quitter");
    EXPECT_FALSE(state.settings.IsStored(Setting::Language));
}

} // namespace
} // namespace vaultwing::test
