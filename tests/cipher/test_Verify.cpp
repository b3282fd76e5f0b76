#include "cipher/Verify.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "cipher/Cipher.h"
#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

// Sizes around the header, a block, and the verifier's 1 MiB chunk.
TEST(Verify, AcceptsExactlyTheBytesAndRejectsEveryKindOfDamage) {
    TempDir dir;
    const std::string plain = dir / "p.bin", enc = plain + ".vwx";
    for (const std::size_t size : {1, 5, 20, (1 << 20) - 12, (1 << 20) - 11, (1 << 20) + 3}) {
        SCOPED_TRACE(size);
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 131 + 7);
        WriteFile(plain, bytes);
        std::filesystem::remove(enc);
        Cipher().EncryptFile(plain, enc, "pass-word");
        EXPECT_TRUE(EncryptedMatchesPlain(enc, plain, "pass-word"));
        EXPECT_FALSE(EncryptedMatchesPlain(enc, plain, "wrong-word"));
        std::string changed = bytes;
        changed[size / 2] = static_cast<char>(changed[size / 2] ^ 1);
        for (const std::string& other : {changed, bytes + "x", bytes.substr(0, size - 1)}) {
            WriteFile(plain, other);
            EXPECT_FALSE(EncryptedMatchesPlain(enc, plain, "pass-word"));
        }
        WriteFile(plain, bytes);
        std::filesystem::resize_file(enc, std::filesystem::file_size(enc) - 8); // cut short by a block
        EXPECT_FALSE(EncryptedMatchesPlain(enc, plain, "pass-word"));
    }
}

} // namespace
} // namespace vaultwing::test
