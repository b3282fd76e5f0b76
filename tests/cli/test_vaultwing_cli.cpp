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
        WriteFile(home / "pw", "correct horse 1\n");
    }
    CliOutcome Run(const std::vector<std::string>& args, const std::string& input = "") {
        CliOptions options;
        options.input = input;
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

    out = Run({"--password-file", "-", "--keep", "-q", root}, "correct horse 1\n");
    ASSERT_EQ(out.exit, 0) << out.err;
    for (const auto& [name, bytes] : files) {
        EXPECT_EQ(ReadFile(root + "/" + name), bytes) << name;
        EXPECT_TRUE(fs::exists(root + "/" + name + ".vwx")) << name;
    }
}

// A path check's refusal exits 3 with message A (the path, a blank line, the text) in the chosen
// language, from a Windows-1252 file to UTF-8 on the terminal. Usage errors and a refused
// encryption password exit 2.
TEST_F(Cli, RefusalsExitThreeAndUsageErrorsTwo) {
    const auto empty = work / "leer.txt", f = work / "a.txt";
    WriteFile(empty, "");
    WriteFile(f, "a");
    WriteFile(home / "weak", "abcabc\n");
    fs::rename(home / "Deutsch.lng", home / "DEUTSCH.LNG"); // named in capitals, found all the same
    const auto out = Run({"--lang", "DEUTSCH", empty});
    EXPECT_EQ(out.exit, 3);
    EXPECT_EQ(out.err.rfind(empty + "\n\nDiese Datei ist leer. Leere Dateien k\xC3\xB6nnen", 0), 0U) << out.err;
    const std::vector<std::vector<std::string>> usage = {
        {}, {"--bogus", "x"}, {"--password-file"}, {"--password-file", home / "weak", f}, {"--lang", "Klingon", f}};
    for (const auto& args : usage)
        EXPECT_EQ(Run(args).exit, 2) << ::testing::PrintToString(args);
    EXPECT_FALSE(fs::exists(f + ".vwx"));
}

} // namespace
} // namespace vaultwing::test
