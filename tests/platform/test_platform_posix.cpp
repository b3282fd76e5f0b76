// The POSIX platform primitives the file routines and the settings store build on.
#include "platform/platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <set>
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

TEST(EnumerateDirectory, KindsInDirectoryOrderLinksNeverFollowed) {
    test::TempDir dir;
    test::WriteFile(dir / "file", "x");
    fs::create_directory(dir / "folder");
    test::WriteFile(dir / "folder/inner", "x");
    fs::create_symlink(dir / "file", dir / "linkToFile");
    fs::create_directory_symlink(dir / "folder", dir / "linkToFolder");
    fs::create_directory_symlink(dir.Path(), dir / "folder/linkToParent"); // a cycle through a folder
    fs::create_symlink(dir / "loopB", dir / "loopA");                      // a cycle of links
    fs::create_symlink(dir / "loopA", dir / "loopB");
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);

    const std::map<std::string, EntryKind> expected = {
        {"file", EntryKind::File},       {"folder", EntryKind::Directory},
        {"linkToFile", EntryKind::File}, {"linkToFolder", EntryKind::DirectoryLink},
        {"loopA", EntryKind::File},      {"loopB", EntryKind::File},
        {"dangling", EntryKind::File},   {"fifo", EntryKind::File}};
    std::vector<std::string> systemOrder;
    for (const auto& e : fs::directory_iterator(dir.Path()))
        systemOrder.push_back(e.path().filename().string());

    bool ok = false;
    const auto entries = List(dir.Str(), &ok);
    ASSERT_TRUE(ok);
    std::vector<std::string> order;
    for (const auto& [name, kind] : entries) {
        order.push_back(name);
        ASSERT_TRUE(expected.contains(name)) << name;
        EXPECT_EQ(kind, expected.at(name)) << name;
    }
    EXPECT_EQ(order, systemOrder);
    EXPECT_EQ(entries.size(), expected.size());

    const auto inner = List(dir / "folder");
    const std::set<std::pair<std::string, EntryKind>> innerSet(inner.begin(), inner.end());
    EXPECT_EQ(innerSet, (std::set<std::pair<std::string, EntryKind>>{{"inner", EntryKind::File},
                                                                     {"linkToParent", EntryKind::DirectoryLink}}));
}

TEST(EnumerateDirectory, EmptyMissingAndNotAFolder) {
    test::TempDir dir;
    bool ok = false;
    EXPECT_TRUE(List(dir.Str(), &ok).empty());
    EXPECT_TRUE(ok);
    test::WriteFile(dir / "file", "x");
    List(dir / "missing", &ok);
    EXPECT_FALSE(ok);
    List(dir / "file", &ok);
    EXPECT_FALSE(ok);
}

TEST(EnumerateDirectory, ExceptionFromVisitorPropagates) {
    test::TempDir dir;
    test::WriteFile(dir / "a", "x");
    EXPECT_THROW((void)platform::EnumerateDirectory(dir.Str(), [](const platform::DirEntry&) { throw 1; }), int);
}

TEST(FileAttributes, BitsByKind) {
    using namespace platform;
    test::TempDir dir;
    test::WriteFile(dir / "plain", "x");
    test::WriteFile(dir / "readonly", "x");
    fs::permissions(dir / "readonly", fs::perms::owner_read);
    test::WriteFile(dir / ".hidden", "x");
    fs::create_directory(dir / "folder");
    fs::create_directory(dir / "lockedFolder");
    fs::permissions(dir / "lockedFolder", fs::perms::owner_read | fs::perms::owner_exec);
    fs::create_symlink(dir / "plain", dir / "linkToFile");
    fs::create_directory_symlink(dir / "folder", dir / "linkToFolder");
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);

    const std::vector<std::pair<std::string, std::uint32_t>> table = {
        {"plain", kAttrNormal},
        {"readonly", kAttrReadOnly},
        {".hidden", kAttrHidden},
        {"folder", kAttrDirectory},
        {"lockedFolder", kAttrDirectory | kAttrReadOnly},
        {"linkToFile", kAttrReparsePoint | kAttrNormal},
        {"linkToFolder", kAttrReparsePoint | kAttrDirectory},
        {"dangling", kAttrReparsePoint | kAttrNormal},
        {"fifo", kAttrSystem},
    };
    for (const auto& [name, bits] : table) {
        const auto attributes = FileAttributes(dir / name);
        ASSERT_TRUE(attributes.has_value()) << name;
        EXPECT_EQ(*attributes, bits) << name;
    }
    EXPECT_FALSE(FileAttributes(dir / "missing").has_value());
    EXPECT_FALSE(FileAttributes("").has_value());
    EXPECT_EQ(FileAttributes(dir.Str() + "/."), kAttrDirectory); // "." is not a hidden name
}

