// End to end through the built `vaultwing` program.
#include <filesystem>
#include <gtest/gtest.h>

#include "support/CliRunner.h"
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
    CliOutcome Run(const std::vector<std::string>& args, const std::string& input = "") {
        CliOptions options;
        options.input = input;
        options.workingDirectory = work.Str();
        return RunCli(home.Str(), args, options);
    }

    TempDir home;
    TempDir work;
};

// Sources go by the setting "Delete" unless --keep says otherwise. A wrong password exits 1,
// names the file and neither writes nor destroys anything.
TEST_F(Cli, EncryptsAndDecryptsAFolderTree) {
    const auto root = work / "tree";
    fs::create_directories(root + "/sub/deeper");
    const std::vector<std::pair<std::string, std::string>> files = {
        {"a.txt", "alpha"}, {"sub/b.bin", std::string(100000, '\x07')}, {"sub/deeper/c", "c"}};
    for (const auto& [name, bytes] : files)
        WriteFile(root + "/" + name, bytes);
    WriteFile(home / "VWX.ini", "[Einstellungen]\r\nDelete=1\r\n");

    auto out = Run({"--password-file", home / "pw", "-q", root});
    ASSERT_EQ(out.exit, 0) << out.err;
    for (const auto& [name, bytes] : files)
        EXPECT_FALSE(fs::exists(root + "/" + name)) << name; // the encrypted files give them back below
    WriteFile(home / "wrong", "wrong horse 1\n");
    out = Run({"--password-file", home / "wrong", "-q", root + "/a.txt.vwx"});
    EXPECT_EQ(out.exit, 1);
    EXPECT_NE(out.err.find(root + "/a.txt.vwx"), std::string::npos) << out.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 2); // a.txt.vwx, sub

    out = Run({"--password-file", "-", "--keep", "-q", root}, "correct-horse-1\n");
    ASSERT_EQ(out.exit, 0) << out.err;
    for (const auto& [name, bytes] : files) {
        EXPECT_EQ(ReadFile(root + "/" + name), bytes) << name;
        EXPECT_TRUE(fs::exists(root + "/" + name + ".vwx")) << name;
    }
}

// A path check's refusal exits 3 with message A (the path, control characters escaped, a blank
// line, the text) in the chosen language, from a Windows-1252 file to UTF-8 on the terminal.
// Usage errors and a refused password (both directions) exit 2 and write nothing anywhere.
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
    const std::vector<std::vector<std::string>> usage = {
        {}, {"--bogus", "x"}, {"--password-file"}, {"--password-file", home / "weak", f}, {"--lang", "Klingon", f}};
    for (const auto& args : usage)
        EXPECT_EQ(Run(args).exit, 2) << ::testing::PrintToString(args);
    for (const auto& path : {std::string(), f, vwx}) { // no path; a password the key cannot hold, both ways
        const auto refused = Run({"--password-file", home / (path.empty() ? "pw" : "ru"), path});
        EXPECT_EQ(refused.exit, 2) << path;
        EXPECT_NE(refused.err.find(path.empty() ? "empty argument" : "outside Windows-1252"), std::string::npos);
    }
    EXPECT_EQ(Names(work.Path()), (std::vector<std::string>{"a.txt", "b.vwx", "l\x1B[2J"}));
}

} // namespace
} // namespace vaultwing::test
