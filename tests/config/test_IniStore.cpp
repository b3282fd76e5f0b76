// The settings store on real files.
#include "base/IniText.h"
#include "config/IniFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;

class IniStoreTest : public ::testing::Test {
protected:
    // Only the settings file in the folder: no temporary file left behind.
    void ExpectOnlySettingsFile() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            names.push_back(entry.path().filename().string());
        EXPECT_EQ(names, std::vector<std::string>{"VWX.ini"});
    }
    [[nodiscard]] std::string Read(const char* key) const { return store.ReadINI(key, kSettingsSection); }
    [[nodiscard]] bool Write(const char* key, const std::string& value) {
        return store.WriteINI(key, value, kSettingsSection);
    }

    test::TempDir dir;
    IniStore store{dir.Str()};
};

TEST(IniStore, PathsComputedFromProgramFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "expected paths are written with '/'; Windows lists them with '\\'";
#endif
    const IniStore store("/opt/vw");
    EXPECT_EQ(store.SettingsPath(), "/opt/vw/VWX.ini");
    EXPECT_EQ(store.VersionPath(), "/opt/vw/version.ini");
}

TEST_F(IniStoreTest, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
    EXPECT_EQ(Read("Sprache"), "");
    EXPECT_FALSE(fs::exists(store.SettingsPath())); // reading creates nothing
    EXPECT_TRUE(Write("Transparenz", "255"));
    EXPECT_EQ(test::ReadFile(store.SettingsPath()), "[Einstellungen]\r\nTransparenz=255\r\n");
    EXPECT_EQ(store.ReadINI("transparenz", "EINSTELLUNGEN"), "255");
    ExpectOnlySettingsFile();
}

TEST_F(IniStoreTest, WritesKeepTheRestOfAHandEditedFile) {
#ifdef _WIN32
    GTEST_SKIP() << "WritePrivateProfileStringA lays out the file's lines itself";
#endif
    const std::string before = "; mine\n[Einstellungen]\ndelete = 0\n\n[Fremd]\nX=1\n";
    test::WriteFile(store.SettingsPath(), before);
    EXPECT_EQ(Read("Delete"), "0");
    EXPECT_TRUE(Write("Delete", "1"));
    EXPECT_TRUE(Write("Sprache", "English"));
    EXPECT_EQ(test::ReadFile(store.SettingsPath()),
              "; mine\n[Einstellungen]\ndelete=1\nSprache=English\r\n\n[Fremd]\nX=1\n");
    ExpectOnlySettingsFile();
}

// Bytes are stored as given and whole; a read gives at most 254 characters of them.
TEST_F(IniStoreTest, ValuesStoredWholeReadCut) {
    const std::string path = "/home/j\xC3\xBCrgen/Schl\xC3\xBC"
                             "ssel";
    EXPECT_TRUE(Write("Pfad", path));
    EXPECT_EQ(Read("Pfad"), path);
    const std::string value(300, 'v');
    EXPECT_TRUE(Write("Pfad", value));
    EXPECT_NE(test::ReadFile(store.SettingsPath()).find(value), std::string::npos);
    EXPECT_EQ(Read("Pfad"), value.substr(0, 254));
}

TEST_F(IniStoreTest, EmptyKeyReadsAndWritesNothing) {
    test::WriteFile(store.SettingsPath(), "[Einstellungen]\r\n=x\r\n");
    EXPECT_EQ(Read(""), "");
    EXPECT_FALSE(Write("", "1"));
    EXPECT_EQ(test::ReadFile(store.SettingsPath()), "[Einstellungen]\r\n=x\r\n");
    test::TempDir empty;
    IniStore fresh(empty.Str());
    EXPECT_FALSE(fresh.WriteINI("", "1", kSettingsSection));
    EXPECT_FALSE(fs::exists(fresh.SettingsPath()));
}

// The owner-write bit is checked by the store itself, so this holds for root too.
TEST_F(IniStoreTest, ReadOnlyFileIsLeftAlone) {
    test::WriteFile(store.SettingsPath(), "[Einstellungen]\r\nDelete=0\r\n");
    fs::permissions(store.SettingsPath(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(Write("Delete", "1"));
    EXPECT_EQ(Read("Delete"), "0");
    ExpectOnlySettingsFile();
}

// A settings path that exists but cannot be read is never replaced by a file holding one key.
TEST_F(IniStoreTest, UnreadableSettingsAreNotReplaced) {
    fs::create_directory(store.SettingsPath());
    test::WriteFile(dir / "VWX.ini/keep", "x");
    EXPECT_EQ(Read("Delete"), "");
    EXPECT_FALSE(Write("Delete", "1"));
    EXPECT_TRUE(fs::is_directory(store.SettingsPath()));
    EXPECT_EQ(test::ReadFile(dir / "VWX.ini/keep"), "x");
}

TEST_F(IniStoreTest, WriteIntoReadOnlyFolderFailsSilently) {
#ifdef _WIN32
    GTEST_SKIP() << "a folder's read-only attribute does not stop writes into it on Windows";
#else
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
#endif
    test::WriteFile(store.SettingsPath(), "[Einstellungen]\r\nDelete=0\r\n");
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(Write("Delete", "1"));
    fs::permissions(dir.Path(), fs::perms::owner_all);
    EXPECT_EQ(test::ReadFile(store.SettingsPath()), "[Einstellungen]\r\nDelete=0\r\n");
    ExpectOnlySettingsFile();
}

TEST(IniStore, MissingFolderFailsSilently) {
    test::TempDir dir;
    IniStore store(dir / "gone");
    EXPECT_FALSE(store.WriteINI("Delete", "1", kSettingsSection));
    EXPECT_EQ(store.ReadINI("Delete", kSettingsSection), "");
}

TEST_F(IniStoreTest, VersionFileReadSeparately) {
    EXPECT_EQ(store.ReadVersionINI("version", kSettingsSection), "");
    test::WriteFile(store.VersionPath(), "[Einstellungen]\r\nVersion=1.6.0\r\n");
    EXPECT_EQ(store.ReadVersionINI("version", kSettingsSection), "1.6.0");
    EXPECT_EQ(Read("version"), "");
}

TEST_F(IniStoreTest, OversizedFileIsNeitherReadNorRewritten) {
    std::string huge = "[Einstellungen]\r\nDelete=1\r\n";
    huge.resize(kIniMaxFileSize + 1, ';');
    test::WriteFile(store.SettingsPath(), huge);
    EXPECT_EQ(Read("Delete"), "");
    EXPECT_FALSE(Write("Delete", "0"));
    EXPECT_EQ(fs::file_size(store.SettingsPath()), huge.size());
}

} // namespace
} // namespace vaultwing
