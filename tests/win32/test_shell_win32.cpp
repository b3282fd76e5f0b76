// The settings file through the profile functions, the association, Send To and the command line.
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/Cp1252.h"
#include "base/IniText.h"
#include "config/IniFile.h"
#include "config/IniReadCases.h"
#include "platform/OsVersion.h"
#include "platform/platform.h"
#include "platform/win32/registry.h"
#include "platform/win32/shell.h"
#include "platform/win32/win32_text.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;
using platform::win32::RegReadString;

class ProfileMatchesReader : public ::testing::TestWithParam<test::IniReadCase> {};

// GetPrivateProfileStringA reads every file as the program's own reader does, but for ANSI text and NULs.
TEST_P(ProfileMatchesReader, Table) {
    const auto& c = GetParam();
    if (std::string(c.name) == "Utf8BytesAsGiven" || std::string(c.name) == "NulInValueKept") GTEST_SKIP();
    test::TempDir dir;
    test::WriteFile(dir / "VWX.ini", c.content);
    EXPECT_EQ(platform::ProfileRead(dir / "VWX.ini", c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileMatchesReader, ::testing::ValuesIn(test::IniReadCases()),
                         [](const auto& tc) { return std::string(tc.param.name); });

// Written values are ANSI on disk and UTF-8 when read back; refused writes change nothing.
TEST(ProfileWin32, WritesReadBackAndRefusalsChangeNothing) {
    test::TempDir dir;
    IniStore store(dir.Str());
    const std::string umlautPath = "C:\\Daten\\J\xC3\xBCrgen";
    EXPECT_TRUE(store.WriteSetting("Pfad", umlautPath, kSettingsSection));
    EXPECT_TRUE(store.WriteSetting("delete", "1", kSettingsSection));
    EXPECT_TRUE(store.WriteSetting("Delete", "0", kSettingsSection)); // the same key, whatever its case
    EXPECT_EQ(store.ReadSetting("PFAD", "einstellungen"), umlautPath);
    const std::string onDisk = test::ReadFile(store.SettingsPath());
    EXPECT_EQ(Cp1252ToUtf8(IniReadValue(onDisk, kSettingsSection, "Pfad")), umlautPath);

    EXPECT_FALSE(store.WriteSetting("a=b", "1", kSettingsSection));
    EXPECT_FALSE(store.WriteSetting("Delete", "1\r\n[X]", kSettingsSection));
    EXPECT_FALSE(store.WriteSetting("Pfad", "C:\\\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB", kSettingsSection)); // not ANSI
    ASSERT_TRUE(::SetFileAttributesA(store.SettingsPath().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(store.WriteSetting("Delete", "1", kSettingsSection));
    EXPECT_EQ(test::ReadFile(store.SettingsPath()), onDisk);
}

// Registered (the folder with or without a backslash) then removed; a foreign verb keeps its key.
TEST(Association, RegisterWritesTheKeysAndUnregisterRemovesThem) {
    if (!RegReadString(HKEY_CLASSES_ROOT, ".vwx", "", "").empty()) GTEST_SKIP() << "a real .vwx association exists";
    for (const std::string appPath : {"C:\\Tools", "C:\\Tools\\"}) {
        platform::RegisterFileType("vwx", appPath, "VWX", "VWX File", "C:\\Tools\\VWX_icon.ico");
        EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, ".vwx", "", ""), "VWX");
        EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, "VWX", "", ""), "VWX File");
        EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, "VWX\\DefaultIcon", "", ""), "C:\\Tools\\VWX_icon.ico,0");
        EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, "VWX\\shell\\open\\command", "", ""), "\"C:\\Tools\\VWX.exe\" %1");
    }
    ASSERT_EQ(platform::win32::RegWriteString(HKEY_CLASSES_ROOT, "VWX\\shell\\print\\command", "", "print %1"),
              ERROR_SUCCESS);
    platform::UnregisterFileType("vwx");
    for (const char* key : {".vwx", "VWX\\DefaultIcon", "VWX\\shell\\open\\command"})
        EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, key, "", "<gone>"), "<gone>") << key;
    EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, "VWX\\shell\\print\\command", "", ""), "print %1");
    for (const char* key : {"VWX\\shell\\print\\command", "VWX\\shell\\print", "VWX\\shell", "VWX"})
        (void)platform::win32::RegRemoveKey(HKEY_CLASSES_ROOT, key);
}

TEST(SendToShortcut, PointsAtVwxExeInTheProgramFolderAndIsRemoved) {
    const std::string link = platform::win32::SendToShortcutPath();
    fs::create_directories(fs::path(link).parent_path());
    EXPECT_EQ(link, platform::win32::GetSpecialFolder(CSIDL_SENDTO) + "\\Vaultwing.lnk");
    if (fs::exists(link)) GTEST_SKIP() << "a real Send To shortcut exists";
    for (const std::string folder : {"C:\\Tools", "C:\\Tools\\"}) {
        ASSERT_TRUE(platform::CreateSendToShortcut(folder)) << folder;
        EXPECT_EQ(platform::win32::ReadLinkTarget(link), "C:\\Tools\\VWX.EXE");
    }
    platform::RemoveSendToShortcut();
    EXPECT_FALSE(fs::exists(link));
}

TEST(QueryOsVersionWin32, ThisSystemIsSupported) {
    EXPECT_EQ(DecideOsVersion(platform::QueryOsVersion()).code, 10); // a 64-bit program sees NT 6 or later
}

TEST(ArgumentText, ProgramNameQuotedOrNotIsSkipped) {
    const std::pair<const char*, const char*> cases[] = {
        {"VWX.exe C:\\a.txt", "C:\\a.txt"},
        {"\"C:\\Program Files\\VWX.exe\" \"C:\\My Files\\a.txt\" D:\\b", "\"C:\\My Files\\a.txt\" D:\\b"},
        {"VWX.exe \t  C:\\x", "C:\\x"},
        {"\"C:\\unclosed C:\\x", ""},
        {"", ""}};
    for (const auto& [line, rest] : cases)
        EXPECT_EQ(platform::win32::ArgumentText(line), rest) << line;
}

// vaultwing.exe's arguments from the wide command line, by the system's rules.
TEST(SplitArguments, KeepCharactersOutsideTheCodePage) {
    EXPECT_EQ(platform::win32::SplitArguments(L"vaultwing.exe \"C:\\\u00C4 \u20AC\\\u6587\" -q \U0001F600"),
              (std::vector<std::string>{"vaultwing.exe", "C:\\\xC3\x84 \xE2\x82\xAC\\\xE6\x96\x87", "-q",
                                        "\xF0\x9F\x98\x80"}));
}

} // namespace
} // namespace vaultwing
