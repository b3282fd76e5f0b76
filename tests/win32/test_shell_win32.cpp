// The settings file through the system's profile functions, the file-type association, the
// Send To shortcut, the version query and the command line.
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <utility>

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

// ---------------------------------------------------------------------------------------------
// Settings files: GetPrivateProfileStringA reads every hand-written file as the program's own
// reader does.
// ---------------------------------------------------------------------------------------------

// Where the system's reader differs by nature: it hands back text in the ANSI code page (which
// the program turns into UTF-8) and ends a value at a NUL.
const std::set<std::string> kSystemDiffers = {"Utf8BytesAsGiven", "NulInValueKept"};

class ProfileMatchesReader : public ::testing::TestWithParam<test::IniReadCase> {};

TEST_P(ProfileMatchesReader, Table) {
    const auto& c = GetParam();
    if (kSystemDiffers.contains(c.name)) GTEST_SKIP() << "ANSI text or a NUL: the system's reader differs by nature";
    test::TempDir dir;
    const auto file = dir / "VWX.ini";
    test::WriteFile(file, c.content);
    EXPECT_EQ(platform::ProfileRead(file, c.section, c.key), IniReadValue(c.content, c.section, c.key));
    EXPECT_EQ(platform::ProfileRead(file, c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileMatchesReader, ::testing::ValuesIn(test::IniReadCases()),
                         [](const auto& tc) { return std::string(tc.param.name); });

TEST(ProfileWin32, WritesReadBackThroughBothReaders) {
    test::TempDir dir;
    IniStore store(dir.Str());
    EXPECT_EQ(store.ReadINI("Sprache", kSettingsSection), "");
    EXPECT_FALSE(fs::exists(store.SettingsPath())); // reading creates nothing
    const std::string umlautPath = "C:\\Daten\\J\xC3\xBCrgen";
    EXPECT_TRUE(store.WriteINI("Transparenz", "255", kSettingsSection));
    EXPECT_TRUE(store.WriteINI("Pfad", umlautPath, kSettingsSection));
    EXPECT_TRUE(store.WriteINI("delete", "1", kSettingsSection));
    EXPECT_TRUE(store.WriteINI("Delete", "0", kSettingsSection)); // the same key, whatever its case
    EXPECT_EQ(store.ReadINI("TRANSPARENZ", "einstellungen"), "255");
    EXPECT_EQ(store.ReadINI("Pfad", kSettingsSection), umlautPath);
    EXPECT_EQ(store.ReadINI("Delete", kSettingsSection), "0");
    // On disk the file holds ANSI text, which the program's own reader sees as the bytes.
    const std::string onDisk = test::ReadFile(store.SettingsPath());
    EXPECT_EQ(IniReadValue(onDisk, kSettingsSection, "Transparenz"), "255");
    EXPECT_EQ(IniReadValue(onDisk, kSettingsSection, "Pfad"), *platform::win32::ToAnsi(umlautPath));
}

TEST(ProfileWin32, RefusedWritesChangeNothing) {
    test::TempDir dir;
    IniStore store(dir.Str());
    test::WriteFile(store.SettingsPath(), "[Einstellungen]\r\nDelete=0\r\n");
    EXPECT_FALSE(store.WriteINI("", "1", kSettingsSection));
    EXPECT_FALSE(store.WriteINI("a=b", "1", kSettingsSection));
    EXPECT_FALSE(store.WriteINI("Delete", "1\r\n[X]", kSettingsSection));
    EXPECT_FALSE(store.WriteINI("Pfad", "C:\\\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB", kSettingsSection)); // not ANSI
    ASSERT_TRUE(::SetFileAttributesA(store.SettingsPath().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(store.WriteINI("Delete", "1", kSettingsSection));
    ASSERT_TRUE(::SetFileAttributesA(store.SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(test::ReadFile(store.SettingsPath()), "[Einstellungen]\r\nDelete=0\r\n");
    EXPECT_EQ(store.ReadINI("Delete", kSettingsSection), "0");
}

// ---------------------------------------------------------------------------------------------
// File-type association
// ---------------------------------------------------------------------------------------------

constexpr const char* kGone = "<gone>";

bool KeyExists(const std::string& subKey) {
    HKEY key = nullptr;
    // Names under the user's classes are looked up there.
    const std::string user = platform::win32::kUserClasses.prefix;
    const bool inUser = subKey.starts_with(user);
    if (::RegOpenKeyExA(inUser ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

class Association : public ::testing::Test {
protected:
    void SetUp() override {
        if (KeyExists(".vwx") || KeyExists("VWX") || KeyExists(UserKey(".vwx")) || KeyExists(UserKey("VWX")))
            GTEST_SKIP() << "a real .vwx association exists; it is not touched";
    }
    // Whatever a test left, deepest keys first.
    void TearDown() override {
        for (const char* key : {"VWX\\shell\\print\\command", "VWX\\shell\\print", "VWX\\shell\\open\\command",
                                "VWX\\shell\\open", "VWX\\shell", "VWX\\DefaultIcon", "VWX", ".vwx"})
            for (const auto& [root, name] : {std::pair{HKEY_CLASSES_ROOT, std::string(key)},
                                             std::pair{HKEY_CURRENT_USER, std::string(UserKey(key))}})
                (void)platform::win32::RegRemoveKey(root, name);
    }
    static std::string UserKey(const char* key) { return std::string(platform::win32::kUserClasses.prefix) + key; }
};

TEST_F(Association, RegisterWritesTheFourKeysWithOneBackslashAndUnregisterRemovesThem) {
    for (const std::string appPath : {"C:\\Tools", "C:\\Tools\\"}) {
        SCOPED_TRACE(appPath);
        platform::RegisterFileType("vwx", appPath, "VWX", "VWX File", "C:\\Tools\\VWX_icon.ico");
        EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, ".vwx", "", kGone), "VWX");
        EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, "VWX", "", kGone), "VWX File");
        EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, "VWX\\DefaultIcon", "", kGone), "C:\\Tools\\VWX_icon.ico,0");
        EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, "VWX\\shell\\open\\command", "", kGone),
                  "\"C:\\Tools\\VWX.exe\" %1");
    }
    platform::UnregisterFileType("vwx");
    for (const char* key : {".vwx", "VWX", "VWX\\DefaultIcon", "VWX\\shell\\open\\command", "VWX\\shell"})
        EXPECT_FALSE(KeyExists(key)) << key;
    platform::UnregisterFileType("vwx"); // not registered: nothing happens
    platform::RegisterFileType("vwx", "C:\\Tools", "VWX", "VWX File", "");
    EXPECT_FALSE(KeyExists("VWX\\DefaultIcon")); // no icon path, no icon key
}

// A verb another program added to the same ProgID survives the removal, and with it the key.
TEST_F(Association, ForeignVerbKeepsTheProgId) {
    platform::RegisterFileType("vwx", "C:\\Tools", "VWX", "VWX File", "C:\\Tools\\VWX_icon.ico");
    ASSERT_EQ(platform::win32::RegWriteString(HKEY_CLASSES_ROOT, "VWX\\shell\\print\\command", "", "print %1"),
              ERROR_SUCCESS);
    platform::UnregisterFileType("vwx");
    EXPECT_FALSE(KeyExists(".vwx"));
    EXPECT_FALSE(KeyExists("VWX\\shell\\open"));
    EXPECT_FALSE(KeyExists("VWX\\DefaultIcon"));
    EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, "VWX\\shell\\print\\command", "", kGone), "print %1");
}

