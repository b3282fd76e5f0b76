#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "files/SourceFiles.h"
#include "platform/platform.h"
#include "platform/win32/win32_text.h"
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
    EXPECT_TRUE(platform::FileInUse(file));
    EXPECT_FALSE(platform::DestroyFile(file));
    holder.Stop();
    EXPECT_EQ(test::ReadFile(file), "the only copy"); // not even truncated
    EXPECT_FALSE(platform::FileInUse(file));
    EXPECT_TRUE(platform::DestroyFile(file));
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
        EXPECT_FALSE(platform::FileInUse(path)) << path;
        EXPECT_FALSE(platform::DestroyFile(path)) << path;
    }
    EXPECT_EQ(test::ReadFile(file), "the only copy");
    EXPECT_TRUE(ClearReadOnly(file, [] {}));
    if (::CreateHardLinkA((dir / "other").c_str(), file.c_str(), nullptr)) {
        EXPECT_FALSE(platform::DestroyFile(file));
        fs::remove(dir / "other");
    }
    EXPECT_TRUE(platform::DestroyFile(file));
    EXPECT_FALSE(fs::exists(file));
}

// A link to a folder is reported as such and never followed.
TEST(EnumerateDirectoryWin32, Kinds) {
    test::TempDir dir;
    test::WriteFile(dir / "file.txt", "x");
    fs::create_directory(dir / "folder");
    Kinds expected = {{"file.txt", EntryKind::File}, {"folder", EntryKind::Directory}};
    const DWORD link = // where the system makes a real link
        ::CreateSymbolicLinkA((dir / "link").c_str(), (dir / "folder").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)
            ? ::GetFileAttributesA((dir / "link").c_str())
            : INVALID_FILE_ATTRIBUTES;
    if (link != INVALID_FILE_ATTRIBUTES && (link & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        expected.emplace("link", EntryKind::DirectoryLink);
    for (const std::string& folder : {dir.Str(), dir.Str() + "\\", dir / "missing", dir / "file.txt"}) {
        Kinds listed;
        const bool ok = platform::EnumerateDirectory(
            folder, [&](const platform::DirEntry& e) { listed.emplace(std::string(e.name), e.kind); });
        const bool isFolder = folder.starts_with(dir.Str()) && folder.size() <= dir.Str().size() + 1;
        EXPECT_EQ(ok, isFolder) << folder;
        EXPECT_EQ(listed, isFolder ? expected : Kinds{}) << folder;
    }
}

TEST(FileWin32, RenameOverAnOpenDestinationIsRefused) {
    test::TempDir dir;
    const auto dest = dir / "dest.txt";
    test::WriteFile(dest, "old");
    test::WriteFile(dir / "new", "new");
    {
        const platform::File reader = platform::File::OpenRead(dest);
        std::error_code ec;
        try {
            platform::RenameReplace(dir / "new", dest);
        } catch (const std::system_error& e) {
            ec = e.code();
        }
        EXPECT_EQ(ec, std::errc::permission_denied);
    }
    EXPECT_EQ(test::ReadFile(dest), "old");
    platform::RenameReplace(dir / "new", dest);
    EXPECT_EQ(test::Names(dir.Path()), std::vector<std::string>{"dest.txt"});
}

// Names outside the ANSI code page (one past MAX_PATH); std::filesystem sees the very same names.
TEST(UnicodeNames, MadeListedMarkedAndRemoved) {
    const std::string longFolders = "\\" + std::string(150, 'a') + "\\" + std::string(150, 'b');
    for (const auto& [name, folders] : {std::pair{"\xC3\x84rger \xE2\x82\xAC.txt", ""},
                                        {"\xE6\x96\x87\xE4\xBB\xB6", ""},
                                        {"\xF0\x9F\x98\x80.vwx", ""},
                                        {"\xE6\x96\x87.txt", longFolders.c_str()}}) {
        test::TempDir dir;
        const std::string folder = dir.Str() + folders, path = folder + "\\" + name;
        fs::create_directories(fs::u8path(folder));
        std::string temp;
        platform::File::CreateTempBeside(path, temp).Write("copy", 4);
        platform::RenameReplace(temp, path);
        EXPECT_TRUE(fs::is_regular_file(fs::u8path(path))) << path;
        std::vector<std::string> listed;
        EXPECT_TRUE(platform::EnumerateDirectory(folder, [&](const auto& e) { listed.emplace_back(e.name); }));
        EXPECT_EQ(listed, std::vector<std::string>{name});
        ASSERT_TRUE(platform::SetReadOnly(path, true));
        EXPECT_NE(platform::FileAttributes(path).value_or(0) & FILE_ATTRIBUTE_READONLY, 0u);
        ASSERT_TRUE(platform::SetReadOnly(path, false));
        EXPECT_TRUE(platform::DestroyFile(path));
        EXPECT_FALSE(fs::exists(fs::u8path(path)));
    }
}

// Past the plain form's limit a path is made full and prefixed ("\\?\UNC\" for a network path).
TEST(SystemPath, LongPathsGetThePrefix) {
    const std::string x(300, 'x');
    EXPECT_EQ(platform::win32::SystemPath("C:\\a/../" + x), L"\\\\?\\C:\\" + std::wstring(300, L'x'));
    EXPECT_EQ(platform::win32::SystemPath("\\\\srv\\s\\" + x), L"\\\\?\\UNC\\srv\\s\\" + std::wstring(300, L'x'));
    EXPECT_EQ(platform::win32::SystemPath("C:\\a/../b"), L"C:\\a/../b");
}

} // namespace
} // namespace vaultwing
