#include "cipher/Verify.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "cipher/Cipher.h"
#include "config/LangTable.h"
#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

class Verify : public ::testing::TestWithParam<std::size_t> {
protected:
    std::string Encrypt(const std::string& plain, const std::string& bytes, const char* password = "pass-word") {
        WriteFile(plain, bytes);
        Cipher tea(texts);
        tea.EncryptFile(plain, plain + ".vwx", password);
        return plain + ".vwx";
    }
    LangTable texts;
    TempDir dir;
};

// Sizes around the header, a block, and the verifier's 1 MiB chunk.
TEST_P(Verify, AcceptsExactlyTheBytesAndRejectsEveryKindOfDamage) {
    const std::size_t size = GetParam();
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 131 + 7);
    const auto plain = dir / "p.bin";
    const auto enc = Encrypt(plain, bytes);
    EXPECT_TRUE(EncryptedMatchesPlain(enc, plain, "pass-word"));
    EXPECT_FALSE(EncryptedMatchesPlain(enc, plain, "wrong-word"));

    // One changed byte anywhere in the plain file.
    std::string changed = bytes;
    changed[size / 2] = static_cast<char>(changed[size / 2] ^ 1);
    WriteFile(plain, changed);
    EXPECT_FALSE(EncryptedMatchesPlain(enc, plain, "pass-word"));
    // A plain file one byte longer or shorter.
    WriteFile(plain, bytes + "x");
    EXPECT_FALSE(EncryptedMatchesPlain(enc, plain, "pass-word"));
    WriteFile(plain, bytes.substr(0, size - 1));
    EXPECT_FALSE(EncryptedMatchesPlain(enc, plain, "pass-word"));
    // The encrypted file cut short by a block.
    WriteFile(plain, bytes);
    std::filesystem::resize_file(enc, std::filesystem::file_size(enc) - 8);
    EXPECT_FALSE(EncryptedMatchesPlain(enc, plain, "pass-word"));
}

INSTANTIATE_TEST_SUITE_P(Sizes, Verify, ::testing::Values(1, 4, 5, 20, 4096, (1 << 20) - 12, (1 << 20) - 11, (1 << 20) + 3));

TEST(VerifyMissing, FalseWhenAFileIsMissing) {
    TempDir dir;
    EXPECT_FALSE(EncryptedMatchesPlain(dir / "none.vwx", dir / "none", "x"));
}

} // namespace
} // namespace vaultwing::test