// A user who may not write HKEY_CLASSES_ROOT gets the association in the user's own classes,
// and unregistering removes it there too.
TEST_F(Association, UserClassesHoldTheSameKeys) {
    using platform::win32::kUserClasses;
    const std::string classes = kUserClasses.prefix;
    ASSERT_TRUE(platform::win32::WriteFileType(kUserClasses, "vwx", "C:\\Tools", "VWX", "VWX File", "C:\\i.ico"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, classes + ".vwx", "", kGone), "VWX");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, classes + "VWX\\DefaultIcon", "", kGone), "C:\\i.ico,0");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, classes + "VWX\\shell\\open\\command", "", kGone),
              "\"C:\\Tools\\VWX.exe\" %1");
    EXPECT_FALSE(KeyExists(".vwx")); // nothing written for the whole machine
    platform::UnregisterFileType("vwx");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, classes + ".vwx", "", kGone), kGone);
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, classes + "VWX", "", kGone), kGone);
}

// ---------------------------------------------------------------------------------------------
// Send To shortcut
// ---------------------------------------------------------------------------------------------

TEST(SendToShortcut, PointsAtVwxExeInTheProgramFolderAndIsRemoved) {
    const std::string sendTo = platform::win32::GetSpecialFolder(CSIDL_SENDTO);
    ASSERT_FALSE(sendTo.empty());
    fs::create_directories(sendTo);
    const std::string link = platform::win32::SendToShortcutPath();
    EXPECT_EQ(link, sendTo + "\\Vaultwing.lnk");
    if (fs::exists(link)) GTEST_SKIP() << "a real Send To shortcut exists; it is not touched";

    for (const std::string folder : {"C:\\Tools", "C:\\Tools\\", "C:\\Tools"}) { // twice in a row: one file
        ASSERT_TRUE(platform::CreateSendToShortcut(folder)) << folder;
        EXPECT_EQ(platform::win32::ReadLinkTarget(link), "C:\\Tools\\VWX.EXE");
    }
    const auto names = test::Names(sendTo);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Vaultwing.lnk"), 1);

    platform::RemoveSendToShortcut();
    EXPECT_FALSE(fs::exists(link));
    platform::RemoveSendToShortcut(); // none there: nothing happens
}

