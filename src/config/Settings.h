#pragma once
// The settings of VWX.ini (section "Einstellungen"), each named once in one table: its stored
// key, its default and how its stored text reads. The rest of the program asks through the
// Setting values and gets a switch, a number or a text.
#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "config/IniFile.h"

namespace vaultwing {

enum class Setting {
    DeleteSources,    // destroy the sources after a run
    RelativePaths,    // favourites are stored relative to the program folder
    Language,         // the language file's name without ".lng"; empty until the first choice
    RegisterFileType, // *.vwx opens with VWX
    SendTo,           // the "Send To" / context-menu entry exists
    HotRegion,        // the hot-region timer runs
    HotRegionTop,     // the hot region's four screen edges
    HotRegionBottom,
    HotRegionLeft,
    HotRegionRight,
    Transparency, // the drop zone's alpha
    Left,         // the drop zone's position, twips
    Top,          // (the last setting: the table check below counts up to it)
};

// How a stored text reads. An empty value reads as the setting's default.
enum class SettingReading {
    OnUnlessZero, // a switch: on for every value but "0"
    OnIfOne,      // a switch: on for "1" only
    Text,         // the text as stored
    Position,     // the leading number (LeadingNumber); the default ("0") means never placed
    WholeNumber,  // blanks, then a whole number; text that starts with none reads as the default
};

struct SettingInfo {
    Setting setting;
    const char* key;
    const char* defaultValue;
    SettingReading reading;
};

inline constexpr std::array<SettingInfo, 13> kSettingsTable{{
    {Setting::DeleteSources, "Delete", "0", SettingReading::OnUnlessZero},
    {Setting::RelativePaths, "Pfad", "0", SettingReading::OnIfOne},
    {Setting::Language, "Sprache", "", SettingReading::Text},
    {Setting::RegisterFileType, "Register", "0", SettingReading::OnUnlessZero},
    {Setting::SendTo, "SendTo", "0", SettingReading::OnUnlessZero},
    {Setting::HotRegion, "HotRegion", "0", SettingReading::OnUnlessZero},
    {Setting::HotRegionTop, "HotRegion Oben", "0", SettingReading::OnUnlessZero},
    {Setting::HotRegionBottom, "HotRegion Unten", "0", SettingReading::OnUnlessZero},
    {Setting::HotRegionLeft, "HotRegion Links", "0", SettingReading::OnUnlessZero},
    {Setting::HotRegionRight, "HotRegion Rechts", "0", SettingReading::OnUnlessZero},
    {Setting::Transparency, "Transparenz", "255", SettingReading::WholeNumber},
    {Setting::Left, "Left", "0", SettingReading::Position},
    {Setting::Top, "Top", "0", SettingReading::Position},
}};

// Every setting once, in the order of the enum, so that a setting's row is found by its value.
[[nodiscard]] constexpr bool NamesEverySettingOnceInOrder() {
    for (std::size_t i = 0; i < kSettingsTable.size(); ++i)
        if (static_cast<std::size_t>(kSettingsTable[i].setting) != i) return false;
    return static_cast<std::size_t>(Setting::Top) + 1 == kSettingsTable.size();
}
static_assert(NamesEverySettingOnceInOrder());

[[nodiscard]] constexpr const SettingInfo& InfoOf(Setting setting) {
    return kSettingsTable[static_cast<std::size_t>(setting)];
}

// VWX.ini read and written through the table. A write that cannot be done changes nothing and
// says nothing (see IniStore::WriteSetting); the writers' results tell whether the file holds the
// value, for callers that care.
class Settings {
public:
    explicit Settings(std::string programFolder) : store_(std::move(programFolder)) {}
    explicit Settings(const platform::Folders& folders) : store_(folders) {}

    // A switch (OnUnlessZero, OnIfOne).
    [[nodiscard]] bool IsOn(Setting setting) const;
    // A number. Position: nullopt when the window was never placed (empty or "0"). WholeNumber:
    // nullopt when nothing is stored.
    [[nodiscard]] std::optional<double> Number(Setting setting) const;
    // The stored text, or the default when nothing is stored.
    [[nodiscard]] std::string Text(Setting setting) const;
    // True when the file holds a value (not empty) for the setting.
    [[nodiscard]] bool IsStored(Setting setting) const;

    // A switch is stored as "1" or "0".
    bool SetOn(Setting setting, bool on);
    bool SetNumber(Setting setting, long value);
    bool SetText(Setting setting, const std::string& text);
    bool StoreDefault(Setting setting);

    // The file itself: its paths and version.ini beside it.
    [[nodiscard]] const IniStore& Store() const { return store_; }
    [[nodiscard]] IniStore& Store() { return store_; }

private:
    [[nodiscard]] std::string Stored(Setting setting) const;

    IniStore store_;
};

} // namespace vaultwing
