#pragma once
// The settings of VWX.ini (section "Einstellungen"), each named once in one table: its stored
// key, its default and how its stored text reads. The rest of the program asks through the
// Setting names and gets a switch, a number or a text, as the name's type allows.
#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "config/IniFile.h"

namespace vaultwing {

// A setting's row in the table below.
enum class SettingId {
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
    SettingId setting;
    const char* key;
    const char* defaultValue;
    SettingReading reading;
};

inline constexpr std::array<SettingInfo, 13> kSettingsTable{{
    {SettingId::DeleteSources, "Delete", "0", SettingReading::OnUnlessZero},
    {SettingId::RelativePaths, "Pfad", "0", SettingReading::OnIfOne},
    {SettingId::Language, "Sprache", "", SettingReading::Text},
    {SettingId::RegisterFileType, "Register", "0", SettingReading::OnUnlessZero},
    {SettingId::SendTo, "SendTo", "0", SettingReading::OnUnlessZero},
    {SettingId::HotRegion, "HotRegion", "0", SettingReading::OnUnlessZero},
    {SettingId::HotRegionTop, "HotRegion Oben", "0", SettingReading::OnUnlessZero},
    {SettingId::HotRegionBottom, "HotRegion Unten", "0", SettingReading::OnUnlessZero},
    {SettingId::HotRegionLeft, "HotRegion Links", "0", SettingReading::OnUnlessZero},
    {SettingId::HotRegionRight, "HotRegion Rechts", "0", SettingReading::OnUnlessZero},
    {SettingId::Transparency, "Transparenz", "255", SettingReading::WholeNumber},
    {SettingId::Left, "Left", "0", SettingReading::Position},
    {SettingId::Top, "Top", "0", SettingReading::Position},
}};

// Every setting once, in the order of the enum, so that a setting's row is found by its value.
[[nodiscard]] constexpr bool NamesEverySettingOnceInOrder() {
    for (std::size_t i = 0; i < kSettingsTable.size(); ++i)
        if (static_cast<std::size_t>(kSettingsTable[i].setting) != i) return false;
    return static_cast<std::size_t>(SettingId::Top) + 1 == kSettingsTable.size();
}
static_assert(NamesEverySettingOnceInOrder());

[[nodiscard]] constexpr const SettingInfo& InfoOf(SettingId setting) {
    return kSettingsTable[static_cast<std::size_t>(setting)];
}

// What a setting holds, by its reading: this decides what may be asked of it.
enum class SettingKind { Switch, Number, Text };

[[nodiscard]] constexpr SettingKind KindOf(SettingReading reading) {
    switch (reading) {
    case SettingReading::OnUnlessZero:
    case SettingReading::OnIfOne:
        return SettingKind::Switch;
    case SettingReading::Position:
    case SettingReading::WholeNumber:
        return SettingKind::Number;
    case SettingReading::Text:
        break;
    }
    return SettingKind::Text;
}

// Not constexpr: a setting key whose kind does not match its row calls it while the key is made
// at compile time, and so does not compile.
inline void KindDiffersFromTheTable() {}

// Any setting: what can be asked of every one (its text, whether it is stored).
struct AnySetting {
    SettingId id;
};

// A setting typed by what it holds, so that asking a number whether it is on, or a text for its
// number, does not compile.
template <SettingKind kind> struct SettingKey : AnySetting {
    consteval explicit SettingKey(SettingId setting) : AnySetting{setting} {
        if (KindOf(InfoOf(setting).reading) != kind) KindDiffersFromTheTable();
    }
};
using SwitchSetting = SettingKey<SettingKind::Switch>;
using NumberSetting = SettingKey<SettingKind::Number>;
using TextSetting = SettingKey<SettingKind::Text>;

// The settings by name, each with the type of what it holds.
namespace Setting {
inline constexpr SwitchSetting DeleteSources{SettingId::DeleteSources};
inline constexpr SwitchSetting RelativePaths{SettingId::RelativePaths};
inline constexpr TextSetting Language{SettingId::Language};
inline constexpr SwitchSetting RegisterFileType{SettingId::RegisterFileType};
inline constexpr SwitchSetting SendTo{SettingId::SendTo};
inline constexpr SwitchSetting HotRegion{SettingId::HotRegion};
inline constexpr SwitchSetting HotRegionTop{SettingId::HotRegionTop};
inline constexpr SwitchSetting HotRegionBottom{SettingId::HotRegionBottom};
inline constexpr SwitchSetting HotRegionLeft{SettingId::HotRegionLeft};
inline constexpr SwitchSetting HotRegionRight{SettingId::HotRegionRight};
inline constexpr NumberSetting Transparency{SettingId::Transparency};
inline constexpr NumberSetting Left{SettingId::Left};
inline constexpr NumberSetting Top{SettingId::Top};
} // namespace Setting

// VWX.ini read and written through the table. A write that cannot be done (a read-only file or
// folder) changes nothing and is not reported: the program goes on with the value it holds in
// memory, and the next start reads what the file still says (see IniStore::WriteSetting).
class Settings {
public:
    explicit Settings(std::string programFolder) : store_(std::move(programFolder)) {}
    explicit Settings(const platform::Folders& folders) : store_(folders) {}

    [[nodiscard]] bool IsOn(SwitchSetting setting) const;
    // Position: nullopt when the window was never placed (empty or "0"). WholeNumber: nullopt
    // when nothing is stored.
    [[nodiscard]] std::optional<double> Number(NumberSetting setting) const;
    // The stored text, or the default when nothing is stored.
    [[nodiscard]] std::string Text(AnySetting setting) const;
    // True when the file holds a value (not empty) for the setting.
    [[nodiscard]] bool IsStored(AnySetting setting) const;

    // A switch is stored as "1" or "0".
    void SetOn(SwitchSetting setting, bool on);
    void SetNumber(NumberSetting setting, long value);
    void SetText(TextSetting setting, const std::string& text);
    void StoreDefault(AnySetting setting);

    // The file itself: its paths and version.ini beside it.
    [[nodiscard]] const IniStore& Store() const { return store_; }
    [[nodiscard]] IniStore& Store() { return store_; }

private:
    [[nodiscard]] std::string Stored(AnySetting setting) const;
    void Write(AnySetting setting, const std::string& text);

    IniStore store_;
};

} // namespace vaultwing
