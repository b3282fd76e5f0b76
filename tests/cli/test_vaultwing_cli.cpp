// End to end through the built `vaultwing` program.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

#include "support/CliRunner.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

class Cli : public ::testing::Test {
protected:
    Cli() {
        for (const char* lang : {"English.lng", "Deutsch.lng"})
            fs::copy_file(fs::path(VAULTWING_LANG_DIR) / lang, home.Path() / lang);
        WriteFile(home / "pw", "correct-horse-1\n");
    }
    CliOutcome Run(const std::vector<std::string>& args, const std::string& input = "", CliOptions options = {}) {
        options.input = input;
        options.workingDirectory = work.Str();
        return RunCli(home.Str(), args, options);
    }
    CliOutcome Job(const char* mode, std::vector<std::string> paths, const CliOptions& options = {}) {
        paths.insert(paths.begin(), {"--password-file", home / "pw", "-q", mode});
        return Run(paths, "", options);
    }

    TempDir home;
    TempDir work;
};

// Sources go by the setting "Delete" unless --keep says otherwise. Outputs are no more readable
// than their sources, both ways.
TEST_F(Cli, EncryptsAndDecryptsAFolderTree) {
    const auto root = work / "tree";
    fs::create_directories(root + "/sub/deeper");
    const std::vector<std::pair<std::string, std::string>> files = {
        {"a.txt", "alpha"}, {"sub/b.bin", std::string(100000, '\x07')}, {"sub/deeper/c", "c"}};
    for (const auto& [name, bytes] : files)
        WriteFile(root + "/" + name, bytes);
    fs::permissions(root + "/a.txt", fs::perms(0600));
    WriteFile(home / "VWX.ini", "[Einstellungen]\r\nDelete=1\r\n");

    auto out = Run({"--password-file", home / "pw", "-q", root});
    ASSERT_EQ(out.exit, 0) << out.err;
    for (const auto& [name, bytes] : files)
        EXPECT_FALSE(fs::exists(root + "/" + name)) << name; // the encrypted files give them back below

    out = Run({"--password-file", "-", "--keep", "-q", root}, "correct-horse-1\n");
    ASSERT_EQ(out.exit, 0) << out.err;
    for (const auto& [name, bytes] : files) {
        EXPECT_EQ(ReadFile(root + "/" + name), bytes) << name;
        EXPECT_TRUE(fs::exists(root + "/" + name + ".vwx")) << name;
    }
    EXPECT_EQ(fs::status(root + "/a.txt").permissions(), fs::perms(0600));
}

// A path check's refusal exits 3 with message A (the path, control characters escaped, a blank
// line, the text) in the chosen language, from a Windows-1252 file to UTF-8 on the terminal, or
// in the built-in English without any language file. Usage errors (a --lang file that is empty,
// no language file or a FIFO among them) and a refused password (both directions) exit 2 and
// write nothing anywhere.
TEST_F(Cli, RefusalsExitThreeAndUsageErrorsTwo) {
    const auto empty = work / "l\x1B[2J", f = work / "a.txt", vwx = work / "b.vwx";
    WriteFile(empty, "");
    WriteFile(f, "a");
    WriteFile(home / "weak", "abcabc\n");
    WriteFile(home / "ru", "пароль2024\n");
    fs::rename(home / "Deutsch.lng", home / "DEUTSCH.LNG"); // named in capitals, found all the same
    const auto out = Run({"--lang", "DEUTSCH", empty});
    EXPECT_EQ(out.exit, 3);
    EXPECT_EQ(out.err.rfind(work / "l\\x1b[2J\n\nDiese Datei ist leer. Leere Dateien k\xC3\xB6nnen", 0), 0U) << out.err;
    WriteFile(vwx, std::string(16, 'v'));
    WriteFile(home / "Empty.lng", "");
    WriteFile(home / "Notes.lng", "001 not a language file\r\n");
    ASSERT_EQ(::mkfifo((home / "Fifo.lng").c_str(), 0600), 0);
    const std::vector<std::vector<std::string>> usage = {{},
                                                         {"--bogus", "x"},
                                                         {"--password-file"},
                                                         {"--password-file", home / "weak", f},
                                                         {"--lang", "Klingon", f},
                                                         {"--password-file", home / "pw", "--lang", "Empty", f},
                                                         {"--password-file", home / "pw", "--lang", "Notes", f},
                                                         {"--password-file", home / "pw", "--lang", "Fifo", f}};
    for (const auto& args : usage)
        EXPECT_EQ(Run(args).exit, 2) << ::testing::PrintToString(args);
    for (const auto& path : {std::string(), f, vwx}) { // no path; a password the key cannot hold, both ways
        const auto refused = Run({"--password-file", home / (path.empty() ? "pw" : "ru"), path});
        EXPECT_EQ(refused.exit, 2) << path;
        EXPECT_NE(refused.err.find(path.empty() ? "empty argument" : "outside Windows-1252"), std::string::npos);
    }
    EXPECT_EQ(Names(work.Path()), (std::vector<std::string>{"a.txt", "b.vwx", "l\x1B[2J"}));
    fs::remove(home / "English.lng");
    const auto english = Run({empty});
    EXPECT_EQ(english.exit, 3);
    EXPECT_NE(english.err.find("\n\nThis file is empty."), std::string::npos) << english.err;
}

