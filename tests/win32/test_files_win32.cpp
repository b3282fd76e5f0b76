// The Win32 file primitives: the in-use test, destroying sources, enumeration, durable writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "files/SourceFiles.h"
#include "files/FileInUse.h"
#include "platform/platform.h"
#include "support/TempDir.h"
#include "win32/HoldingProcess.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;
using platform::EntryKind;

constexpr const char* kContents = "the only copy";

struct HoldCase {
    const char* name;
    const char* share;
};

class HeldByAnotherProcess : public ::testing::TestWithParam<HoldCase> {};

// Held without write sharing, the file is in use and stays whole; released, it is destroyed.
TEST_P(HeldByAnotherProcess, IsInUseAndStaysWholeUntilReleased) {
    test::TempDir dir;
    const auto file = dir / "source.txt";
    test::WriteFile(file, kContents);
    test::WinHoldingProcess holder(file, GetParam().share);
    ASSERT_TRUE(holder.Holding());

    EXPECT_TRUE(FileInUse(file));
    EXPECT_FALSE(DestroyFile(file));

    holder.Stop();
    EXPECT_EQ(test::ReadFile(file), kContents); // not even truncated
    EXPECT_FALSE(FileInUse(file));
    EXPECT_TRUE(DestroyFile(file));
    EXPECT_FALSE(fs::exists(file));
}

INSTANTIATE_TEST_SUITE_P(Holds, HeldByAnotherProcess,
                         ::testing::Values(HoldCase{"Exclusive", "exclusive"}, HoldCase{"ReadSharingOnly", "read"},
                                           HoldCase{"AllSharing", "readshared"}),
                         [](const auto& tc) { return std::string(tc.param.name); });

// A folder stands for every path the exclusive open refuses for another reason than sharing
// (access denied): none of them is "in use".
TEST(FileInUseWin32, FreeMissingAndFolderAreNotInUse) {
    test::TempDir dir;
    const auto file = dir / "free.txt";
    test::WriteFile(file, kContents);
    EXPECT_FALSE(FileInUse(file));
    EXPECT_FALSE(FileInUse(dir / "missing.txt"));
    EXPECT_FALSE(FileInUse(dir / "missing-folder\\x"));
    EXPECT_FALSE(FileInUse(dir.Str()));
    EXPECT_FALSE(FileInUse(""));
    EXPECT_EQ(test::ReadFile(file), kContents);
}

// A file that cannot be opened for another reason than sharing (here: one whose deletion is
// pending, which the system refuses to open) counts as free.
TEST(FileInUseWin32, UnreadableFileIsNotInUse) {
    test::TempDir dir;
    const auto file = dir / "pending.txt";
    test::WriteFile(file, kContents);
    const HANDLE keep =
        ::CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(keep, INVALID_HANDLE_VALUE);
    const HANDLE probe =
        ::CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, 0, nullptr);
    const DWORD error = ::GetLastError();
    if (probe != INVALID_HANDLE_VALUE) {
        ::CloseHandle(probe);
        ::CloseHandle(keep);
        GTEST_SKIP() << "this system opens files whose deletion is pending";
    }
    EXPECT_NE(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(FileInUse(file));
    ::CloseHandle(keep);
}

