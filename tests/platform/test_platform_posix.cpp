#include "platform/platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;
using namespace platform;

// One folder with an entry of every kind: the kind enumeration reports and the attribute bits.
TEST(EnumerateDirectoryPosix, KindsAndAttributesWithoutFollowingLinks) {
    test::TempDir dir;
    for (const char* name : {"file", "readonly", ".hidden"})
        test::WriteFile(dir / name, "x");
    fs::permissions(dir / "readonly", fs::perms::owner_read);
    fs::create_directory(dir / "folder");
    fs::create_symlink(dir / "file", dir / "linkToFile");
    fs::create_directory_symlink(dir / "folder", dir / "linkToFolder");
    fs::create_symlink(dir / "dangling", dir / "dangling"); // a link to itself
    ::mkfifo((dir / "fifo").c_str(), 0600);
    fs::create_symlink(dir / "fifo", dir / "linkToFifo");
    const std::map<std::string, std::pair<EntryKind, std::uint32_t>> expected = {
        {"file", {EntryKind::File, kAttrNormal}},
        {"readonly", {EntryKind::File, kAttrReadOnly}},
        {".hidden", {EntryKind::File, kAttrHidden}},
        {"folder", {EntryKind::Directory, kAttrDirectory}},
        {"linkToFile", {EntryKind::File, kAttrReparsePoint | kAttrNormal}},
        {"linkToFolder", {EntryKind::DirectoryLink, kAttrReparsePoint | kAttrDirectory}},
        {"dangling", {EntryKind::DanglingLink, kAttrReparsePoint | kAttrNormal}},
        {"fifo", {EntryKind::Special, kAttrSystem}},
        {"linkToFifo", {EntryKind::Special, kAttrReparsePoint | kAttrSystem}}};
    std::vector<std::string> systemOrder, order;
    for (const auto& e : fs::directory_iterator(dir.Path()))
        systemOrder.push_back(e.path().filename().string());
    EXPECT_TRUE(EnumerateDirectory(dir.Str(), [&](const DirEntry& e) {
        order.emplace_back(e.name);
        EXPECT_EQ(e.kind, expected.at(order.back()).first) << e.name;
        EXPECT_EQ(FileAttributes(dir / e.name), expected.at(order.back()).second) << e.name;
    }));
    EXPECT_EQ(order, systemOrder);
    for (const auto& notAFolder : {dir / "missing", dir / "file"})
        EXPECT_FALSE(EnumerateDirectory(notAFolder, [](const DirEntry&) { ADD_FAILURE(); }));
    EXPECT_THROW((void)EnumerateDirectory(dir.Str(), [](const DirEntry&) { throw 1; }), int);
    EXPECT_EQ(FileAttributes(dir / "."), kAttrDirectory); // "." is not a hidden name
    EXPECT_FALSE(FileAttributes(dir / "missing").has_value());

    // Read-only takes every write bit away; clearing it gives back the owner's only.
    const auto readOnly = fs::perms::all & ~(fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
    fs::permissions(dir / "file", fs::perms::all);
    ASSERT_TRUE(SetReadOnly(dir / "file", true));
    EXPECT_EQ(fs::status(dir / "file").permissions() & fs::perms::all, readOnly);
    ASSERT_TRUE(SetReadOnly(dir / "file", false));
    EXPECT_EQ(fs::status(dir / "file").permissions() & fs::perms::all, readOnly | fs::perms::owner_write);
    EXPECT_FALSE(SetReadOnly(dir / "missing", false));
}

// Replaced through a temporary file beside it, also at the name length limit; no leftovers. The
// temporary file has the replaced file's permission bits from the start, whatever the umask.
TEST(TempAndRename, ReplacesDestinationLeavingNoTemporary) {
    for (const std::string& name :
         {std::string(".vwx"), std::string(251, 'n') + ".vwx", std::string("Schl\xC3\xBCssel")}) {
        test::TempDir dir;
        const auto destination = dir / name;
        test::WriteFile(destination, "old");
        fs::permissions(destination, fs::perms(0640));
        std::error_code ec;
        std::string tempPath;
        auto temp = File::CreateTempBeside(destination, tempPath, ec);
        ASSERT_TRUE(temp.has_value()) << ec.message();
        EXPECT_EQ(fs::path(tempPath).parent_path(), dir.Path());
        EXPECT_EQ(fs::status(tempPath).permissions(), fs::perms(0640));
        ASSERT_TRUE(temp->Write("new", 3, ec));
        temp->Close();
        EXPECT_EQ(test::ReadFile(destination), "old"); // untouched until the rename
        ASSERT_TRUE(RenameReplace(tempPath, destination, ec)) << ec.message();
        EXPECT_EQ(test::ReadFile(destination), "new");
        EXPECT_EQ(test::Names(dir.Path()), std::vector<std::string>{name});
        EXPECT_FALSE(RenameReplace(dir / "missing", destination, ec));
        EXPECT_FALSE(File::CreateTempBeside(dir / "gone/file", tempPath, ec).has_value());
    }
}

// A new file's group bits are meant for its model's group (the source's, or the replaced file's).
// In a setgid folder of another group the new file gets that group instead, and with it no group
// access; in a plain folder it keeps the model's group and its bits.
TEST(TempAndRename, GroupBitsOnlyForTheModelsOwnGroup) {
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    groups.resize(static_cast<std::size_t>(std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
    const gid_t mine = ::getegid();
    gid_t other = mine;
    if (::geteuid() == 0)
        other = mine == 1 ? 2 : 1; // root may give a folder any group
    else
        for (const gid_t group : groups)
            if (group != mine) other = group;
    if (other == mine) GTEST_SKIP() << "no second group to give a folder";
    for (const bool setgidFolder : {true, false}) {
        for (const bool replaced : {false, true}) {
            test::TempDir dir;
            const auto folder = dir / "folder", model = dir / "model", destination = folder + "/out.vwx";
            fs::create_directory(folder);
            if (setgidFolder) {
                ASSERT_EQ(::chown(folder.c_str(), static_cast<uid_t>(-1), other), 0);
                ASSERT_EQ(::chmod(folder.c_str(), 02777), 0);
            }
            test::WriteFile(replaced ? destination : model, "model");
            ASSERT_EQ(::chown((replaced ? destination : model).c_str(), static_cast<uid_t>(-1), mine), 0);
            fs::permissions(replaced ? destination : model, fs::perms(0640));
            std::error_code ec;
            std::string tempPath;
            auto temp = File::CreateTempBeside(destination, tempPath, ec, replaced ? std::string() : model);
            ASSERT_TRUE(temp.has_value()) << ec.message();
            struct stat made {};
            ASSERT_EQ(::stat(tempPath.c_str(), &made), 0);
            EXPECT_EQ(made.st_gid, setgidFolder ? other : mine);
            EXPECT_EQ(made.st_mode & 0777, setgidFolder ? 0600U : 0640U) << setgidFolder << replaced;
        }
    }
}

} // namespace
} // namespace vaultwing
