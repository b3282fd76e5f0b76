// The language files we ship, and the table that puts their texts into the windows.
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/Cp1252.h"
#include "base/PathNames.h"
#include "config/ApplyLanguageTable.h"
#include "config/FindFiles.h"
#include "config/LangIndices.h"
#include "config/LanguageFile.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

class ShippedLanguageFile : public ::testing::TestWithParam<const char*> {
protected:
    [[nodiscard]] std::string Path() const { return std::string(VAULTWING_LANG_DIR) + "/" + GetParam(); }
};

TEST_P(ShippedLanguageFile, LoadsAsValid) {
    LangTable table;
    EXPECT_EQ(LoadLanguageFile(Path(), table), 0);
    EXPECT_TRUE(table.HasValidHeader());
}

TEST_P(ShippedLanguageFile, GivesEveryIndexTheProgramReads) {
    LangTable table;
    ASSERT_EQ(LoadLanguageFile(Path(), table), 0);
    for (const int index : lang::kAllIndices)
        EXPECT_FALSE(table[index].empty()) << "text " << index;
    for (const LangTarget& target : kApplyLanguageTable)
        EXPECT_FALSE(table[target.index].empty()) << target.window << "." << target.control;
}

// Every index it gives is one the program reads: a typo in an index would otherwise leave a
// text unused and another missing.
TEST_P(ShippedLanguageFile, HasNoUnknownIndex) {
    LangTable table;
    ASSERT_EQ(LoadLanguageFile(Path(), table), 0);
    const std::set<int> known(lang::kAllIndices.begin(), lang::kAllIndices.end());
    for (int index = 0; index < LangTable::kSize; ++index)
        EXPECT_TRUE(table[index].empty() || known.count(index)) << "text " << index << " is not read";
}

// Windows-1252 with CR LF throughout, no byte-order mark, and every byte a character of the
// code page, so that every copy of the program can read it.
TEST_P(ShippedLanguageFile, IsWindows1252WithCrLf) {
    const std::string bytes = test::ReadFile(Path());
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF");
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        EXPECT_TRUE(b != '\r' || (i + 1 < bytes.size() && bytes[i + 1] == '\n')) << "lone CR at " << i;
        EXPECT_TRUE(b != '\n' || (i > 0 && bytes[i - 1] == '\r')) << "lone LF at " << i;
        EXPECT_FALSE(b < 0x20 && b != '\r' && b != '\n') << "control byte at " << i;
        EXPECT_FALSE(b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) << "undefined byte at " << i;
    }
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST_P(ShippedLanguageFile, PromptsAndPrefixesEndAsTheyAreJoined) {
    LangTable table;
    ASSERT_EQ(LoadLanguageFile(Path(), table), 0);
    // The command line writes the prompt and reads the password right after it.
    for (const int index : {lang::kCliPasswordPrompt, lang::kCliRepeatPrompt}) {
        const std::string& text = table[index];
        ASSERT_GE(text.size(), 2u);
        EXPECT_EQ(text.substr(text.size() - 2), ": ") << "text " << index;
    }
    // The quality meter is this text, the number and " %".
    EXPECT_EQ(table[lang::kKeyQualityPrefix].back(), ' ');
    // The edge labels are compared with each other to toggle an edge: equal texts would
    // leave an edge that cannot be switched off.
    EXPECT_NE(table[lang::kEdgeOn], table[lang::kEdgeOff]);
    EXPECT_NE(table[lang::kDeleteModeOn], table[lang::kDeleteModeOff]);
    EXPECT_NE(table[lang::kCapsLockOn], table[lang::kCapsLockOff]);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLanguageFile, ::testing::Values("English.lng", "Deutsch.lng"),
                         [](const auto& p) { return std::string(p.param).substr(0, 7); });

TEST(ShippedLanguageFiles, GermanIsRealGerman) {
    LangTable table;
    ASSERT_EQ(LoadLanguageFile(std::string(VAULTWING_LANG_DIR) + "/Deutsch.lng", table), 0);
    EXPECT_EQ(table[lang::kProgressEncrypt].substr(0, 14), "Verschl\xC3\xBCsseln");
    EXPECT_EQ(table[lang::kMenuAbout], "\xC3\x9C"
                                       "ber Vaultwing");
}

