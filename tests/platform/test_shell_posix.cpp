// The freedesktop shell integration: the file-type association, the file managers' "Vaultwing"
// context-menu entries and opening documents, all written under a temporary XDG_DATA_HOME.
#include "platform/platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;

using test::ScopedEnv;

std::string ShellQuote(const std::string& text) {
    std::string q = "'";
    for (const char c : text)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The NUL-terminated strings `printf '%s\0'` wrote.
std::vector<std::string> SplitNul(const std::string& out) {
    std::vector<std::string> parts;
    for (std::size_t start = 0; start < out.size();) {
        const auto nul = out.find('\0', start);
        parts.push_back(out.substr(start, nul - start));
        start = nul + 1;
    }
    return parts;
}

// The shell, as an independent reader of quoting: runs `words` (shell syntax) through printf
// and returns each resulting argument.
std::vector<std::string> ShellSplit(const std::string& words) {
    FILE* pipe = ::popen(("/bin/sh -c " + ShellQuote("printf '%s\\0' " + words)).c_str(), "r");
    if (pipe == nullptr) return {};
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    return SplitNul(out);
}

// A desktop entry's groups and keys, string escapes undone.
using DesktopFile = std::map<std::string, std::map<std::string, std::string>>;

DesktopFile ParseDesktopFile(const std::string& text) {
    DesktopFile groups;
    std::string group;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty() || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            group = line.substr(1, line.size() - 2);
            continue;
        }
        const auto eq = line.find('=');
        std::string value;
        for (std::size_t i = eq + 1; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) {
                const char e = line[++i];
                value += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e == 's' ? ' ' : e;
            } else {
                value += line[i];
            }
        }
        groups[group][line.substr(0, eq)] = value;
    }
    return groups;
}

// The program an Exec value starts, read the way the Desktop Entry rules say: a trailing %F
// field code, "%%" for a literal percent sign, then shell-style double quoting.
std::optional<std::string> ExecProgram(const std::string& exec) {
    constexpr std::string_view kField = " %F";
    if (exec.size() < kField.size() || exec.compare(exec.size() - kField.size(), kField.size(), kField) != 0)
        return std::nullopt;
    std::string words;
    const std::string head = exec.substr(0, exec.size() - kField.size());
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (head[i] == '%') {
            if (i + 1 >= head.size() || head[i + 1] != '%') return std::nullopt; // a stray field code
            ++i;
        }
        words += head[i];
    }
    const auto args = ShellSplit(words);
    if (args.size() != 1) return std::nullopt;
    return args[0];
}

bool IsExecutable(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IXUSR) != 0;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
        names.insert(e.path().filename().string());
    return names;
}

class ShellIntegration : public ::testing::Test {
protected:
    test::TempDir data;
    ScopedEnv xdg{"XDG_DATA_HOME", data.Str().c_str()};

    [[nodiscard]] std::string MimePackage() const { return data / "mime/packages/vaultwing-vwx.xml"; }
    [[nodiscard]] std::string AssociationEntry() const { return data / "applications/vaultwing-vwx.desktop"; }
    [[nodiscard]] std::string NautilusScript() const { return data / "nautilus/scripts/Vaultwing"; }
    [[nodiscard]] std::string ServiceMenu() const { return data / "kio/servicemenus/vaultwing.desktop"; }
};

// Program folders whose quoting goes wrong in one way or another if done carelessly.
const char* const kAwkwardFolders[] = {
    "plain",
    "with space",
    "it's \"quoted\"",
    "dollar $HOME and `tick`",
    "back\\slash",
    "100% done %F",
    "semi;colon & pipe | star * (paren) <angle> #hash ~tilde",
    "tab\there",
};