TEST(SetReadOnly, TogglesWriteBitsOnly) {
    test::TempDir dir;
    const auto file = dir / "f";
    test::WriteFile(file, "x");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write | fs::perms::others_read);
    ASSERT_TRUE(platform::SetReadOnly(file, true));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(*platform::FileAttributes(file) & platform::kAttrReadOnly, platform::kAttrReadOnly);
    ASSERT_TRUE(platform::SetReadOnly(file, false));
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(*platform::FileAttributes(file), platform::kAttrNormal);
    EXPECT_FALSE(platform::SetReadOnly(dir / "missing", false));
}

struct TempCase {
    const char* name;
    std::string fileName;
};

class TempAndRename : public ::testing::TestWithParam<TempCase> {};

// A destination is replaced through a temporary file in its own folder, including one whose
// name is at the file system's limit.
TEST_P(TempAndRename, ReplacesDestinationLeavingNoTemporary) {
    test::TempDir dir;
    const auto destination = dir / GetParam().fileName;
    test::WriteFile(destination, "old");

    std::error_code ec;
    std::string tempPath, secondPath;
    auto temp = platform::File::CreateTempBeside(destination, tempPath, ec);
    ASSERT_TRUE(temp.has_value()) << ec.message();
    auto second = platform::File::CreateTempBeside(destination, secondPath, ec);
    ASSERT_TRUE(second.has_value()) << ec.message();
    EXPECT_NE(tempPath, secondPath);
    EXPECT_EQ(fs::path(tempPath).parent_path(), dir.Path());
    EXPECT_EQ(fs::file_size(tempPath), 0u);
    EXPECT_EQ(fs::status(tempPath).permissions() & (fs::perms::owner_read | fs::perms::owner_write),
              fs::perms::owner_read | fs::perms::owner_write);
    second->Close();
    EXPECT_TRUE(platform::RemoveFile(secondPath));

    ASSERT_TRUE(temp->Write("new", 3, ec));
    ASSERT_TRUE(temp->Sync(ec));
    temp->Close();
    EXPECT_EQ(test::ReadFile(destination), "old"); // untouched until the rename
    ASSERT_TRUE(platform::RenameReplace(tempPath, destination, ec)) << ec.message();
    EXPECT_EQ(test::ReadFile(destination), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(Names, TempAndRename,
                         ::testing::Values(TempCase{"Plain", "settings.ini"}, TempCase{"Hidden", ".vwx"},
                                           TempCase{"LongestName", std::string(251, 'n') + ".vwx"},
                                           TempCase{"Utf8", "Schl\xC3\xBCssel.txt"}),
                         [](const auto& tc) { return std::string(tc.param.name); });

// A missing source or folder fails with an error code and leaves the destination as it was.
TEST(RenameReplace, MissingSourceOrFolderFails) {
    test::TempDir dir;
    test::WriteFile(dir / "dest", "keep");
    std::error_code ec;
    EXPECT_FALSE(platform::RenameReplace(dir / "missing", dir / "dest", ec));
    EXPECT_TRUE(ec);
    EXPECT_EQ(test::ReadFile(dir / "dest"), "keep");
    ec.clear();
    std::string tempPath;
    EXPECT_FALSE(platform::File::CreateTempBeside(dir / "gone/file", tempPath, ec).has_value());
    EXPECT_TRUE(ec);
}

} // namespace
} // namespace vaultwing