// On a terminal, a file name and a language file's texts are shown escaped: neither can send the
// terminal a command (the caption and a kept source went out raw) nor forge a line of its own (a CR
// in a name, a lone LF in a text).
TEST_F(Cli, NamesAndTextsNeverDriveTheTerminal) {
    WriteFile(home / "English.lng",
              ReadFile(home / "English.lng") + "200 Encrypting\x1B]0;owned\x07\r\n606 Empty.\nALL DONE\r\n");
    const auto linked = work / "a\x1B[2J\rALL DONE\n.txt", empty = work / "e\rALL DONE";
    WriteFile(linked, "secret");
    fs::create_hard_link(linked, work / "second");
    WriteFile(empty, "");
    CliOptions terminal;
    terminal.terminal = true;
    const auto kept = Run({"--password-file", home / "pw", "--delete", linked}, "", terminal);
    const auto refused = Run({"--password-file", home / "pw", empty}, "", terminal);
    EXPECT_EQ(kept.exit, 0);
    EXPECT_NE(kept.err.find("Encrypting\\x1b]0;owned\\x07 ["), std::string::npos) << kept.err;
    EXPECT_NE(kept.err.find("a\\x1b[2J\\rALL DONE\\n.txt\r\nThis is a link"), std::string::npos) << kept.err;
    EXPECT_EQ(refused.exit, 3);
    EXPECT_NE(refused.err.find("e\\rALL DONE\r\n\r\nEmpty.\\nALL DONE\r\n"), std::string::npos) << refused.err;
    for (const auto& out : {kept, refused}) {
        EXPECT_EQ(out.err.find_first_of("\x1B\x07"), std::string::npos) << out.err;
        for (std::size_t start = 0, end = 0; start <= out.err.size(); start = end + 1) {
            end = std::min(out.err.find_first_of("\r\n", start), out.err.size());
            EXPECT_FALSE(out.err.compare(start, 8, "ALL DONE") == 0) << out.err; // no line of its own
        }
    }
}

// Reads that could wait or grow for ever: a password FIFO without writer ends on a hang-up, Ctrl+C or
// SIGTERM as the signal would (they were swallowed), with nothing written; a FIFO as VWX.ini is no
// settings file (the program hung); /dev/zero as the password file is refused (it was read without end).
TEST_F(Cli, ReadsThatCouldHangOrGrowEnd) {
    constexpr std::chrono::seconds kBound{60}; // a loaded machine is slow, a hang is for ever
    const auto fifo = home / "fifo", file = work / "f.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    WriteFile(file, "f");
    for (const int signal : {SIGHUP, SIGINT, SIGTERM}) {
        CliProcess waiting(home.Str(), {"--password-file", fifo, "-q", file});
        const auto opened = std::chrono::steady_clock::now() + kBound; // the wait has begun once it is open
        const auto fd = "/proc/" + std::to_string(waiting.Pid()) + "/fd";
        const auto isOpen = [&] {
            std::error_code ec;
            for (const auto& entry : fs::directory_iterator(fd, ec))
                if (fs::read_symlink(entry, ec) == fs::path(fifo)) return true;
            return false;
        };
        while (!isOpen() && std::chrono::steady_clock::now() < opened)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ::kill(waiting.Pid(), signal);
        EXPECT_EQ(waiting.WaitAtMost(kBound), -signal) << waiting.Err();
    }
    WriteFile(home / "pw1024", "Ab1" + std::string(1021, 'x') + "\r\n");
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo((home / "VWX.ini").c_str(), 0600), 0);
    for (const auto& [password, exit] : {std::pair{std::string("/dev/zero"), 2}, {home / "pw1024", 0}}) {
        CliProcess run(home.Str(), {"--password-file", password, "-q", "--keep", file});
        EXPECT_EQ(run.WaitAtMost(kBound), exit) << run.Err();
        EXPECT_EQ(fs::exists(file + ".vwx"), exit == 0);
    }
    EXPECT_EQ(Names(work.Path()), (std::vector<std::string>{"f.txt", "f.txt.vwx"}));
}