TEST_F(ShellIntegration, FileTypeAssociationWritesMimePackageAndHandler) {
    test::TempDir programs;
    const std::string folder = programs / "Vault Tools";
    fs::create_directory(folder);
    test::WriteFile(folder + "/VWX_icon.ico", "ico");

    platform::RegisterFileType("vwx", folder + "/", "VWX", "VWX File & <more>", folder + "/VWX_icon.ico");

    const std::string package = test::ReadFile(MimePackage());
    EXPECT_NE(package.find("<mime-type type=\"application/x-vaultwing\">"), std::string::npos) << package;
    EXPECT_NE(package.find("<glob pattern=\"*.vwx\"/>"), std::string::npos) << package;
    EXPECT_NE(package.find("<comment>VWX File &amp; &lt;more&gt;</comment>"), std::string::npos) << package;

    const auto entry = ParseDesktopFile(test::ReadFile(AssociationEntry()));
    ASSERT_EQ(entry.count("Desktop Entry"), 1u);
    auto keys = entry.at("Desktop Entry");
    EXPECT_EQ(keys["Type"], "Application");
    EXPECT_EQ(keys["Name"], "Vaultwing");
    EXPECT_EQ(keys["MimeType"], "application/x-vaultwing;");
    EXPECT_EQ(keys["NoDisplay"], "true");
    EXPECT_EQ(keys["Terminal"], "false");
    EXPECT_EQ(keys["Icon"], folder + "/VWX_icon.ico"); // no PNG beside it: the given file
    // Exactly one separator between folder and program, however the folder was given.
    EXPECT_EQ(ExecProgram(keys["Exec"]), folder + "/VWX");

    // A PNG beside the Windows icon is what desktops show best.
    test::WriteFile(folder + "/VWX_icon.png", "png");
    platform::RegisterFileType("vwx", folder, "VWX", "VWX File", folder + "/VWX_icon.ico");
    keys = ParseDesktopFile(test::ReadFile(AssociationEntry())).at("Desktop Entry");
    EXPECT_EQ(keys["Icon"], folder + "/VWX_icon.png");
    EXPECT_EQ(ExecProgram(keys["Exec"]), folder + "/VWX");
    EXPECT_EQ(Names(data.Path() / "applications").count("vaultwing-vwx.desktop"), 1u);

    platform::UnregisterFileType("vwx");
    EXPECT_FALSE(fs::exists(MimePackage()));
    EXPECT_FALSE(fs::exists(AssociationEntry()));
    platform::UnregisterFileType("vwx"); // nothing registered: nothing to do, no harm
}

TEST_F(ShellIntegration, ExecLinesQuoteAwkwardProgramFolders) {
    test::TempDir programs;
    for (const char* name : kAwkwardFolders) {
        SCOPED_TRACE(name);
        const std::string folder = programs / name;
        platform::RegisterFileType("vwx", folder, "VWX", "VWX File", "");
        const auto keys = ParseDesktopFile(test::ReadFile(AssociationEntry())).at("Desktop Entry");
        EXPECT_EQ(ExecProgram(keys.at("Exec")), folder + "/VWX") << keys.at("Exec");
        EXPECT_EQ(keys.count("Icon"), 0u);

        ASSERT_TRUE(platform::CreateSendToShortcut(folder));
        const auto menu = ParseDesktopFile(test::ReadFile(ServiceMenu()));
        ASSERT_EQ(menu.count("Desktop Action vaultwing"), 1u);
        EXPECT_EQ(ExecProgram(menu.at("Desktop Action vaultwing").at("Exec")), folder + "/VWX");
    }
}

TEST_F(ShellIntegration, UnsafeExtensionsWriteNothing) {
    for (const char* ext : {"", "../evil", "a b", "x\"y", "vwx/"}) {
        platform::RegisterFileType(ext, "/opt/vaultwing", "VWX", "VWX File", "");
        EXPECT_TRUE(Names(data.Path()).empty()) << ext;
        platform::UnregisterFileType(ext);
    }
}

