// The freedesktop shell integration: the file-type association, the file managers' "Vaultwing"
// context-menu entries and opening documents, all written under a temporary XDG_DATA_HOME.
#include "platform/platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;
using test::Names;
using test::ReadFile;
using test::ScopedEnv;
using test::WriteFile;

std::string ShellQuote(const std::string& text) {
    std::string q = "'";
    for (const char c : text)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The NUL-terminated strings `printf '%s\0'` wrote.
std::vector<std::string> SplitNul(const std::string& out) {
    std::vector<std::string> parts;
    for (std::size_t start = 0, nul; (nul = out.find('\0', start)) != std::string::npos; start = nul + 1)
        parts.push_back(out.substr(start, nul - start));
    return parts;
}

// The shell as an independent reader of quoting: the arguments `words` (shell syntax) give.
std::vector<std::string> ShellSplit(const std::string& words) {
    FILE* pipe = ::popen(("/bin/sh -c " + ShellQuote("printf '%s\\0' " + words)).c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    if (pipe != nullptr) ::pclose(pipe);
    return SplitNul(out);
}

// A desktop entry's values by "group/key", string escapes undone.
std::map<std::string, std::string> ParseDesktopFile(const std::string& text) {
    std::map<std::string, std::string> values;
    std::string group, line;
    for (std::istringstream in(text); std::getline(in, line);) {
        if (line.starts_with('[')) group = line.substr(1, line.size() - 2);
        const auto eq = line.find('=');
        if (line.starts_with('[') || line.starts_with('#') || eq == std::string::npos) continue;
        std::string value;
        for (std::size_t i = eq + 1; i < line.size(); ++i) {
            const char e = line[i] == '\\' && i + 1 < line.size() ? line[++i] : '\0';
            value += e == '\0' ? line[i] : e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e == 's' ? ' ' : e;
        }
        values[group + "/" + line.substr(0, eq)] = value;
    }
    return values;
}

// The program an Exec value starts, read as the Desktop Entry rules say: a trailing %F field
// code, "%%" for a literal percent sign, then shell-style double quoting.
std::optional<std::string> ExecProgram(const std::string& exec) {
    if (!exec.ends_with(" %F")) return std::nullopt;
    std::string words;
    for (std::size_t i = 0; i + 3 < exec.size(); ++i) {
        if (exec[i] == '%' && exec[++i] != '%') return std::nullopt; // a stray field code
        words += exec[i];
    }
    const auto args = ShellSplit(words);
    return args.size() == 1 ? std::optional(args[0]) : std::nullopt;
}

class ShellIntegration : public ::testing::Test {
protected:
    test::TempDir data, programs;
    ScopedEnv xdg{"XDG_DATA_HOME", data.Str().c_str()};
    const std::string association = data / "applications/vaultwing-vwx.desktop";
    const std::string nautilusScript = data / "nautilus/scripts/Vaultwing";
    const std::string serviceMenu = data / "kio/servicemenus/vaultwing.desktop";
};

// Program folders whose quoting goes wrong in one way or another if done carelessly.
const char* const kAwkwardFolders[] = {
    "with space",  "it's \"quoted\"", "dollar $HOME and `tick`",
    "back\\slash", "100% done %F",    "semi;colon & pipe | star * (paren) <angle> #hash ~tilde",
    "tab\there",
};

TEST_F(ShellIntegration, FileTypeAssociationWritesMimePackageAndHandler) {
    const std::string folder = programs / "Vault Tools";
    fs::create_directory(folder);
    platform::RegisterFileType("vwx", folder + "/", "VWX", "VWX File & <more>", folder + "/VWX_icon.ico");
    const std::string package = ReadFile(data / "mime/packages/vaultwing-vwx.xml");
    EXPECT_NE(package.find("<mime-type type=\"application/x-vaultwing\">"), std::string::npos) << package;
    EXPECT_NE(package.find("<glob pattern=\"*.vwx\"/>"), std::string::npos) << package;
    EXPECT_NE(package.find("<comment>VWX File &amp; &lt;more&gt;</comment>"), std::string::npos) << package;
    auto keys = ParseDesktopFile(ReadFile(association));
    EXPECT_EQ(keys["Desktop Entry/Type"], "Application");
    EXPECT_EQ(keys["Desktop Entry/MimeType"], "application/x-vaultwing;");
    EXPECT_EQ(keys["Desktop Entry/NoDisplay"], "true");
    EXPECT_EQ(keys["Desktop Entry/Icon"], folder + "/VWX_icon.ico");     // no PNG beside it: the given file
    EXPECT_EQ(ExecProgram(keys["Desktop Entry/Exec"]), folder + "/VWX"); // one separator, however given

    WriteFile(folder + "/VWX_icon.png", "png"); // what desktops show best
    platform::RegisterFileType("vwx", folder, "VWX", "VWX File", folder + "/VWX_icon.ico");
    EXPECT_EQ(ParseDesktopFile(ReadFile(association))["Desktop Entry/Icon"], folder + "/VWX_icon.png");

    platform::UnregisterFileType("vwx");
    EXPECT_EQ(Names(data / "applications"), std::vector<std::string>{});
    EXPECT_EQ(Names(data / "mime/packages"), std::vector<std::string>{});
}

TEST_F(ShellIntegration, UnsafeExtensionsWriteNothing) {
    for (const char* unsafe : {"", "../evil", "a b", "x\"y", "vwx/"}) {
        platform::RegisterFileType(unsafe, "/opt/vaultwing", "VWX", "VWX File", "");
        EXPECT_EQ(Names(data.Path()), std::vector<std::string>{}) << unsafe;
    }
}

TEST_F(ShellIntegration, SendToEntriesForFilesAndFoldersReplaceEachOther) {
    ASSERT_TRUE(platform::CreateSendToShortcut(programs / "old"));
    ASSERT_TRUE(platform::CreateSendToShortcut(programs.Str() + "/")); // written again at every start
    EXPECT_EQ(::access(nautilusScript.c_str(), X_OK), 0);
    EXPECT_EQ(::access(serviceMenu.c_str(), X_OK), 0); // KDE ignores service menus that are not
    EXPECT_EQ(ReadFile(nautilusScript).find(programs / "old"), std::string::npos);
    auto keys = ParseDesktopFile(ReadFile(serviceMenu));
    EXPECT_EQ(keys["Desktop Entry/X-KDE-ServiceTypes"], "KonqPopupMenu/Plugin");
    EXPECT_NE(keys["Desktop Entry/MimeType"].find("all/allfiles;"), std::string::npos);
    EXPECT_NE(keys["Desktop Entry/MimeType"].find("inode/directory;"), std::string::npos);
    EXPECT_EQ(keys["Desktop Entry/Actions"], "vaultwing;");
    EXPECT_EQ(ExecProgram(keys["Desktop Action vaultwing/Exec"]), programs / "VWX");

    platform::RemoveSendToShortcut();
    EXPECT_EQ(Names(data / "nautilus/scripts"), std::vector<std::string>{});
    EXPECT_EQ(Names(data / "kio/servicemenus"), std::vector<std::string>{});
    test::TempDir blocked;
    WriteFile(blocked / "nautilus", "a file where the folder belongs");
    ScopedEnv xdgBlocked("XDG_DATA_HOME", blocked.Str().c_str());
    EXPECT_FALSE(platform::CreateSendToShortcut("/opt/vaultwing"));
}

// Both Exec lines name the program whatever its folder, and the Nautilus script, really run
// against a stand-in VWX that records its arguments, hands over every selected path whole.
TEST_F(ShellIntegration, AwkwardProgramFoldersAndSelectedPathsSurviveQuoting) {
    const std::string record = programs / "args";
    ScopedEnv recordEnv("VWX_TEST_RECORD", record.c_str());
    const std::vector<std::string> selection = {"/home/u/My Files/report 2024.pdf", "/tmp/it's \"odd\"", "/tmp/*",
                                                "/srv/$HOME/`date`/back\\slash", "/x/ lead and trail "};
    std::string selected;
    for (const auto& p : selection)
        selected += p + "\n"; // Nautilus ends every path with a newline
    ScopedEnv nautilus("NAUTILUS_SCRIPT_SELECTED_FILE_PATHS", selected.c_str());
    for (const char* name : kAwkwardFolders) {
        SCOPED_TRACE(name);
        const std::string folder = programs / name;
        fs::create_directories(folder);
        WriteFile(folder + "/VWX", "#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$VWX_TEST_RECORD\"\n");
        fs::permissions(folder + "/VWX", fs::perms::owner_all);
        platform::RegisterFileType("vwx", folder, "VWX", "VWX File", "");
        EXPECT_EQ(ExecProgram(ParseDesktopFile(ReadFile(association))["Desktop Entry/Exec"]), folder + "/VWX");
        ASSERT_TRUE(platform::CreateSendToShortcut(folder));
        EXPECT_EQ(ExecProgram(ParseDesktopFile(ReadFile(serviceMenu))["Desktop Action vaultwing/Exec"]),
                  folder + "/VWX");
        ASSERT_EQ(std::system(ShellQuote(nautilusScript).c_str()), 0);
        EXPECT_EQ(SplitNul(ReadFile(record)), selection);
    }
}

TEST(SendToShortcut, DataHomeFollowsTheBaseDirectoryRules) {
    test::TempDir home;
    ScopedEnv homeEnv("HOME", home.Str().c_str());
    const std::string custom = home / "custom";
    const std::pair<const char*, std::string> cases[] = {{nullptr, ".local/share"},
                                                         {"", ".local/share"},
                                                         {"relative/share", ".local/share"},
                                                         {custom.c_str(), "custom"}};
    for (const auto& [value, below] : cases) {
        ScopedEnv xdg("XDG_DATA_HOME", value);
        ASSERT_TRUE(platform::CreateSendToShortcut("/opt/vaultwing"));
        EXPECT_TRUE(fs::exists(home / (below + "/nautilus/scripts/Vaultwing"))) << (value ? value : "unset");
        platform::RemoveSendToShortcut();
        EXPECT_FALSE(fs::exists(home / (below + "/nautilus/scripts/Vaultwing"))) << (value ? value : "unset");
    }
}

// With shared-mime-info installed, the desktop really maps *.vwx to our type afterwards.
TEST_F(ShellIntegration, MimeDatabaseMapsVwxFilesToOurType) {
    if (std::system("command -v update-mime-database >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "update-mime-database is not installed";
    platform::RegisterFileType("vwx", "/opt/vaultwing", "VWX", "VWX File", "");
    EXPECT_NE(ReadFile(data / "mime/globs2").find(":application/x-vaultwing:*.vwx"), std::string::npos);
    platform::UnregisterFileType("vwx");
    EXPECT_EQ(ReadFile(data / "mime/globs2").find("application/x-vaultwing"), std::string::npos);
}

TEST(OpenDocument, StartsXdgOpenWithTheDocumentWithoutAShell) {
    test::TempDir bin;
    const std::string record = bin / "opened";
    WriteFile(bin / "xdg-open", "#!/bin/sh\nprintf '%s\\0' \"$@\" > " + ShellQuote(record + ".tmp") + "\nmv " +
                                    ShellQuote(record + ".tmp") + " " + ShellQuote(record) + "\n");
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    const std::string document = "/home/u/Bedienungs anleitung's $(touch pwned).pdf";
    {
        ScopedEnv path("PATH", (bin.Str() + ":/usr/bin:/bin").c_str()); // the stand-in needs sh and mv
        ASSERT_TRUE(platform::OpenDocument(document));
    }
    for (int i = 0; i < 500 && !fs::exists(record); ++i) // the viewer runs detached
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadFile(record), document + std::string(1, '\0'));
    EXPECT_FALSE(fs::exists("pwned"));

    ScopedEnv path("PATH", (bin.Str() + "/nothing").c_str());
    EXPECT_FALSE(platform::OpenDocument("/tmp/manual.pdf"));
}

} // namespace
} // namespace vaultwing
