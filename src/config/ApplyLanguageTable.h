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
inline constexpr std::array<LangTarget, 41> kApplyLanguageTable = {{
    {"LanguageWindow", "", LangProperty::Caption, lang::kLanguageWindowCaption},
    {"DropZoneWindow", "settingsAction", LangProperty::Caption, lang::kMenuSettings},
    {"DropZoneWindow", "favouritesAction", LangProperty::Caption, lang::kMenuFavourites},
    {"DropZoneWindow", "decryptFavouritesAction", LangProperty::Caption, lang::kMenuFavouritesDecrypt},
    {"DropZoneWindow", "encryptFavouritesAction", LangProperty::Caption, lang::kMenuFavouritesEncrypt},
    {"DropZoneWindow", "aboutAction", LangProperty::Caption, lang::kMenuAbout},
    {"DropZoneWindow", "exitAction", LangProperty::Caption, lang::kMenuExit},
    {"FavouritesWindow", "", LangProperty::Caption, lang::kFavouritesCaption},
    {"FavouritesWindow", "settingsMenu", LangProperty::Caption, lang::kFavouritesMenu},
    {"FavouritesWindow", "relativePathsAction", LangProperty::Caption, lang::kFavouritesRelative},
    {"FavouritesWindow", "deleteAction", LangProperty::Caption, lang::kFavouritesDelete},
    {"FavouritesWindow", "favouritesList", LangProperty::Caption, lang::kFavouritesEmptyHint},
    {"EncryptPasswordDialog", "", LangProperty::Caption, lang::kKeyCaption},
    {"EncryptPasswordDialog", "qualityLabel", LangProperty::Caption, lang::kKeyQualityInitial},
    {"EncryptPasswordDialog", "passwordLabel", LangProperty::Caption, lang::kKeyLabel},
    {"EncryptPasswordDialog", "repeatLabel", LangProperty::Caption, lang::kKeyRepeatLabel},
    {"EncryptPasswordDialog", "hintLabel", LangProperty::Caption, lang::kKeyHint},
    {"EncryptPasswordDialog", "okButton", LangProperty::Caption, lang::kKeyOkEncrypt},
    {"EncryptPasswordDialog", "titleLabel", LangProperty::Caption, lang::kPasswordTitle},
    {"EncryptPasswordDialog", "revealButton", LangProperty::ToolTip, lang::kRevealTip},
    {"DecryptPasswordDialog", "", LangProperty::Caption, lang::kKeyDirectCaption},
    {"DecryptPasswordDialog", "passwordLabel", LangProperty::Caption, lang::kKeyLabel},
    {"DecryptPasswordDialog", "okButton", LangProperty::Caption, lang::kKeyOkDecrypt},
    {"DecryptPasswordDialog", "titleLabel", LangProperty::Caption, lang::kPasswordTitle},
    {"DecryptPasswordDialog", "revealButton", LangProperty::ToolTip, lang::kRevealTip},
    {"SettingsWindow", "", LangProperty::Caption, lang::kSettingsCaption},
    {"SettingsWindow", "deleteSourcesBox", LangProperty::Caption, lang::kSettingsDelete},
    {"SettingsWindow", "fileTypeBox", LangProperty::Caption, lang::kSettingsRegister},
    {"SettingsWindow", "hotRegionBox", LangProperty::Caption, lang::kSettingsHotRegion},
    {"SettingsWindow", "sendToBox", LangProperty::Caption, lang::kSettingsSendTo},
    {"SettingsWindow", "transparencyLabel", LangProperty::Caption, lang::kSettingsTransparency},
    {"SettingsWindow", "okButton", LangProperty::Caption, lang::kSettingsOk},
    {"SettingsWindow", "hintLabel", LangProperty::Caption, lang::kSettingsHint},
    {"SettingsWindow", "languagesAction", LangProperty::Caption, lang::kLanguageWindowCaption},
    {"SettingsWindow", "manualAction", LangProperty::Caption, lang::kMenuManual},
    {"SettingsWindow", "aboutAction", LangProperty::Caption, lang::kMenuAbout},
    {"SettingsWindow", "liveUpdateAction", LangProperty::Caption, lang::kMenuLiveUpdate},
    {"AboutWindow", "", LangProperty::Caption, lang::kMenuAbout},
    {"AboutWindow", "liveUpdateButton", LangProperty::ToolTip, lang::kTipLiveUpdate},
    {"AboutWindow", "contactButton", LangProperty::ToolTip, lang::kTipContact},
    {"AboutWindow", "websiteLink", LangProperty::ToolTip, lang::kTipWebsite},
}};

// Applies a language: `marqueeText` := the marquee text, then `set(target, text)` for every row, top to
// bottom. `set` is the front end's way of putting a text into a window.
template <typename SetText> void ApplyLanguage(const LangTable& table, std::string& marqueeText, SetText&& set) {
    marqueeText = table[kMarqueeTextIndex];
    for (const LangTarget& target : kApplyLanguageTable)
        set(target, table[target.index]);
}

} // namespace vaultwing
