// The Win32 file primitives: the in-use test, destroying sources, enumeration, durable writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "files/FileInUse.h"
#include "files/SourceFiles.h"
#include "platform/platform.h"
#include "support/TempDir.h"
#include "win32/HoldingProcess.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;
using platform::EntryKind;

constexpr const char* kContents = "the only copy";

class HeldByAnotherProcess : public ::testing::TestWithParam<const char*> {};

// Held without write sharing, the file is in use and stays whole; released, it is destroyed.
TEST_P(HeldByAnotherProcess, IsInUseAndStaysWholeUntilReleased) {
    test::TempDir dir;
    const auto file = dir / "source.txt";
    test::WriteFile(file, kContents);
    test::WinHoldingProcess holder(file, GetParam());
    ASSERT_TRUE(holder.Holding());
    EXPECT_TRUE(FileInUse(file));
    EXPECT_FALSE(DestroyFile(file));

    holder.Stop();
    EXPECT_EQ(test::ReadFile(file), kContents); // not even truncated
    EXPECT_FALSE(FileInUse(file));
    EXPECT_TRUE(DestroyFile(file));
    EXPECT_FALSE(fs::exists(file));
}

INSTANTIATE_TEST_SUITE_P(Holds, HeldByAnotherProcess, ::testing::Values("exclusive", "read", "readshared"));

