#include "config/Settings.h"

#include <charconv>
#include <system_error>

#include "config/LanguageFile.h"

namespace vaultwing {
namespace {

// Blanks, then a whole number as std::from_chars reads it (no "+"); nullopt when none starts there.
std::optional<long> WholeNumberOf(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first != last && *first == ' ')
        ++first;
    long value = 0;
    if (std::from_chars(first, last, value).ec != std::errc{}) return std::nullopt;
    return value;
}

} // namespace

std::string Settings::Stored(AnySetting setting) const {
    return store_.ReadSetting(InfoOf(setting.id).key, kSettingsSection);
}

bool Settings::IsStored(AnySetting setting) const {
    return !Stored(setting).empty();
}

std::string Settings::Text(AnySetting setting) const {
    std::string text = Stored(setting);
    return text.empty() ? InfoOf(setting.id).defaultValue : text;
}

bool Settings::IsOn(SwitchSetting setting) const {
    const std::string text = Text(setting);
    return InfoOf(setting.id).reading == SettingReading::OnIfOne ? text == "1" : text != "0";
}

std::optional<double> Settings::Number(NumberSetting setting) const {
    const SettingInfo& info = InfoOf(setting.id);
    const std::string stored = Stored(setting);
    if (info.reading == SettingReading::Position) {
        if (stored.empty() || stored == info.defaultValue) return std::nullopt;
        return LeadingNumber(stored);
    }
    if (stored.empty()) return std::nullopt;
    if (const auto value = WholeNumberOf(stored)) return static_cast<double>(*value);
    return static_cast<double>(WholeNumberOf(info.defaultValue).value_or(0));
}

void Settings::SetOn(SwitchSetting setting, bool on) {
    Write(setting, on ? "1" : "0");
}

void Settings::SetNumber(NumberSetting setting, long value) {
    Write(setting, std::to_string(value));
}

void Settings::SetText(TextSetting setting, const std::string& text) {
    Write(setting, text);
}

void Settings::StoreDefault(AnySetting setting) {
    Write(setting, InfoOf(setting.id).defaultValue);
}

void Settings::Write(AnySetting setting, const std::string& text) {
    store_.WriteSetting(InfoOf(setting.id).key, text, kSettingsSection);
}

} // namespace vaultwing