TEST(DestroyFileWin32, ReadOnlyFileStaysUntilClearReadOnly) {
    test::TempDir dir;
    const auto file = dir / "readonly.txt";
    test::WriteFile(file, kContents);
    ASSERT_TRUE(::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DestroyFile(file));
    EXPECT_EQ(test::ReadFile(file), kContents);

    int eventsRun = 0;
    EXPECT_TRUE(ClearReadOnly(file, [&] { ++eventsRun; }));
    EXPECT_EQ(eventsRun, 1);
    EXPECT_EQ(::GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(DestroyFile(file));
    EXPECT_FALSE(fs::exists(file));
}

TEST(DestroyFileWin32, RemovesFilesOfAnySizeAndLeavesFoldersAndMissingPaths) {
    test::TempDir dir;
    for (const std::string& contents : {std::string(kContents), std::string(), std::string(100000, 'x')}) {
        const auto file = dir / "source";
        test::WriteFile(file, contents);
        EXPECT_TRUE(DestroyFile(file)) << contents.size() << " bytes";
        EXPECT_FALSE(fs::exists(file));
    }
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(DestroyFile(dir / "folder"));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_FALSE(DestroyFile(dir / "missing"));
    EXPECT_FALSE(fs::exists(dir / "missing")); // nothing created on the way
}

TEST(DestroyFileWin32, SecondHardLinkKeepsTheFileWhole) {
    test::TempDir dir;
    const auto file = dir / "target";
    test::WriteFile(file, kContents);
    if (!::CreateHardLinkA((dir / "other").c_str(), file.c_str(), nullptr))
        GTEST_SKIP() << "no hard links on this file system";
    EXPECT_FALSE(DestroyFile(file));
    EXPECT_EQ(test::ReadFile(dir / "other"), kContents);
}

// ---------------------------------------------------------------------------------------------
// Attributes and enumeration
// ---------------------------------------------------------------------------------------------

std::map<std::string, EntryKind> List(const std::string& folder, bool* ok = nullptr) {
    std::map<std::string, EntryKind> entries;
    const bool listed = platform::EnumerateDirectory(
        folder, [&](const platform::DirEntry& e) { entries.emplace(std::string(e.name), e.kind); });
    if (ok != nullptr) *ok = listed;
    return entries;
}

TEST(EnumerateDirectoryWin32, KindsAndNamesInUtf8) {
    test::TempDir dir;
    const std::string umlaut = "\xC3\x84rger.txt"; // a name the Western ANSI code page holds
    test::WriteFile(dir / "file", "x");
    std::ofstream(dir.Path() / fs::u8path(umlaut)) << "x"; // made through the wide name
    fs::create_directory(dir / "folder");
    test::WriteFile(dir / "folder\\inner", "x");

    std::map<std::string, EntryKind> expected = {
        {"file", EntryKind::File}, {umlaut, EntryKind::File}, {"folder", EntryKind::Directory}};
    // A link to a folder is reported as such and never followed, where the system can make one.
    const DWORD made =
        ::CreateSymbolicLinkA((dir / "linkToFolder").c_str(), (dir / "folder").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)
            ? ::GetFileAttributesA((dir / "linkToFolder").c_str())
            : INVALID_FILE_ATTRIBUTES;
    if (made != INVALID_FILE_ATTRIBUTES && (made & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        expected.emplace("linkToFolder", EntryKind::DirectoryLink);

    for (const std::string& folder : {dir.Str(), dir.Str() + "\\"}) {
        bool ok = false;
        EXPECT_EQ(List(folder, &ok), expected) << folder;
        EXPECT_TRUE(ok);
    }
    // The UTF-8 name reaches the same file.
    const std::string umlautPath = dir.Str() + "\\" + umlaut;
    EXPECT_EQ(platform::FileSize(umlautPath), 1);
    EXPECT_TRUE(platform::FileAttributes(umlautPath).has_value());
}

TEST(EnumerateDirectoryWin32, EmptyMissingAndFileAreTold) {
    test::TempDir dir;
    bool ok = false;
    EXPECT_TRUE(List(dir.Str(), &ok).empty());
    EXPECT_TRUE(ok);
    EXPECT_TRUE(List(dir / "missing", &ok).empty());
    EXPECT_FALSE(ok);
    test::WriteFile(dir / "file", "x");
    EXPECT_TRUE(List(dir / "file", &ok).empty());
    EXPECT_FALSE(ok);
}

TEST(FileAttributesWin32, ReadOnlyDirectoryAndMissing) {
    test::TempDir dir;
    const auto file = dir / "f";
    test::WriteFile(file, "12345");
    ASSERT_TRUE(platform::FileAttributes(file).has_value());
    EXPECT_EQ(*platform::FileAttributes(file) & (platform::kAttrReadOnly | platform::kAttrDirectory), 0u);
    EXPECT_TRUE(platform::SetReadOnly(file, true));
    EXPECT_NE(*platform::FileAttributes(file) & platform::kAttrReadOnly, 0u);
    EXPECT_TRUE(platform::SetReadOnly(file, false));
    EXPECT_EQ(*platform::FileAttributes(file) & platform::kAttrReadOnly, 0u);
    EXPECT_NE(*platform::FileAttributes(dir.Str()) & platform::kAttrDirectory, 0u);
    EXPECT_EQ(platform::FileSize(file), 5);
    EXPECT_FALSE(platform::FileAttributes(dir / "missing").has_value());
    EXPECT_EQ(platform::FileSize(dir / "missing"), -1);
    EXPECT_FALSE(platform::SetReadOnly(dir / "missing", true));
}

// ---------------------------------------------------------------------------------------------
// Durable writes
// ---------------------------------------------------------------------------------------------

TEST(FileWin32, TemporaryBesideIsRenamedOverTheDestination) {
    test::TempDir dir;
    const auto dest = dir / "dest.txt";
    test::WriteFile(dest, "old");
    std::error_code ec;
    std::string tempPath;
    auto temp = platform::File::CreateTempBeside(dest, tempPath, ec);
    ASSERT_TRUE(temp.has_value()) << ec.message();
    EXPECT_EQ(fs::path(tempPath).parent_path(), dir.Path());
    EXPECT_NE(fs::path(tempPath).filename().string().front(), '.'); // not hidden
    EXPECT_TRUE(temp->Write("new contents", 12, ec));
    EXPECT_TRUE(temp->Sync(ec));
    EXPECT_EQ(temp->Size(ec), 12);
    temp->Close();
    // While another handle has the destination open, Windows refuses to replace it, and both
    // files stay as they were.
    {
        auto reader = platform::File::OpenRead(dest, ec);
        ASSERT_TRUE(reader.has_value());
        EXPECT_FALSE(platform::RenameReplace(tempPath, dest, ec));
        EXPECT_EQ(ec, std::errc::permission_denied);
    }
    EXPECT_EQ(test::ReadFile(dest), "old");
    ec.clear();
    ASSERT_TRUE(platform::RenameReplace(tempPath, dest, ec)) << platform::ErrorDescription(ec);
    EXPECT_EQ(test::ReadFile(dest), "new contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
    EXPECT_EQ(platform::FileAttributes(dest).value_or(0) & platform::kAttrHidden, 0u);
}

TEST(FileWin32, OpenReadFailuresCarryTheirCondition) {
    test::TempDir dir;
    std::error_code ec;
    EXPECT_FALSE(platform::File::OpenRead(dir / "missing", ec).has_value());
    EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
    ec.clear();
    EXPECT_FALSE(platform::File::OpenRead(dir.Str(), ec).has_value());
    EXPECT_EQ(ec, std::errc::is_a_directory);
    // The system's own words, as one sentence.
    for (const auto& e : {std::error_code(ERROR_ACCESS_DENIED, std::system_category()),
                          std::make_error_code(std::errc::no_such_file_or_directory)}) {
        const std::string text = platform::ErrorDescription(e);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.back(), '.');
        EXPECT_EQ(text.find('\r'), std::string::npos);
    }
}

TEST(ProgramFolderWin32, ExecutableFolderUnlessOverridden) {
    char self[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string exe(self, n);
    ASSERT_EQ(_putenv_s("VAULTWING_HOME", ""), 0);
    EXPECT_EQ(platform::ProgramFolder(), exe.substr(0, exe.find_last_of('\\')));
    ASSERT_EQ(_putenv_s("VAULTWING_HOME", "C:\\Portable\\Vaultwing\\"), 0);
    EXPECT_EQ(platform::ProgramFolder(), "C:\\Portable\\Vaultwing");
    ASSERT_EQ(_putenv_s("VAULTWING_HOME", ""), 0);
}

} // namespace
} // namespace vaultwing