// An existing output is never replaced, in delete mode too: a file and its .vwx in one job under
// any spelling, an old .vwx decrypted over an edited file, a .vwx.vwx over the only copy of a file.
// Message C names the output, nothing is touched; so it does for two jobs that would write one
// output. Files are the same by identity: a file named twice (./, d/../, through a link to its
// folder) is one job; the password file is never one; a folder named like a .vwx is walked.
TEST_F(Cli, NoOutputEverReplacesAFile) {
    const auto folder = work / "pair", plain = folder + "/a.txt", encrypted = plain + ".vwx";
    fs::create_directory(folder);
    WriteFile(plain, "new text");
    WriteFile(encrypted, "old text");
    WriteFile(encrypted + ".vwx", "older text");
    const std::vector<std::vector<std::string>> jobs{
        {folder}, {plain, encrypted}, {folder + "/./a.txt", encrypted}, {encrypted}, {encrypted + ".vwx", encrypted}};
    for (const auto& paths : jobs) {
        const auto out = Job("--delete", paths);
        EXPECT_TRUE(out.exit == 3 && out.err.starts_with("This file already exists:\n\n" + folder + "/")) << out.err;
        EXPECT_EQ(Names(folder), (std::vector<std::string>{"a.txt", "a.txt.vwx", "a.txt.vwx.vwx"}));
        EXPECT_TRUE(ReadFile(plain) == "new text" && ReadFile(encrypted) == "old text");
    }

    const auto other = work / "other";
    fs::create_directories(other + "/x.vwx");
    fs::create_directory_symlink(other, work / "link");
    WriteFile(other + "/f", "f text");
    WriteFile(other + "/x.vwx/g", "g text");
    WriteFile(other + "/pw", "Correct-horse-7\n");
    WriteFile(other + "/f.vwx.vwx", "decrypts to f.vwx");
    const auto collision = Job("--delete", {other + "/f", work / "link/./f.vwx.vwx"});
    EXPECT_TRUE(collision.exit == 3 && collision.err.find("/f.vwx\n") != std::string::npos) << collision.err;
    fs::remove(other + "/f.vwx.vwx");
    const auto out = Run({"--password-file", other + "/pw", "--delete", "-q", other + "/f", other + "/../other/f",
                          work / "link/f", other});
    EXPECT_EQ(out.exit, 0) << out.err;
    EXPECT_NE(out.err.find(other + "/pw: the password file is left out"), std::string::npos) << out.err;
    EXPECT_EQ(Names(other), (std::vector<std::string>{"f.vwx", "pw", "x.vwx"}));
    EXPECT_EQ(Names(other + "/x.vwx"), std::vector<std::string>{"g.vwx"});
}

// --delete where a source cannot safely go: a link or one of several hard links of a read-only
// file (whose bytes and permission bits stay), or a file in a folder that cannot be opened to
// commit the new entry to disk. The output is made, the source stays and the program says why.
TEST_F(Cli, SourcesThatCannotSafelyGoStay) {
    const auto target = work / "target.txt", locked = work / "locked", inLocked = locked + "/f.txt";
    WriteFile(target, "linked");
    fs::permissions(target, fs::perms(0444));
    fs::create_symlink(target, work / "link.txt");
    fs::create_hard_link(target, work / "second.txt");
    fs::create_directory(locked);
    WriteFile(inLocked, "f");
    fs::permissions(inLocked, fs::perms(0666));
    fs::permissions(locked, fs::perms(0333)); // entries can be made, but it cannot be opened
    const CliOptions nobody{
        .fileSizeLimit = {}, .openFileLimit = {}, .asNobody = ::geteuid() == 0, .input = {}, .workingDirectory = {}};
    for (const auto& [source, why] : {std::pair{work / "link.txt", "This is a link"},
                                      {work / "second.txt", "This is a link"},
                                      {inLocked, "The new file could not be committed"}}) {
        const auto out = Job("--delete", {source}, source == inLocked ? nobody : CliOptions{});
        EXPECT_NE(out.err.find(source + "\n" + why), std::string::npos) << out.err;
        EXPECT_TRUE(out.exit == 0 && fs::exists(source + ".vwx") && fs::exists(source));
    }
    EXPECT_TRUE(ReadFile(target) == "linked" && fs::status(target).permissions() == fs::perms(0444));
}