TEST_F(ShellIntegration, SendToEntriesForFilesAndFolders) {
    test::TempDir programs;
    ASSERT_TRUE(platform::CreateSendToShortcut(programs.Str() + "/"));

    EXPECT_TRUE(IsExecutable(NautilusScript()));
    EXPECT_TRUE(IsExecutable(ServiceMenu())); // KDE ignores service menus that are not
    const auto menu = ParseDesktopFile(test::ReadFile(ServiceMenu()));
    ASSERT_EQ(menu.count("Desktop Entry"), 1u);
    const auto& keys = menu.at("Desktop Entry");
    EXPECT_EQ(keys.at("Type"), "Service");
    EXPECT_EQ(keys.at("X-KDE-ServiceTypes"), "KonqPopupMenu/Plugin");
    EXPECT_NE(keys.at("MimeType").find("all/allfiles;"), std::string::npos);
    EXPECT_NE(keys.at("MimeType").find("inode/directory;"), std::string::npos);
    EXPECT_EQ(keys.at("Actions"), "vaultwing;");
    EXPECT_EQ(menu.at("Desktop Action vaultwing").at("Name"), "Vaultwing");
    EXPECT_EQ(ExecProgram(menu.at("Desktop Action vaultwing").at("Exec")), programs.Str() + "/VWX");
}

// The Nautilus script really run, against a stand-in VWX that records its arguments.
TEST_F(ShellIntegration, NautilusScriptHandsEverySelectedPathOverAsOneArgument) {
    test::TempDir programs;
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
        test::WriteFile(folder + "/VWX", "#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$VWX_TEST_RECORD\"\n");
        fs::permissions(folder + "/VWX", fs::perms::owner_all);
        fs::remove(record);

        ASSERT_TRUE(platform::CreateSendToShortcut(folder));
        ASSERT_EQ(std::system(("'" + NautilusScript() + "'").c_str()), 0);

        EXPECT_EQ(SplitNul(test::ReadFile(record)), selection);
    }
}

TEST_F(ShellIntegration, TickUntickTickLeavesExactlyOneOfEach) {
    test::TempDir programs;
    ASSERT_TRUE(platform::CreateSendToShortcut(programs / "old"));
    platform::RemoveSendToShortcut();
    EXPECT_FALSE(fs::exists(NautilusScript()));
    EXPECT_FALSE(fs::exists(ServiceMenu()));
    platform::RemoveSendToShortcut(); // nothing there: nothing happens

    ASSERT_TRUE(platform::CreateSendToShortcut(programs / "old"));
    ASSERT_TRUE(platform::CreateSendToShortcut(programs / "new")); // written again at every start
    EXPECT_EQ(Names(data.Path() / "nautilus/scripts"), std::set<std::string>{"Vaultwing"});
    EXPECT_EQ(Names(data.Path() / "kio/servicemenus"), std::set<std::string>{"vaultwing.desktop"});
    EXPECT_NE(test::ReadFile(NautilusScript()).find(programs / "new/VWX"), std::string::npos);
    EXPECT_EQ(test::ReadFile(NautilusScript()).find(programs / "old/VWX"), std::string::npos);

    platform::RegisterFileType("vwx", programs.Str(), "VWX", "VWX File", "");
    platform::UnregisterFileType("vwx");
    platform::RegisterFileType("vwx", programs.Str(), "VWX", "VWX File", "");
    EXPECT_EQ(Names(data.Path() / "applications").count("vaultwing-vwx.desktop"), 1u);
    EXPECT_EQ(Names(data.Path() / "mime/packages"), std::set<std::string>{"vaultwing-vwx.xml"});
}

TEST_F(ShellIntegration, SendToFailsWhenItsFoldersCannotBeMade) {
    test::WriteFile(data / "nautilus", "a file where the folder belongs");
    EXPECT_FALSE(platform::CreateSendToShortcut("/opt/vaultwing"));
    EXPECT_FALSE(platform::CreateSendToShortcut(""));
}

struct DataHomeCase {
    const char* name;
    bool xdgSet;
    const char* xdgValue; // "ABS": a folder inside the temporary home, given absolute
    const char* expectedBelowHome;
};

class DataHomeChoice : public ::testing::TestWithParam<DataHomeCase> {};

