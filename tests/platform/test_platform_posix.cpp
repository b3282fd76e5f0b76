#include "platform/platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
        std::string tempPath;
        File temp = File::CreateTempBeside(destination, tempPath);
        EXPECT_EQ(fs::path(tempPath).parent_path(), dir.Path());
        EXPECT_EQ(fs::status(tempPath).permissions(), fs::perms(0640));
        temp.Write("new", 3);
        temp.Close();
        EXPECT_EQ(test::ReadFile(destination), "old"); // untouched until the rename
        RenameReplace(tempPath, destination);
        EXPECT_EQ(test::ReadFile(destination), "new");
        EXPECT_EQ(test::Names(dir.Path()), std::vector<std::string>{name});
        EXPECT_THROW(RenameReplace(dir / "missing", destination), std::system_error);
        EXPECT_THROW((void)File::CreateTempBeside(dir / "gone/file", tempPath), std::system_error);
    }
}

// Group bits are meant for the model's group (a source's, or the replaced file's): in a setgid
// folder of another group, a new file takes that group and none of the bits.
TEST(TempAndRename, GroupBitsOnlyForTheModelsOwnGroup) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a folder a group of one's choice takes root";
    const gid_t mine = ::getegid(), other = mine == 1 ? 2 : 1;
    for (const bool setgidFolder : {true, false})
        for (const bool replaced : {false, true}) {
            test::TempDir dir;
            const std::string model = dir / (replaced ? "out.vwx" : "model"), destination = dir / "out.vwx";
            if (setgidFolder) {
                ASSERT_EQ(::chown(dir.Str().c_str(), -1U, other) | ::chmod(dir.Str().c_str(), 02777), 0);
            }
            test::WriteFile(model, "model");
            ASSERT_EQ(::chown(model.c_str(), -1U, mine) | ::chmod(model.c_str(), 0640), 0);
            std::string tempPath;
            ASSERT_NO_THROW((void)File::CreateTempBeside(destination, tempPath, replaced ? "" : model));
            struct stat made {};
            ASSERT_EQ(::stat(tempPath.c_str(), &made), 0);
            EXPECT_EQ(made.st_gid, setgidFolder ? other : mine);
            EXPECT_EQ(made.st_mode & 0777, setgidFolder ? 0600U : 0640U) << setgidFolder << replaced;
        }
}

} // namespace
} // namespace vaultwing