// What the language window does with them: list *.lng, show the names, load the chosen one.
TEST(ShippedLanguageFiles, AreFoundNamedAndReopened) {
    test::TempDir dir;
    const std::string source = std::string(VAULTWING_LANG_DIR) + "/";
    test::WriteFile(dir / "ENGLISH.LNG", test::ReadFile(source + "English.lng"));
    test::WriteFile(dir / "Deutsch.neu.lng", test::ReadFile(source + "Deutsch.lng"));
    std::filesystem::create_directory(dir.Path() / "folder.lng");

    std::vector<std::string> found;
    ASSERT_EQ(FindFiles(dir.Str(), found, "*.lng", 0, false), 2);
    std::vector<std::string> names;
    for (const auto& path : found)
        names.push_back(StripExtension(GetFileName(path)));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Deutsch.neu", "ENGLISH"}));

    LangTable table;
    ASSERT_EQ(LoadLanguageFile(dir / "ENGLISH.LNG", table), 0);
    const std::string english = table[lang::kMenuExit];
    ASSERT_EQ(LoadLanguageFile(dir / "Deutsch.neu.lng", table), 0);
    EXPECT_NE(table[lang::kMenuExit], english);
}

// ---------------------------------------------------------------------------------------------
// The table of window texts
// ---------------------------------------------------------------------------------------------

TEST(ApplyLanguageTable, RowsAreTheWindowTextsInOrder) {
    ASSERT_EQ(kApplyLanguageTable.size(), 37u);
    const auto& first = kApplyLanguageTable.front();
    EXPECT_EQ(first.window, "LanguageWindow");
    EXPECT_EQ(first.control, "");
    EXPECT_EQ(first.index, lang::kLanguageWindowCaption);
    const auto key = std::find_if(kApplyLanguageTable.begin(), kApplyLanguageTable.end(),
                                  [](const LangTarget& t) { return t.index == lang::kKeyLabel; });
    ASSERT_NE(key, kApplyLanguageTable.end());
    EXPECT_EQ(key->window, "EncryptPasswordDialog");
    EXPECT_EQ(key->control, "passwordLabel");
    // Only the about window's three links are tool tips, and they close the table.
    for (std::size_t i = 0; i < kApplyLanguageTable.size(); ++i)
        EXPECT_EQ(kApplyLanguageTable[i].property == LangProperty::ToolTip, i >= kApplyLanguageTable.size() - 3);
    // A window's rows stay together, so each window is created once, at its first row.
    std::vector<std::string_view> windows;
    for (const auto& row : kApplyLanguageTable)
        if (windows.empty() || windows.back() != row.window) windows.push_back(row.window);
    EXPECT_EQ(windows, (std::vector<std::string_view>{"LanguageWindow", "DropZoneWindow", "FavouritesWindow", "EncryptPasswordDialog",
                                                      "DecryptPasswordDialog", "SettingsWindow", "AboutWindow"}));
    // No control gets two texts.
    std::set<std::pair<std::string_view, std::string_view>> seen;
    for (const auto& row : kApplyLanguageTable)
        EXPECT_TRUE(seen.emplace(row.window, row.control).second);
}

TEST(ApplyLanguage, CopiesTheMarqueeFirstThenWalksTheTable) {
    LangTable table;
    for (int i = 0; i < LangTable::kSize; ++i)
        table.Set(i, "text " + std::to_string(i));
    std::string marquee = "stale";
    std::vector<std::string> applied;
    ApplyLanguage(table, marquee, [&](const LangTarget& target, const std::string& text) {
        EXPECT_EQ(marquee, "text 150"); // already copied when the first window is touched
        EXPECT_EQ(text, "text " + std::to_string(target.index));
        applied.push_back(std::string(target.window) + "." + std::string(target.control));
    });
    ASSERT_EQ(applied.size(), kApplyLanguageTable.size());
    EXPECT_EQ(applied.front(), "LanguageWindow.");
    EXPECT_EQ(applied.back(), "AboutWindow.websiteLink");
}

TEST(ApplyLanguage, EmptyTableGivesEmptyTexts) {
    const LangTable table;
    std::string marquee = "stale";
    int calls = 0;
    ApplyLanguage(table, marquee, [&](const LangTarget&, const std::string& text) {
        EXPECT_TRUE(text.empty());
        ++calls;
    });
    EXPECT_EQ(marquee, "");
    EXPECT_EQ(calls, 37);
}

} // namespace
} // namespace vaultwing
