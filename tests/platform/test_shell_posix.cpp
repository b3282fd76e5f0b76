// The freedesktop shell integration: association, context-menu entries, opening documents.
#include "platform/platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;
using namespace test;
using Strings = std::vector<std::string>;

std::string ShellQuote(const std::string& text) {
    std::string q = "'";
    for (const char c : text)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// A stand-in program that writes its arguments, each ending in a NUL, to `record`.
void WriteRecorder(const std::string& path, const std::string& record) {
    WriteFile(path, "#!/bin/sh\nprintf '%s\\0' \"$@\" > " + ShellQuote(record) + ".tmp && mv " + ShellQuote(record) +
                        ".tmp " + ShellQuote(record) + "\n");
    fs::permissions(path, fs::perms::owner_all);
}

Strings Recorded(const std::string& record) {
    const std::string out = ReadFile(record);
    Strings parts;
    for (std::size_t start = 0, nul; (nul = out.find('\0', start)) != std::string::npos; start = nul + 1)
        parts.push_back(out.substr(start, nul - start));
    return parts;
}

// Runs a desktop entry's Exec value on one file: escapes undone, a trailing %F, "%%", shell quoting.
int RunExec(const std::string& desktopFile, const std::string& selected) {
    std::string line, exec;
    for (std::istringstream in(ReadFile(desktopFile)); std::getline(in, line);)
        for (std::size_t i = 5; line.starts_with("Exec=") && i < line.size(); ++i) {
            const char e = line[i] == '\\' && i + 1 < line.size() ? line[++i] : '\0';
            exec += e == '\0' ? line[i] : e == 'n' ? '\n' : e == 't' ? '\t' : e == 's' ? ' ' : e;
        }
    if (!exec.ends_with(" %F")) return -1;
    std::string command;
    for (std::size_t i = 0; i + 3 < exec.size(); ++i) {
        if (exec[i] == '%' && exec[++i] != '%') return -1; // a stray field code
        command += exec[i];
    }
    return std::system((command + " " + ShellQuote(selected)).c_str());
}

// Under a fresh XDG_DATA_HOME: the association's files, unsafe extensions refused, and for
// awkward program folders both Exec lines and the Nautilus script starting the program in it
// on every selected path whole; everything gone again when unregistered.
TEST(ShellIntegration, AssociationAndContextMenuEntries) {
    TempDir data, programs;
    ScopedEnv xdg{"XDG_DATA_HOME", data.Str().c_str()};
    platform::RegisterFileType("vwx", "/opt/vault", "VWX", "VWX File & <more>", "");
    const std::string package = ReadFile(data / "mime/packages/vaultwing-vwx.xml");
    EXPECT_NE(package.find("<glob pattern=\"*.vwx\"/>"), std::string::npos) << package;
    EXPECT_NE(package.find("<comment>VWX File &amp; &lt;more&gt;</comment>"), std::string::npos) << package;
    for (const char* unsafe : {"", "../evil", "a b", "x\"y", "vwx/"})
        platform::RegisterFileType(unsafe, "/opt/vaultwing", "VWX", "VWX File", "");

    const Strings selection = {"/u/My Files/a.pdf", "/t/it's \"odd\"", "/t/*", "/$HOME/`date`/b\\s", " x ", "x\n.."};
    std::string script = ShellQuote(data / "nautilus/scripts/Vaultwing"), selected; // Nautilus gives both
    for (const auto& p : selection) {
        script += " " + ShellQuote(p);
        selected += p + "\n";
    }
    ScopedEnv nautilus("NAUTILUS_SCRIPT_SELECTED_FILE_PATHS", selected.c_str());
    for (const char* name : {"with space", "it's \"quoted\"", "dollar $HOME and `tick`", "back\\slash", "100% done %F",
                             "semi;colon & pipe | star * (paren) <angle> #hash ~tilde", "tab\there"}) {
        SCOPED_TRACE(name);
        const std::string folder = programs / name, record = folder + "/args";
        fs::create_directories(folder);
        WriteRecorder(folder + "/VWX", record);
        platform::RegisterFileType("vwx", folder + "/", "VWX", "VWX File", "");
        ASSERT_TRUE(platform::CreateSendToShortcut(folder));
        for (const char* entry : {"applications/vaultwing-vwx.desktop", "kio/servicemenus/vaultwing.desktop"}) {
            ASSERT_EQ(RunExec(data / entry, selection[1]), 0) << entry;
            EXPECT_EQ(Recorded(record), Strings{selection[1]});
        }
        ASSERT_EQ(std::system(script.c_str()), 0);
        EXPECT_EQ(Recorded(record), selection);
    }
    EXPECT_EQ(::access((data / "kio/servicemenus/vaultwing.desktop").c_str(), X_OK), 0); // or KDE ignores it
    platform::UnregisterFileType("vwx");
    platform::RemoveSendToShortcut();
    for (const char* folder : {"applications", "mime/packages", "nautilus/scripts", "kio/servicemenus"}) {
        Strings left = Names(data / folder);
        std::erase(left, "mimeinfo.cache"); // update-desktop-database's index, where it is installed
        EXPECT_EQ(left, Strings{}) << folder;
    }
    ScopedEnv relative("XDG_DATA_HOME", "relative/share"), home("HOME", data.Str().c_str()); // means ~/.local/share
    ASSERT_TRUE(platform::CreateSendToShortcut("/opt/vaultwing"));
    EXPECT_TRUE(fs::exists(data / ".local/share/nautilus/scripts/Vaultwing"));
}

TEST(OpenDocument, StartsXdgOpenWithTheDocumentWithoutAShell) {
    TempDir bin;
    WriteRecorder(bin / "xdg-open", bin / "opened");
    const std::string document = "/home/u/Bedienungs anleitung's $(touch pwned).pdf";
    {
        ScopedEnv path("PATH", (bin.Str() + ":/usr/bin:/bin").c_str()); // the stand-in needs sh and mv
        ASSERT_TRUE(platform::OpenDocument(document));
    }
    for (int i = 0; i < 500 && !fs::exists(bin / "opened"); ++i) // the viewer runs detached
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(Recorded(bin / "opened"), Strings{document});
    EXPECT_FALSE(fs::exists("pwned"));
    ScopedEnv path("PATH", (bin.Str() + "/nothing").c_str());
    EXPECT_FALSE(platform::OpenDocument("/tmp/manual.pdf"));
}

} // namespace
} // namespace vaultwing