// A tree deeper than the files the program may hold open is walked whole; a folder that cannot be
// listed is named and the run ends with 1 after everything else was done; a link to nothing is
// skipped with a note. A FIFO is skipped unopened (opening it would wait for a writer) and named,
// and the run ends with 1; named itself it is refused, without waiting.
TEST_F(Cli, TheWalkTakesEverythingOrSaysWhatItLeftOut) {
    std::string deep = work / "t";
    fs::create_directories(deep + "/locked");
    fs::create_symlink(work / "missing", deep + "/nowhere");
    ASSERT_EQ(::mkfifo((deep + "/fifo").c_str(), 0666), 0);
    fs::permissions(deep + "/locked", fs::perms::none);
    for (int level = 0; level <= 1100; ++level, deep += "/d") {
        fs::permissions(deep, fs::perms::all);              // nobody writes there too
        if (level % 1100 == 0) WriteFile(deep + "/f", "f"); // at the top and the bottom
        fs::create_directory(deep + "/d");
    }
    const CliOptions options{
        .fileSizeLimit = {}, .openFileLimit = 256, .asNobody = ::geteuid() == 0, .input = {}, .workingDirectory = {}};
    const auto out = Job("--keep", {work / "t"}, options);
    EXPECT_EQ(out.exit, 1) << out.err;
    EXPECT_NE(out.err.find(work / "t/locked\nThis folder could not be read"), std::string::npos) << out.err;
    EXPECT_NE(out.err.find(work / "t/nowhere\nThis link points to nothing"), std::string::npos) << out.err;
    EXPECT_NE(out.err.find(work / "t/fifo\nThis is not a regular file"), std::string::npos) << out.err;
    EXPECT_TRUE(fs::exists(work / "t/f.vwx") && fs::exists(deep + "/../f.vwx"));
    EXPECT_EQ(Job("--keep", {work / "t/fifo"}).exit, 3);
}

// A file deeper than the system's limit for one path is processed like any other, both ways (the
// shell makes, checks and removes the tree one folder at a time).
TEST_F(Cli, AFileBeyondThePathLimitIsProcessed) {
    const std::string name(40, 'd'), down = "cd '" + work.Str() + "' && for i in $(seq 160); do mkdir -p " + name +
                                            " && cd -P " + name + " || exit 1; done && ";
    ASSERT_EQ(std::system((down + "printf 'deep data' > f.txt").c_str()), 0);
    for (const bool encrypted : {true, false}) {
        const auto out = Job("--delete", {work.Str()});
        EXPECT_EQ(out.exit, 0) << out.err.substr(out.err.size() - std::min<std::size_t>(out.err.size(), 200));
        EXPECT_EQ(std::system((down + (encrypted ? "[ -s f.txt.vwx ] && [ ! -e f.txt ]"
                                                 : "[ \"$(cat f.txt)\" = 'deep data' ] && [ ! -e f.txt.vwx ]"))
                                  .c_str()),
                  0);
    }
    EXPECT_EQ(std::system(("rm -rf '" + work.Str() + "/" + name + "'").c_str()), 0);
}

// The settings window's two desktop boxes, as the Windows installer sets them: for VWX beside the
// program, stored in the settings, and taken back again.
TEST_F(Cli, DesktopIntegrationIsSwitchedForTheDesktopProgram) {
    const ScopedEnv data("XDG_DATA_HOME", (work / "data").c_str());
    const auto association = work / "data/applications/vaultwing-vwx.desktop",
               launcher = work / "data/nautilus/scripts/Vaultwing";
    for (const char* value : {"on", "off"}) {
        const auto out = Run({"--associate", value, "--send-to", value});
        ASSERT_EQ(out.exit, 0) << out.err;
        const bool on = value == std::string("on");
        EXPECT_EQ(fs::exists(association), on);
        EXPECT_EQ(fs::exists(launcher), on);
        EXPECT_NE(ReadFile(home / "VWX.ini").find(on ? "SendTo=1" : "SendTo=0"), std::string::npos);
        const auto vwx = fs::path(VAULTWING_CLI_PATH).parent_path().string() + "/VWX";
        EXPECT_TRUE(!on || ReadFile(association).find("Exec=\"" + vwx + "\" %F") != std::string::npos);
    }
    EXPECT_EQ(Run({"--associate", "yes"}).exit, 2);
}

} // namespace
} // namespace vaultwing::test
