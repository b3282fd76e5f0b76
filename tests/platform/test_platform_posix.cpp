// The POSIX platform primitives the file routines and the settings store build on.
#include "platform/platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;
using platform::EntryKind;

std::vector<std::pair<std::string, EntryKind>> List(const std::string& folder, bool* ok = nullptr) {
    std::vector<std::pair<std::string, EntryKind>> entries;
    const bool listed = platform::EnumerateDirectory(
        folder, [&](const platform::DirEntry& e) { entries.emplace_back(std::string(e.name), e.kind); });
    if (ok != nullptr) *ok = listed;
    return entries;
}

// One folder with an entry of every kind, for the enumeration and the attributes.
class Kinds : public ::testing::Test {
protected:
    Kinds() {
        test::WriteFile(dir / "file", "x");
        test::WriteFile(dir / "readonly", "x");
        fs::permissions(dir / "readonly", fs::perms::owner_read);
        test::WriteFile(dir / ".hidden", "x");
        fs::create_directory(dir / "folder");
        fs::create_directory_symlink(dir.Path(), dir / "folder/linkToParent"); // a cycle through a folder
        fs::create_symlink(dir / "file", dir / "linkToFile");
        fs::create_directory_symlink(dir / "folder", dir / "linkToFolder");
        fs::create_symlink(dir / "loopB", dir / "loopA"); // a cycle of links
        fs::create_symlink(dir / "loopA", dir / "loopB");
        fs::create_symlink(dir / "nowhere", dir / "dangling");
        ::mkfifo((dir / "fifo").c_str(), 0600);
    }
    test::TempDir dir;
};

TEST_F(Kinds, EnumerationInDirectoryOrderNeverFollowsLinks) {
    const std::map<std::string, EntryKind> expected = {
        {"file", EntryKind::File},        {"readonly", EntryKind::File},   {".hidden", EntryKind::File},
        {"folder", EntryKind::Directory}, {"linkToFile", EntryKind::File}, {"linkToFolder", EntryKind::DirectoryLink},
        {"loopA", EntryKind::File},       {"loopB", EntryKind::File},      {"dangling", EntryKind::File},
        {"fifo", EntryKind::File}};
    std::vector<std::string> systemOrder, order;
    for (const auto& e : fs::directory_iterator(dir.Path()))
        systemOrder.push_back(e.path().filename().string());
    bool ok = false;
    for (const auto& [name, kind] : List(dir.Str(), &ok)) {
        order.push_back(name);
        EXPECT_EQ(kind, expected.at(name)) << name;
    }
    EXPECT_TRUE(ok);
    EXPECT_EQ(order, systemOrder);
    EXPECT_EQ(order.size(), expected.size());
    EXPECT_EQ(List(dir / "folder"),
              (std::vector<std::pair<std::string, EntryKind>>{{"linkToParent", EntryKind::DirectoryLink}}));
    for (const auto& notAFolder : {dir / "missing", dir / "file"}) {
        EXPECT_TRUE(List(notAFolder, &ok).empty());
        EXPECT_FALSE(ok) << notAFolder;
    }
    EXPECT_THROW((void)platform::EnumerateDirectory(dir.Str(), [](const platform::DirEntry&) { throw 1; }), int);
}

TEST_F(Kinds, AttributeBitsByKind) {
    using namespace platform;
    fs::create_directory(dir / "lockedFolder");
    fs::permissions(dir / "lockedFolder", fs::perms::owner_read | fs::perms::owner_exec);
    const std::map<std::string, std::uint32_t> table = {
        {"file", kAttrNormal},
        {"readonly", kAttrReadOnly},
        {".hidden", kAttrHidden},
        {"folder", kAttrDirectory},
        {"lockedFolder", kAttrDirectory | kAttrReadOnly},
        {"linkToFile", kAttrReparsePoint | kAttrNormal},
        {"linkToFolder", kAttrReparsePoint | kAttrDirectory},
        {"dangling", kAttrReparsePoint | kAttrNormal},
        {"fifo", kAttrSystem},
        {".", kAttrDirectory}, // "." is not a hidden name
    };
    for (const auto& [name, bits] : table)
        EXPECT_EQ(FileAttributes(dir / name), bits) << name;
    EXPECT_FALSE(FileAttributes(dir / "missing").has_value());
    EXPECT_FALSE(FileAttributes("").has_value());

    // Read-only takes every write bit away; clearing it gives back the owner's only.
    fs::permissions(dir / "file", fs::perms::owner_all | fs::perms::group_all | fs::perms::others_read);
    ASSERT_TRUE(SetReadOnly(dir / "file", true));
    EXPECT_EQ(fs::status(dir / "file").permissions(), fs::perms::owner_read | fs::perms::owner_exec |
                                                          fs::perms::group_read | fs::perms::group_exec |
                                                          fs::perms::others_read);
    ASSERT_TRUE(SetReadOnly(dir / "file", false));
    EXPECT_EQ(FileAttributes(dir / "file"), kAttrNormal);
    EXPECT_EQ(fs::status(dir / "file").permissions() & fs::perms::group_write, fs::perms::none);
    EXPECT_FALSE(SetReadOnly(dir / "missing", false));
}

// A destination is replaced through a temporary file in its own folder, including one whose
// name is at the file system's limit; a missing source or folder fails and changes nothing.
TEST(TempAndRename, ReplacesDestinationLeavingNoTemporary) {
    for (const std::string& name :
         std::vector<std::string>{"settings.ini", ".vwx", std::string(251, 'n') + ".vwx", "Schl\xC3\xBCssel.txt"}) {
        test::TempDir dir;
        const auto destination = dir / name;
        test::WriteFile(destination, "old");
        std::error_code ec;
        std::string tempPath, secondPath;
        auto temp = platform::File::CreateTempBeside(destination, tempPath, ec);
        ASSERT_TRUE(temp.has_value()) << ec.message();
        auto second = platform::File::CreateTempBeside(destination, secondPath, ec);
        ASSERT_TRUE(second.has_value()) << ec.message();
        EXPECT_NE(tempPath, secondPath);
        EXPECT_EQ(fs::path(tempPath).parent_path(), dir.Path());
        EXPECT_EQ(fs::status(tempPath).permissions() & fs::perms::owner_all,
                  fs::perms::owner_read | fs::perms::owner_write);
        second->Close();
        EXPECT_TRUE(platform::RemoveFile(secondPath));

        ASSERT_TRUE(temp->Write("new", 3, ec));
        ASSERT_TRUE(temp->Sync(ec));
        temp->Close();
        EXPECT_EQ(test::ReadFile(destination), "old"); // untouched until the rename
        ASSERT_TRUE(platform::RenameReplace(tempPath, destination, ec)) << ec.message();
        EXPECT_EQ(test::ReadFile(destination), "new");
        EXPECT_EQ(test::Names(dir.Path()), std::vector<std::string>{name});

        EXPECT_FALSE(platform::RenameReplace(dir / "missing", destination, ec));
        EXPECT_EQ(test::ReadFile(destination), "new");
        EXPECT_FALSE(platform::File::CreateTempBeside(dir / "gone/file", tempPath, ec).has_value());
        EXPECT_TRUE(ec);
    }
}

} // namespace
} // namespace vaultwing
