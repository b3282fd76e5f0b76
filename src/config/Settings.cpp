#include "config/Settings.h"

#include <charconv>
#include <stdexcept>
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

std::string Settings::Stored(Setting setting) const {
    return store_.ReadSetting(InfoOf(setting).key, kSettingsSection);
}

bool Settings::IsStored(Setting setting) const {
    return !Stored(setting).empty();
}

std::string Settings::Text(Setting setting) const {
    std::string text = Stored(setting);
    return text.empty() ? InfoOf(setting).defaultValue : text;
}

bool Settings::IsOn(Setting setting) const {
    const std::string text = Text(setting);
    switch (InfoOf(setting).reading) {
    case SettingReading::OnUnlessZero:
        return text != "0";
    case SettingReading::OnIfOne:
        return text == "1";
    default:
        throw std::invalid_argument("IsOn asked of a setting that is no switch");
    }
}

std::optional<double> Settings::Number(Setting setting) const {
    const SettingInfo& info = InfoOf(setting);
    const std::string stored = Stored(setting);
    switch (info.reading) {
    case SettingReading::Position:
        if (stored.empty() || stored == info.defaultValue) return std::nullopt;
        return LeadingNumber(stored);
    case SettingReading::WholeNumber:
        if (stored.empty()) return std::nullopt;
        if (const auto value = WholeNumberOf(stored)) return static_cast<double>(*value);
        return static_cast<double>(WholeNumberOf(info.defaultValue).value_or(0));
    default:
        throw std::invalid_argument("Number asked of a setting that is no number");
    }
}

bool Settings::SetOn(Setting setting, bool on) {
    return SetText(setting, on ? "1" : "0");
}

bool Settings::SetNumber(Setting setting, long value) {
    return SetText(setting, std::to_string(value));
}

bool Settings::SetText(Setting setting, const std::string& text) {
    return store_.WriteSetting(InfoOf(setting).key, text, kSettingsSection);
}

bool Settings::StoreDefault(Setting setting) {
    return SetText(setting, InfoOf(setting).defaultValue);
}

} // namespace vaultwing
