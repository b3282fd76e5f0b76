// The settings store on real files.
#include "config/modINI.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const test::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    return names;
}

TEST(IniStore, PathsComputedFromProgramFolder) {
    const IniStore store("/opt/vw");
    EXPECT_EQ(store.SettingsPath(), "/opt/vw/VWX.ini");
    EXPECT_EQ(store.VersionPath(), "/opt/vw/version.ini");
}

TEST(IniStore, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
    test::TempDir dir;
    IniStore store(dir.Str());
    EXPECT_EQ(store.ReadINI("Sprache", kSettingsSection), "");
    EXPECT_FALSE(fs::exists(store.SettingsPath())); // reading creates nothing
    EXPECT_TRUE(store.WriteINI("Transparenz", "255", kSettingsSection));
    EXPECT_EQ(test::ReadFile(store.SettingsPath()), "[Einstellungen]\r\nTransparenz=255\r\n");
    EXPECT_EQ(store.ReadINI("transparenz", "EINSTELLUNGEN"), "255");
    EXPECT_EQ(Names(dir), std::vector<std::string>{"VWX.ini"}); // no temporary file left behind
}

TEST(IniStore, WritesKeepTheRestOfAHandEditedFile) {
    test::TempDir dir;
    IniStore store(dir.Str());
    const std::string before = "; mine\n[Einstellungen]\ndelete = 0\n\n[Fremd]\nX=1\n";
    test::WriteFile(store.SettingsPath(), before);
    EXPECT_EQ(store.ReadINI("Delete", kSettingsSection), "0");
    EXPECT_TRUE(store.WriteINI("Delete", "1", kSettingsSection));
    EXPECT_TRUE(store.WriteINI("Sprache", "English", kSettingsSection));
    EXPECT_EQ(test::ReadFile(store.SettingsPath()),
              "; mine\n[Einstellungen]\ndelete=1\nSprache=English\r\n\n[Fremd]\nX=1\n");
    EXPECT_EQ(Names(dir), std::vector<std::string>{"VWX.ini"});
}

TEST(IniStore, LongValueStoredWholeReadCut) {
    test::TempDir dir;
    IniStore store(dir.Str());
    const std::string value(300, 'v');
    EXPECT_TRUE(store.WriteINI("Pfad", value, kSettingsSection));
    EXPECT_NE(test::ReadFile(store.SettingsPath()).find(value), std::string::npos);
    EXPECT_EQ(store.ReadINI("Pfad", kSettingsSection), value.substr(0, 254));
}

TEST(IniStore, BytesStoredAsGiven) {
    test::TempDir dir;
    IniStore store(dir.Str());
    const std::string path = "/home/j\xC3\xBCrgen/Schl\xC3\xBC"
                             "ssel";
    EXPECT_TRUE(store.WriteINI("Pfad", path, kSettingsSection));
    EXPECT_EQ(store.ReadINI("Pfad", kSettingsSection), path);
}

TEST(IniStore, EmptyKeyReadsAndWritesNothing) {
    test::TempDir dir;
    IniStore store(dir.Str());
    test::WriteFile(store.SettingsPath(), "[Einstellungen]\r\n=x\r\n");
    EXPECT_EQ(store.ReadINI("", kSettingsSection), "");
    EXPECT_FALSE(store.WriteINI("", "1", kSettingsSection));
    EXPECT_EQ(test::ReadFile(store.SettingsPath()), "[Einstellungen]\r\n=x\r\n");
    test::TempDir empty;
    IniStore fresh(empty.Str());
    EXPECT_FALSE(fresh.WriteINI("", "1", kSettingsSection));
    EXPECT_FALSE(fs::exists(fresh.SettingsPath()));
}

// The owner-write bit is checked by the store itself, so this holds for root too.
TEST(IniStore, ReadOnlyFileIsLeftAlone) {
    test::TempDir dir;
    IniStore store(dir.Str());
    test::WriteFile(store.SettingsPath(), "[Einstellungen]\r\nDelete=0\r\n");
    fs::permissions(store.SettingsPath(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(store.WriteINI("Delete", "1", kSettingsSection));
    EXPECT_EQ(store.ReadINI("Delete", kSettingsSection), "0");
    EXPECT_EQ(Names(dir), std::vector<std::string>{"VWX.ini"});
}

// A settings path that exists but cannot be read is never replaced by a file holding one key.
TEST(IniStore, UnreadableSettingsAreNotReplaced) {
    test::TempDir dir;
    IniStore store(dir.Str());
    fs::create_directory(store.SettingsPath());
    test::WriteFile(dir / "VWX.ini/keep", "x");
    EXPECT_EQ(store.ReadINI("Delete", kSettingsSection), "");
    EXPECT_FALSE(store.WriteINI("Delete", "1", kSettingsSection));
    EXPECT_TRUE(fs::is_directory(store.SettingsPath()));
    EXPECT_EQ(test::ReadFile(dir / "VWX.ini/keep"), "x");
}

TEST(IniStore, WriteIntoReadOnlyFolderFailsSilently) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    test::TempDir dir;
    IniStore store(dir.Str());
    test::WriteFile(store.SettingsPath(), "[Einstellungen]\r\nDelete=0\r\n");
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(store.WriteINI("Delete", "1", kSettingsSection));
    fs::permissions(dir.Path(), fs::perms::owner_all);
    EXPECT_EQ(test::ReadFile(store.SettingsPath()), "[Einstellungen]\r\nDelete=0\r\n");
    EXPECT_EQ(Names(dir), std::vector<std::string>{"VWX.ini"});
}

TEST(IniStore, MissingFolderFailsSilently) {
    test::TempDir dir;
    IniStore store(dir / "gone");
    EXPECT_FALSE(store.WriteINI("Delete", "1", kSettingsSection));
    EXPECT_EQ(store.ReadINI("Delete", kSettingsSection), "");
}

TEST(IniStore, VersionFileReadSeparately) {
    test::TempDir dir;
    IniStore store(dir.Str());
    EXPECT_EQ(store.ReadVersionINI("version", kSettingsSection), "");
    test::WriteFile(store.VersionPath(), "[Einstellungen]\r\nVersion=1.6.0\r\n");
    EXPECT_EQ(store.ReadVersionINI("version", kSettingsSection), "1.6.0");
    EXPECT_EQ(store.ReadINI("version", kSettingsSection), "");
}

TEST(IniStore, OversizedFileIsNeitherReadNorRewritten) {
    test::TempDir dir;
    IniStore store(dir.Str());
    std::string huge = "[Einstellungen]\r\nDelete=1\r\n";
    huge.resize(kIniMaxFileSize + 1, ';');
    test::WriteFile(store.SettingsPath(), huge);
    EXPECT_EQ(store.ReadINI("Delete", kSettingsSection), "");
    EXPECT_FALSE(store.WriteINI("Delete", "0", kSettingsSection));
    EXPECT_EQ(fs::file_size(store.SettingsPath()), huge.size());
}

} // namespace
} // namespace vaultwing