TEST(CreateLink, OptionalFieldsAndAUtf8Target) {
    test::TempDir dir;
    const std::string target = "C:\\Programme\\Gr\xC3\xBC"
                               "n\\VWX.EXE";
    const std::string link = dir / "l\xC3\xA4nk.lnk";
    ASSERT_TRUE(platform::win32::CreateLink(target, link, "--x", "Vaultwing", "C:\\", "C:\\icon.ico", 1));
    EXPECT_EQ(platform::win32::ReadLinkTarget(link), target);
    EXPECT_FALSE(platform::win32::CreateLink(target, "", "", "", "", "", 0));
    EXPECT_EQ(platform::win32::ReadLinkTarget(dir / "missing.lnk"), "");
}

// ---------------------------------------------------------------------------------------------
// Version query and command line
// ---------------------------------------------------------------------------------------------

// A 64-bit program runs on NT 6 or later (reported as 6.x without a manifest): it starts.
TEST(QueryOsVersionWin32, ThisSystemIsSupported) {
    const OsVersionReport report = platform::QueryOsVersion();
    ASSERT_TRUE(report.queryOk);
    EXPECT_EQ(report.platformId, 2u);
    EXPECT_GE(report.major, 6u);
    EXPECT_FALSE(report.wow64);
    const OsVersionDecision decision = DecideOsVersion(report);
    EXPECT_EQ(decision.code, 10);
    EXPECT_TRUE(decision.known);
}

TEST(ArgumentText, ProgramNameQuotedOrNotIsSkipped) {
    struct Case {
        const char* line;
        const char* rest;
    };
    for (const Case& c :
         {Case{"VWX.exe C:\\a.txt", "C:\\a.txt"},
          Case{"\"C:\\Program Files\\VWX.exe\" \"C:\\My Files\\a.txt\" D:\\b", "\"C:\\My Files\\a.txt\" D:\\b"},
          Case{"\"C:\\Program Files\\VWX.exe\"", ""}, Case{"VWX.exe", ""}, Case{"VWX.exe \t  C:\\x", "C:\\x"},
          Case{"\"C:\\unclosed C:\\x", ""}, Case{"", ""}}) {
        EXPECT_EQ(platform::win32::ArgumentText(c.line), c.rest) << c.line;
    }
}

} // namespace
} // namespace vaultwing
