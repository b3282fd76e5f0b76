#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "files/FileInUse.h"
#include "files/SourceFiles.h"
#include "platform/platform.h"
#include "support/TempDir.h"
#include "win32/HoldingProcess.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;
using platform::EntryKind;
using Kinds = std::map<std::string, EntryKind>;

class HeldByAnotherProcess : public ::testing::TestWithParam<const char*> {};

// Held without write sharing, the file is in use and stays whole; released, it is destroyed.
TEST_P(HeldByAnotherProcess, IsInUseAndStaysWholeUntilReleased) {
    test::TempDir dir;
    const auto file = dir / "source.txt";
    test::WriteFile(file, "the only copy");
    test::WinHoldingProcess holder(file, GetParam());
    ASSERT_TRUE(holder.Holding());
    EXPECT_TRUE(FileInUse(file));
    EXPECT_FALSE(DestroyFile(file));
    holder.Stop();
    EXPECT_EQ(test::ReadFile(file), "the only copy"); // not even truncated
    EXPECT_FALSE(FileInUse(file));
    EXPECT_TRUE(DestroyFile(file));
}

INSTANTIATE_TEST_SUITE_P(Holds, HeldByAnotherProcess, ::testing::Values("exclusive", "read", "readshared"));

// Read-only files, folders, missing paths and files with a second name are refused, none "in use".
TEST(DestroyFileWin32, OnlyAWritableSingleNamedFileGoes) {
    test::TempDir dir;
    const auto file = dir / "readonly.txt";
    test::WriteFile(file, "the only copy");
    ASSERT_TRUE(::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    fs::create_directory(dir / "folder");
    for (const auto& path : {file, dir / "folder", dir / "missing", dir / "missing-folder\\x", std::string()}) {
        EXPECT_FALSE(FileInUse(path)) << path;
        EXPECT_FALSE(DestroyFile(path)) << path;
    }
    EXPECT_EQ(test::ReadFile(file), "the only copy");
    EXPECT_TRUE(ClearReadOnly(file, [] {}));
    if (::CreateHardLinkA((dir / "other").c_str(), file.c_str(), nullptr)) {
        EXPECT_FALSE(DestroyFile(file));
        fs::remove(dir / "other");
    }
    EXPECT_TRUE(DestroyFile(file));
    EXPECT_FALSE(fs::exists(file));
}

// Names come in UTF-8; a link to a folder is reported as such and never followed.
TEST(EnumerateDirectoryWin32, KindsAndUtf8Names) {
    test::TempDir dir;
    const std::string umlaut = "\xC3\x84rger.txt", umlautPath = dir.Str() + "\\" + umlaut;
    std::ofstream(dir.Path() / fs::u8path(umlaut)) << "x";
    fs::create_directory(dir / "folder");
    Kinds expected = {{umlaut, EntryKind::File}, {"folder", EntryKind::Directory}};
    const DWORD link = // where the system makes a real link
        ::CreateSymbolicLinkA((dir / "link").c_str(), (dir / "folder").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)
            ? ::GetFileAttributesA((dir / "link").c_str())
            : INVALID_FILE_ATTRIBUTES;
    if (link != INVALID_FILE_ATTRIBUTES && (link & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        expected.emplace("link", EntryKind::DirectoryLink);
    for (const std::string& folder : {dir.Str(), dir.Str() + "\\", dir / "missing", umlautPath}) {
        Kinds listed;
        const bool ok = platform::EnumerateDirectory(
            folder, [&](const platform::DirEntry& e) { listed.emplace(std::string(e.name), e.kind); });
        const bool isFolder = folder.starts_with(dir.Str()) && folder.size() <= dir.Str().size() + 1;
        EXPECT_EQ(ok, isFolder) << folder;
        EXPECT_EQ(listed, isFolder ? expected : Kinds{}) << folder;
    }
    EXPECT_EQ(platform::FileSize(umlautPath), 1); // the UTF-8 name reaches the same file
}

TEST(FileWin32, RenameOverAnOpenDestinationIsRefused) {
    test::TempDir dir;
    const auto dest = dir / "dest.txt";
    test::WriteFile(dest, "old");
    test::WriteFile(dir / "new", "new");
    std::error_code ec;
    {
        auto reader = platform::File::OpenRead(dest, ec);
        ASSERT_TRUE(reader.has_value());
        EXPECT_FALSE(platform::RenameReplace(dir / "new", dest, ec));
        EXPECT_EQ(ec, std::errc::permission_denied);
    }
    EXPECT_EQ(test::ReadFile(dest), "old");
    ASSERT_TRUE(platform::RenameReplace(dir / "new", dest, ec)) << platform::ErrorDescription(ec);
    EXPECT_EQ(test::Names(dir.Path()), std::vector<std::string>{"dest.txt"});
}

} // namespace
} // namespace vaultwing
