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
    std::string_view control; // empty: the window itself. UTF-8 ("lblSchl\xC3\xBCssel" is lblSchlüssel)
    LangProperty property;
    int index;
};

// Copied into MarqueeText before the table is walked; the about window appends it to its
// scrolling credits line.
inline constexpr int kMarqueeTextIndex = lang::kMarquee;

// In the order the texts are applied: setting a text on a window that does not exist yet
// creates it, so the order decides which windows load first.
inline constexpr std::array<LangTarget, 37> kApplyLanguageTable = {{
    {"LanguageWindow", "", LangProperty::Caption, 2},
    {"DropZoneWindow", "mnuSettings", LangProperty::Caption, 206},
    {"DropZoneWindow", "mnuFavoriten", LangProperty::Caption, 208},
    {"DropZoneWindow", "mnuFavoritenDec", LangProperty::Caption, 210},
    {"DropZoneWindow", "mnuFavoritenEnc", LangProperty::Caption, 212},
    {"DropZoneWindow", "mnuAbout", LangProperty::Caption, 214},
    {"DropZoneWindow", "mnuExit", LangProperty::Caption, 216},
    {"FavouritesWindow", "", LangProperty::Caption, 500},
    {"FavouritesWindow", "mnuFavSettings", LangProperty::Caption, 502},
    {"FavouritesWindow", "mnuPath", LangProperty::Caption, 504},
    {"FavouritesWindow", "mnuDelete", LangProperty::Caption, 506},
    {"EncryptPasswordDialog", "", LangProperty::Caption, 320},
    {"EncryptPasswordDialog", "lblKeyQuality", LangProperty::Caption, 322},
    {"EncryptPasswordDialog", "lblSchl\xC3\xBCssel", LangProperty::Caption, 326},
    {"EncryptPasswordDialog", "lblWiederholen", LangProperty::Caption, 328},
    {"EncryptPasswordDialog", "lblHinweis", LangProperty::Caption, 330},
    {"EncryptPasswordDialog", "cmdKey", LangProperty::Caption, 332},
    {"EncryptPasswordDialog", "lblBezeichnerKey", LangProperty::Caption, 118},
    {"DecryptPasswordDialog", "", LangProperty::Caption, 350},
    {"DecryptPasswordDialog", "lblKeySmall", LangProperty::Caption, 326},
    {"DecryptPasswordDialog", "cmdKeyDirect", LangProperty::Caption, 334},
    {"DecryptPasswordDialog", "lblBezeichnerKeyDirect", LangProperty::Caption, 118},
    {"SettingsWindow", "", LangProperty::Caption, 400},
    {"SettingsWindow", "chkFileDel", LangProperty::Caption, 401},
    {"SettingsWindow", "chkRegister", LangProperty::Caption, 402},
    {"SettingsWindow", "chkHotRegion", LangProperty::Caption, 404},
    {"SettingsWindow", "chkSendTo", LangProperty::Caption, 405},
    {"SettingsWindow", "lblTransparenz", LangProperty::Caption, 406},
    {"SettingsWindow", "cmdSettingsOK", LangProperty::Caption, 408},
    {"SettingsWindow", "lblHinweis", LangProperty::Caption, 416},
    {"SettingsWindow", "mnuSprachen", LangProperty::Caption, 2},
    {"SettingsWindow", "mnuHilfe", LangProperty::Caption, 4},
    {"SettingsWindow", "mnuInfoAbout", LangProperty::Caption, 214},
    {"SettingsWindow", "mnuLiveUpdate", LangProperty::Caption, 6},
    {"AboutWindow", "pbLiveUpdate", LangProperty::ToolTip, 700},
    {"AboutWindow", "pbEmail", LangProperty::ToolTip, 702},
    {"AboutWindow", "lblURL", LangProperty::ToolTip, 704},
}};

// Applies a language: `marqueeText` := text 150, then `set(target, text)` for every row, top to
// bottom. `set` is the front end's way of putting a text into a window.
template <typename SetText> void ApplyLanguage(const LangTable& table, std::string& marqueeText, SetText&& set) {
    marqueeText = table[kMarqueeTextIndex];
    for (const LangTarget& target : kApplyLanguageTable)
        set(target, table[target.index]);
}

} // namespace vaultwing