// A folder stands for every path the exclusive open refuses for another reason than sharing
// (access denied): none of them is "in use". Only a writable plain file with one name goes.
TEST(DestroyFileWin32, OnlyAWritableSingleNamedFileGoes) {
    test::TempDir dir;
    const auto file = dir / "readonly.txt";
    test::WriteFile(file, kContents);
    ASSERT_TRUE(::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    fs::create_directory(dir / "folder");
    for (const auto& path : {file, dir / "folder", dir / "missing", dir / "missing-folder\\x", std::string()}) {
        EXPECT_FALSE(FileInUse(path)) << path;
        EXPECT_FALSE(DestroyFile(path)) << path;
    }
    EXPECT_EQ(test::ReadFile(file), kContents);
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_FALSE(fs::exists(dir / "missing")); // nothing created on the way

    int eventsRun = 0;
    EXPECT_TRUE(ClearReadOnly(file, [&] { ++eventsRun; }));
    EXPECT_EQ(eventsRun, 1);
    if (::CreateHardLinkA((dir / "other").c_str(), file.c_str(), nullptr)) {
        EXPECT_FALSE(DestroyFile(file)); // a second name keeps the file whole
        EXPECT_EQ(test::ReadFile(dir / "other"), kContents);
        fs::remove(dir / "other");
    }
    for (const std::string& contents : {std::string(kContents), std::string(), std::string(100000, 'x')}) {
        test::WriteFile(file, contents);
        EXPECT_TRUE(DestroyFile(file)) << contents.size() << " bytes";
        EXPECT_FALSE(fs::exists(file));
    }
}

std::map<std::string, EntryKind> List(const std::string& folder, bool* ok = nullptr) {
    std::map<std::string, EntryKind> entries;
    const bool listed = platform::EnumerateDirectory(
        folder, [&](const platform::DirEntry& e) { entries.emplace(std::string(e.name), e.kind); });
    if (ok != nullptr) *ok = listed;
    return entries;
}

TEST(EnumerateDirectoryWin32, KindsNamesInUtf8AndAttributes) {
    test::TempDir dir;
    const std::string umlaut = "\xC3\x84rger.txt"; // a name the Western ANSI code page holds
    test::WriteFile(dir / "file", "12345");
    std::ofstream(dir.Path() / fs::u8path(umlaut)) << "x"; // made through the wide name
    fs::create_directory(dir / "folder");
    std::map<std::string, EntryKind> expected = {
        {"file", EntryKind::File}, {umlaut, EntryKind::File}, {"folder", EntryKind::Directory}};
    // A link to a folder is reported as such and never followed, where the system can make one.
    const DWORD link =
        ::CreateSymbolicLinkA((dir / "link").c_str(), (dir / "folder").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)
            ? ::GetFileAttributesA((dir / "link").c_str())
            : INVALID_FILE_ATTRIBUTES;
    if (link != INVALID_FILE_ATTRIBUTES && (link & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        expected.emplace("link", EntryKind::DirectoryLink);
    bool ok = false;
    for (const std::string& folder : {dir.Str(), dir.Str() + "\\"}) {
        EXPECT_EQ(List(folder, &ok), expected) << folder;
        EXPECT_TRUE(ok);
    }
    for (const auto& notAFolder : {dir / "missing", dir / "file"}) {
        EXPECT_TRUE(List(notAFolder, &ok).empty());
        EXPECT_FALSE(ok);
    }
    EXPECT_EQ(platform::FileSize(dir.Str() + "\\" + umlaut), 1); // the UTF-8 name reaches the same file
    EXPECT_EQ(platform::FileSize(dir / "file"), 5);
    EXPECT_EQ(platform::FileSize(dir / "missing"), -1);
    EXPECT_NE(*platform::FileAttributes(dir.Str()) & platform::kAttrDirectory, 0u);
    EXPECT_TRUE(platform::SetReadOnly(dir / "file", true));
    EXPECT_NE(*platform::FileAttributes(dir / "file") & platform::kAttrReadOnly, 0u);
    EXPECT_TRUE(platform::SetReadOnly(dir / "file", false));
    EXPECT_EQ(*platform::FileAttributes(dir / "file") & platform::kAttrReadOnly, 0u);
    EXPECT_FALSE(platform::FileAttributes(dir / "missing").has_value());
    EXPECT_FALSE(platform::SetReadOnly(dir / "missing", true));
}

TEST(FileWin32, TemporaryBesideIsRenamedOverTheDestination) {
    test::TempDir dir;
    const auto dest = dir / "dest.txt";
    test::WriteFile(dest, "old");
    std::error_code ec;
    std::string tempPath;
    auto temp = platform::File::CreateTempBeside(dest, tempPath, ec);
    ASSERT_TRUE(temp.has_value()) << ec.message();
    EXPECT_EQ(fs::path(tempPath).parent_path(), dir.Path());
    EXPECT_TRUE(temp->Write("new contents", 12, ec));
    EXPECT_TRUE(temp->Sync(ec));
    EXPECT_EQ(temp->Size(ec), 12);
    temp->Close();
    {
        // While another handle has the destination open, Windows refuses to replace it.
        auto reader = platform::File::OpenRead(dest, ec);
        ASSERT_TRUE(reader.has_value());
        EXPECT_FALSE(platform::RenameReplace(tempPath, dest, ec));
        EXPECT_EQ(ec, std::errc::permission_denied);
    }
    EXPECT_EQ(test::ReadFile(dest), "old");
    ec.clear();
    ASSERT_TRUE(platform::RenameReplace(tempPath, dest, ec)) << platform::ErrorDescription(ec);
    EXPECT_EQ(test::ReadFile(dest), "new contents");
    EXPECT_EQ(test::Names(dir.Path()), std::vector<std::string>{"dest.txt"});
    EXPECT_EQ(platform::FileAttributes(dest).value_or(0) & platform::kAttrHidden, 0u);

    EXPECT_FALSE(platform::File::OpenRead(dir / "missing", ec).has_value());
    EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(platform::File::OpenRead(dir.Str(), ec).has_value());
    EXPECT_EQ(ec, std::errc::is_a_directory);
    const std::string text = platform::ErrorDescription(std::error_code(ERROR_ACCESS_DENIED, std::system_category()));
    ASSERT_FALSE(text.empty()); // the system's own words, as one sentence
    EXPECT_EQ(text.back(), '.');
    EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST(ProgramFolderWin32, ExecutableFolderUnlessOverridden) {
    char self[MAX_PATH] = {};
    const std::string exe(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
    ASSERT_EQ(_putenv_s("VAULTWING_HOME", ""), 0);
    EXPECT_EQ(platform::ProgramFolder(), exe.substr(0, exe.find_last_of('\\')));
    ASSERT_EQ(_putenv_s("VAULTWING_HOME", "C:\\Portable\\Vaultwing\\"), 0);
    EXPECT_EQ(platform::ProgramFolder(), "C:\\Portable\\Vaultwing");
    ASSERT_EQ(_putenv_s("VAULTWING_HOME", ""), 0);
}

} // namespace
} // namespace vaultwing
