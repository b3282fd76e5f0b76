#pragma once
// Which language text goes into which window caption, control caption or tool tip. The desktop
// program walks this table to apply a language; everything not listed (messages, the progress
// caption, the delete-mode hints, the hot-region labels) is read from the table when shown.
#include <array>
#include <string>
#include <string_view>

#include "config/LangIndices.h"
#include "config/LangTable.h"

namespace vaultwing {

enum class LangProperty { Caption, ToolTip };

struct LangTarget {
    std::string_view window;
    std::string_view control; // the control's object name; empty: the window itself
    LangProperty property;
    int index;
};

// Copied into MarqueeText before the table is walked; the about window appends it to its
// scrolling credits line.
inline constexpr int kMarqueeTextIndex = lang::kMarquee;

// In the order the texts are applied: setting a text on a window that does not exist yet
// creates it, so the order decides which windows load first.
inline constexpr std::array<LangTarget, 38> kApplyLanguageTable = {{
    {"LanguageWindow", "", LangProperty::Caption, 2},
    {"DropZoneWindow", "settingsAction", LangProperty::Caption, 206},
    {"DropZoneWindow", "favouritesAction", LangProperty::Caption, 208},
    {"DropZoneWindow", "decryptFavouritesAction", LangProperty::Caption, 210},
    {"DropZoneWindow", "encryptFavouritesAction", LangProperty::Caption, 212},
    {"DropZoneWindow", "aboutAction", LangProperty::Caption, 214},
    {"DropZoneWindow", "exitAction", LangProperty::Caption, 216},
    {"FavouritesWindow", "", LangProperty::Caption, 500},
    {"FavouritesWindow", "settingsMenu", LangProperty::Caption, 502},
    {"FavouritesWindow", "relativePathsAction", LangProperty::Caption, 504},
    {"FavouritesWindow", "deleteAction", LangProperty::Caption, 506},
    {"EncryptPasswordDialog", "", LangProperty::Caption, 320},
    {"EncryptPasswordDialog", "qualityLabel", LangProperty::Caption, 322},
    {"EncryptPasswordDialog", "passwordLabel", LangProperty::Caption, 326},
    {"EncryptPasswordDialog", "repeatLabel", LangProperty::Caption, 328},
    {"EncryptPasswordDialog", "hintLabel", LangProperty::Caption, 330},
    {"EncryptPasswordDialog", "okButton", LangProperty::Caption, 332},
    {"EncryptPasswordDialog", "titleLabel", LangProperty::Caption, 118},
    {"DecryptPasswordDialog", "", LangProperty::Caption, 350},
    {"DecryptPasswordDialog", "passwordLabel", LangProperty::Caption, 326},
    {"DecryptPasswordDialog", "okButton", LangProperty::Caption, 334},
    {"DecryptPasswordDialog", "titleLabel", LangProperty::Caption, 118},
    {"SettingsWindow", "", LangProperty::Caption, 400},
    {"SettingsWindow", "deleteSourcesBox", LangProperty::Caption, 401},
    {"SettingsWindow", "fileTypeBox", LangProperty::Caption, 402},
    {"SettingsWindow", "hotRegionBox", LangProperty::Caption, 404},
    {"SettingsWindow", "sendToBox", LangProperty::Caption, 405},
    {"SettingsWindow", "transparencyLabel", LangProperty::Caption, 406},
    {"SettingsWindow", "okButton", LangProperty::Caption, 408},
    {"SettingsWindow", "hintLabel", LangProperty::Caption, 416},
    {"SettingsWindow", "languagesAction", LangProperty::Caption, 2},
    {"SettingsWindow", "manualAction", LangProperty::Caption, 4},
    {"SettingsWindow", "aboutAction", LangProperty::Caption, 214},
    {"SettingsWindow", "liveUpdateAction", LangProperty::Caption, 6},
    {"AboutWindow", "", LangProperty::Caption, 214},
    {"AboutWindow", "liveUpdateButton", LangProperty::ToolTip, 700},
    {"AboutWindow", "contactButton", LangProperty::ToolTip, 702},
    {"AboutWindow", "websiteLink", LangProperty::ToolTip, 704},
}};

// Applies a language: `marqueeText` := text 150, then `set(target, text)` for every row, top to
// bottom. `set` is the front end's way of putting a text into a window.
template <typename SetText> void ApplyLanguage(const LangTable& table, std::string& marqueeText, SetText&& set) {
    marqueeText = table[kMarqueeTextIndex];
    for (const LangTarget& target : kApplyLanguageTable)
        set(target, table[target.index]);
}

} // namespace vaultwing
