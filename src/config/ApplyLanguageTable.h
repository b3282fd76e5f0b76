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
    {"frmSpracheinstellung", "", LangProperty::Caption, 2},
    {"frmMain", "mnuSettings", LangProperty::Caption, 206},
    {"frmMain", "mnuFavoriten", LangProperty::Caption, 208},
    {"frmMain", "mnuFavoritenDec", LangProperty::Caption, 210},
    {"frmMain", "mnuFavoritenEnc", LangProperty::Caption, 212},
    {"frmMain", "mnuAbout", LangProperty::Caption, 214},
    {"frmMain", "mnuExit", LangProperty::Caption, 216},
    {"frmFavoriten", "", LangProperty::Caption, 500},
    {"frmFavoriten", "mnuFavSettings", LangProperty::Caption, 502},
    {"frmFavoriten", "mnuPath", LangProperty::Caption, 504},
    {"frmFavoriten", "mnuDelete", LangProperty::Caption, 506},
    {"frmKey", "", LangProperty::Caption, 320},
    {"frmKey", "lblKeyQuality", LangProperty::Caption, 322},
    {"frmKey", "lblSchl\xC3\xBCssel", LangProperty::Caption, 326},
    {"frmKey", "lblWiederholen", LangProperty::Caption, 328},
    {"frmKey", "lblHinweis", LangProperty::Caption, 330},
    {"frmKey", "cmdKey", LangProperty::Caption, 332},
    {"frmKey", "lblBezeichnerKey", LangProperty::Caption, 118},
    {"frmKeyDirect", "", LangProperty::Caption, 350},
    {"frmKeyDirect", "lblKeySmall", LangProperty::Caption, 326},
    {"frmKeyDirect", "cmdKeyDirect", LangProperty::Caption, 334},
    {"frmKeyDirect", "lblBezeichnerKeyDirect", LangProperty::Caption, 118},
    {"frmSettings", "", LangProperty::Caption, 400},
    {"frmSettings", "chkFileDel", LangProperty::Caption, 401},
    {"frmSettings", "chkRegister", LangProperty::Caption, 402},
    {"frmSettings", "chkHotRegion", LangProperty::Caption, 404},
    {"frmSettings", "chkSendTo", LangProperty::Caption, 405},
    {"frmSettings", "lblTransparenz", LangProperty::Caption, 406},
    {"frmSettings", "cmdSettingsOK", LangProperty::Caption, 408},
    {"frmSettings", "lblHinweis", LangProperty::Caption, 416},
    {"frmSettings", "mnuSprachen", LangProperty::Caption, 2},
    {"frmSettings", "mnuHilfe", LangProperty::Caption, 4},
    {"frmSettings", "mnuInfoAbout", LangProperty::Caption, 214},
    {"frmSettings", "mnuLiveUpdate", LangProperty::Caption, 6},
    {"frmInfo", "pbLiveUpdate", LangProperty::ToolTip, 700},
    {"frmInfo", "pbEmail", LangProperty::ToolTip, 702},
    {"frmInfo", "lblURL", LangProperty::ToolTip, 704},
}};

// Applies a language: `marqueeText` := text 150, then `set(target, text)` for every row, top to
// bottom. `set` is the front end's way of putting a text into a window.
template <typename SetText> void ApplyLanguage(const LangTable& table, std::string& marqueeText, SetText&& set) {
    marqueeText = table[kMarqueeTextIndex];
    for (const LangTarget& target : kApplyLanguageTable)
        set(target, table[target.index]);
}

} // namespace vaultwing
