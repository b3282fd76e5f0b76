// VWX.ini on real files: the table of settings, and the store beneath it.
#include "config/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <variant>

#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;

// What a setting reads as: "on"/"off" for a switch, "none" or the number, the text in quotes.
std::string Reading(const Settings& settings, SwitchSetting setting) {
    return settings.IsOn(setting) ? "on" : "off";
}
std::string Reading(const Settings& settings, TextSetting setting) {
    return "'" + settings.Text(setting) + "'";
}
std::string Reading(const Settings& settings, NumberSetting setting) {
    const auto number = settings.Number(setting);
    std::ostringstream out;
    out << number.value_or(0);
    return number ? out.str() : "none";
}

// Only a switch can be asked whether it is on, only a number for its number.
template <typename Key>
concept AsksOn = requires(const Settings& settings, Key key) {
    settings.IsOn(key);
};
template <typename Key>
concept AsksNumber = requires(const Settings& settings, Key key) {
    settings.Number(key);
};
static_assert(AsksOn<SwitchSetting> && !AsksOn<NumberSetting> && !AsksOn<TextSetting>);
static_assert(AsksNumber<NumberSetting> && !AsksNumber<SwitchSetting> && !AsksNumber<TextSetting>);

// Each text is stored under the key that users' files have, then read through the table.
TEST(Settings, StoredTextsReadByTheirRule) {
    using Readings = std::vector<std::pair<const char*, const char*>>;
    const std::tuple<std::variant<SwitchSetting, NumberSetting, TextSetting>, const char*, Readings> rows[] = {
        {Setting::DeleteSources, "Delete", {{"1", "on"}, {"0", "off"}, {"", "off"}, {"2", "on"}, {"yes", "on"}}},
        {Setting::RegisterFileType, "Register", {{"x", "on"}, {"0", "off"}}},
        {Setting::SendTo, "SendTo", {{"1", "on"}, {"", "off"}}},
        {Setting::HotRegion, "HotRegion", {{"yes", "on"}, {"0", "off"}}},
        {Setting::RelativePaths, "Pfad", {{"1", "on"}, {"0", "off"}, {"", "off"}, {"2", "off"}, {"yes", "off"}}},
        {Setting::HotRegionTop, "HotRegion Oben", {{"1", "on"}, {"2", "on"}}},
        {Setting::HotRegionBottom, "HotRegion Unten", {{"1", "on"}, {"yes", "on"}}},
        {Setting::HotRegionLeft, "HotRegion Links", {{"1", "on"}, {"", "off"}}},
        {Setting::HotRegionRight, "HotRegion Rechts", {{"1", "on"}, {"0", "off"}}},
        {Setting::Language, "Sprache", {{"", "''"}, {"Deutsch.neu", "'Deutsch.neu'"}}},
        {Setting::Transparency,
         "Transparenz",
         {{"", "none"}, {" 90", "90"}, {"12abc", "12"}, {"1.9", "1"}, {"-5", "-5"}, {"abc", "255"}, {"+5", "255"}}},
        {Setting::Left, "Left", {{"", "none"}, {"0", "none"}, {"00", "0"}, {"abc", "0"}, {"1500.6", "1500.6"}}},
        {Setting::Top, "Top", {{"0", "none"}, {"-450", "-450"}}},
    };
    test::TempDir dir;
    Settings settings(dir.Str());
    for (const auto& [setting, key, readings] : rows)
        for (const auto& [stored, reads] : readings) {
            ASSERT_TRUE(settings.Store().WriteSetting(key, stored, kSettingsSection));
            EXPECT_EQ(std::visit([&](auto typed) { return Reading(settings, typed); }, setting), reads)
                << key << "=" << stored;
        }
}

// An installed copy's settings folder appears with the first value written, for its owner only.
TEST(IniStore, PerUserFolderIsMadeOnFirstWrite) {
    test::TempDir dir;
    platform::Folders folders = platform::FoldersIn(dir / "config/vaultwing");
    folders.perUser = true;
    IniStore store(folders);
    EXPECT_TRUE(store.WriteSetting("Delete", "0", kSettingsSection));
#ifndef _WIN32
    EXPECT_EQ(fs::status(dir / "config").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(store.SettingsPath()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
#endif
}

// A write that cannot be done fails and leaves the file as it was: the owner-write bit is
// checked by the store itself (so this holds for root too), and an unreadable path is never
// replaced by a file holding one key.
TEST(IniStore, WritesThatCannotBeDoneChangeNothing) {
    test::TempDir dir;
    IniStore store(dir.Str());
    test::WriteFile(store.SettingsPath(), "[Einstellungen]\r\nDelete=0\r\n");
    fs::permissions(store.SettingsPath(), fs::perms::owner_read);
    EXPECT_FALSE(store.WriteSetting("Delete", "1", kSettingsSection));
    EXPECT_EQ(test::ReadFile(store.SettingsPath()), "[Einstellungen]\r\nDelete=0\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1); // no temporary
    fs::permissions(store.SettingsPath(), fs::perms::owner_all);
    fs::remove(store.SettingsPath());
    fs::create_directory(store.SettingsPath());
    EXPECT_FALSE(store.WriteSetting("Delete", "1", kSettingsSection));
    EXPECT_TRUE(fs::is_directory(store.SettingsPath()));
}

} // namespace
} // namespace vaultwing
