// End to end through the built `vaultwing` program.
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exit = -1;
    std::string err;
};

class Cli : public ::testing::Test {
protected:
    Cli() {
        for (const char* lang : {"English.lng", "Deutsch.lng"})
            fs::copy_file(fs::path(VAULTWING_LANG_DIR) / lang, home.Path() / lang);
        WriteFile(home / "pw", "correct horse 1\n");
    }

    Outcome Run(const std::string& args, const std::string& stdinText = "") {
        const auto errFile = home / "stderr";
        const auto inFile = home / "stdin";
        WriteFile(inFile, stdinText);
        const std::string cmd = "VAULTWING_HOME='" + home.Str() + "' '" VAULTWING_CLI_PATH "' " + args + " <'" +
                                inFile + "' 2>'" + errFile + "' >/dev/null";
        const int status = std::system(cmd.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(errFile)};
    }
    std::string Quoted(const std::string& path) { return "'" + path + "'"; }

    TempDir home;
    TempDir work;
};

TEST_F(Cli, EncryptsAndDecryptsAFolderTree) {
    const auto root = work / "tree";
    fs::create_directories(root + "/sub/deeper");
    const std::vector<std::pair<std::string, std::string>> files = {
        {"a.txt", "alpha"}, {"sub/b.bin", std::string(100000, '\x07')}, {"sub/deeper/c", "c"}};
    for (const auto& [name, bytes] : files) WriteFile(root + "/" + name, bytes);

    auto out = Run("--password-file " + Quoted(home / "pw") + " --delete -q " + Quoted(root));
    ASSERT_EQ(out.exit, 0) << out.err;
    for (const auto& [name, bytes] : files) {
        EXPECT_FALSE(fs::exists(root + "/" + name)) << name;
        EXPECT_TRUE(fs::exists(root + "/" + name + ".vwx")) << name;
    }

    out = Run("--password-file - --delete -q " + Quoted(root), "correct horse 1\n");
    ASSERT_EQ(out.exit, 0) << out.err;
    for (const auto& [name, bytes] : files) {
        EXPECT_EQ(ReadFile(root + "/" + name), bytes) << name;
        EXPECT_FALSE(fs::exists(root + "/" + name + ".vwx")) << name;
    }
}

TEST_F(Cli, WrongPasswordExitsOneAndWritesNothing) {
    const auto f = work / "secret.txt";
    WriteFile(f, "secret");
    ASSERT_EQ(Run("--password-file " + Quoted(home / "pw") + " -q " + Quoted(f)).exit, 0);
    fs::remove(f);
    WriteFile(home / "wrong", "wrong horse 1\n");
    const auto out = Run("--password-file " + Quoted(home / "wrong") + " -q " + Quoted(f + ".vwx"));
    EXPECT_EQ(out.exit, 1);
    EXPECT_NE(out.err.find(f + ".vwx"), std::string::npos) << out.err;
    EXPECT_FALSE(fs::exists(f));
    EXPECT_EQ(std::distance(fs::directory_iterator(work.Path()), fs::directory_iterator()), 1);
}

TEST_F(Cli, EmptyFileIsRefusedWithExitThree) {
    const auto f = work / "empty.txt";
    WriteFile(f, "");
    const auto out = Run("--password-file " + Quoted(home / "pw") + " " + Quoted(f));
    EXPECT_EQ(out.exit, 3);
    EXPECT_EQ(out.err.rfind(f + "\n\n", 0), 0U) << out.err; // message A: path, blank line, text
    EXPECT_FALSE(fs::exists(f + ".vwx"));
}

TEST_F(Cli, MessagesComeFromTheChosenLanguage) {
    const auto f = work / "leer.txt";
    WriteFile(f, "");
    const auto english = Run("--lang English " + Quoted(f));
    const auto german = Run("--lang Deutsch " + Quoted(f));
    EXPECT_EQ(english.exit, 3);
    EXPECT_EQ(german.exit, 3);
    EXPECT_NE(english.err, german.err);
    // The German file is Windows-1252; the terminal gets UTF-8.
    EXPECT_NE(german.err.find(f), std::string::npos);
    EXPECT_EQ(Run("--lang Klingon " + Quoted(f)).exit, 2);
}

TEST_F(Cli, RefusedEncryptionPasswordExitsTwo) {
    const auto f = work / "a.txt";
    WriteFile(f, "a");
    WriteFile(home / "weak", "abcabc\n");
    EXPECT_EQ(Run("--password-file " + Quoted(home / "weak") + " " + Quoted(f)).exit, 2);
    EXPECT_FALSE(fs::exists(f + ".vwx"));
}

TEST_F(Cli, UsageErrors) {
    EXPECT_EQ(Run("").exit, 2);
    EXPECT_EQ(Run("--bogus x").exit, 2);
    EXPECT_EQ(Run("--password-file").exit, 2);
    EXPECT_EQ(Run("--help").exit, 0);
    EXPECT_EQ(Run("--version").exit, 0);
}

TEST_F(Cli, NoTerminalAndNoPasswordFileIsAUsageError) {
    const auto f = work / "a.txt";
    WriteFile(f, "a");
    // setsid: no controlling terminal to ask on.
    if (std::system("command -v setsid >/dev/null") != 0) GTEST_SKIP();
    const std::string cmd = "VAULTWING_HOME='" + home.Str() + "' setsid -w '" VAULTWING_CLI_PATH "' " + Quoted(f) +
                            " </dev/null >/dev/null 2>&1";
    const int status = std::system(cmd.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_FALSE(fs::exists(f + ".vwx"));
}

} // namespace
} // namespace vaultwing::test