TEST_P(DataHomeChoice, WritesWhereTheBaseDirectoryRulesSay) {
    const auto& c = GetParam();
    test::TempDir home;
    ScopedEnv homeEnv("HOME", home.Str().c_str());
    const std::string value = std::string(c.xdgValue) == "ABS" ? home / "custom" : std::string(c.xdgValue);
    ScopedEnv xdg("XDG_DATA_HOME", c.xdgSet ? value.c_str() : nullptr);
    ASSERT_TRUE(platform::CreateSendToShortcut("/opt/vaultwing"));
    EXPECT_TRUE(fs::exists(home / (std::string(c.expectedBelowHome) + "/nautilus/scripts/Vaultwing")));
    platform::RemoveSendToShortcut();
    EXPECT_FALSE(fs::exists(home / (std::string(c.expectedBelowHome) + "/nautilus/scripts/Vaultwing")));
}

INSTANTIATE_TEST_SUITE_P(Table, DataHomeChoice,
                         ::testing::Values(DataHomeCase{"Unset", false, "", ".local/share"},
                                           DataHomeCase{"Empty", true, "", ".local/share"},
                                           DataHomeCase{"Relative", true, "relative/share", ".local/share"},
                                           DataHomeCase{"Absolute", true, "ABS", "custom"}),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

// With shared-mime-info installed, the desktop really maps *.vwx to our type afterwards.
TEST_F(ShellIntegration, MimeDatabaseMapsVwxFilesToOurType) {
    if (std::system("command -v update-mime-database >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "update-mime-database is not installed";
    platform::RegisterFileType("vwx", "/opt/vaultwing", "VWX", "VWX File", "");
    const std::string globs = test::ReadFile(data / "mime/globs2");
    EXPECT_NE(globs.find(":application/x-vaultwing:*.vwx"), std::string::npos) << globs;

    if (std::system("command -v xdg-mime >/dev/null 2>&1") == 0) {
        const std::string file = data / "sample.vwx";
        test::WriteFile(file, std::string(64, '\x5a'));
        FILE* pipe = ::popen(("xdg-mime query filetype '" + file + "'").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char buffer[256] = {};
        const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, pipe);
        ::pclose(pipe);
        EXPECT_EQ(std::string(buffer, n).substr(0, 23), "application/x-vaultwing");
    }

    platform::UnregisterFileType("vwx");
    EXPECT_EQ(test::ReadFile(data / "mime/globs2").find("application/x-vaultwing"), std::string::npos);
}

TEST(OpenDocument, StartsXdgOpenWithTheDocumentWithoutAShell) {
    test::TempDir bin;
    const std::string record = bin / "opened";
    test::WriteFile(bin / "xdg-open", "#!/bin/sh\nprintf '%s\\0' \"$@\" > " + ShellQuote(record + ".tmp") + "\nmv " +
                                          ShellQuote(record + ".tmp") + " " + ShellQuote(record) + "\n");
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    const std::string document = "/home/u/Bedienungs anleitung's $(touch pwned).pdf";
    {
        // The stand-in needs sh, printf and mv from the system folders.
        ScopedEnv path("PATH", (bin.Str() + ":/usr/bin:/bin").c_str());
        ASSERT_TRUE(platform::OpenDocument(document));
    }
    // The viewer runs detached; give it a moment to record what it got.
    for (int i = 0; i < 500 && !fs::exists(record); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(test::ReadFile(record), document + std::string(1, '\0'));
    EXPECT_FALSE(fs::exists("pwned"));
}

TEST(OpenDocument, FalseWhenNothingCanBeStarted) {
    test::TempDir empty;
    ScopedEnv path("PATH", empty.Str().c_str());
    EXPECT_FALSE(platform::OpenDocument("/tmp/manual.pdf"));
    test::WriteFile(empty / "xdg-open", "not executable");
    EXPECT_FALSE(platform::OpenDocument("/tmp/manual.pdf"));
    EXPECT_FALSE(platform::OpenDocument(""));
}

} // namespace
} // namespace vaultwing
