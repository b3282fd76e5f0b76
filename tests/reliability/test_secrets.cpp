// Secrets: the wipe routine survives the optimiser, the cipher's key words do not outlive it,
// and the password given in a file never shows in the program's argument list, its environment
// or anything it writes.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <new>
#include <string>
#include <thread>

#include "base/SecureWipe.h"
#include "cipher/Cipher.h"
#include "cipher/TeaBlock.h"
#include "config/LangTable.h"
#include "reliability/CliProcess.h"
#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

// Reads through a volatile pointer, so the compiler must look at the memory as it is.
bool Contains(const unsigned char* memory, std::size_t size, const void* pattern, std::size_t length) {
    const volatile unsigned char* m = memory;
    const auto* p = static_cast<const unsigned char*>(pattern);
    for (std::size_t i = 0; i + length <= size; ++i) {
        std::size_t k = 0;
        while (k < length && m[i + k] == p[k])
            ++k;
        if (k == length) return true;
    }
    return false;
}

// A secret holder whose destructor wipes its buffer: the stores happen just before the
// object's lifetime ends, exactly what an optimiser removes as dead unless it is told not to.
struct Holder {
    unsigned char secret[64];
    ~Holder() { SecureWipe(secret, sizeof secret); }
};

[[gnu::noinline]] void FillAndDestroy(void* storage, const char* text) {
    auto* h = new (storage) Holder;
    std::memcpy(h->secret, text, std::strlen(text));
    h->~Holder();
}

TEST(Secrets, WipeInADestructorSurvivesOptimisation) {
    const char* secret = "Qx7#vault-secret-391";
    alignas(Holder) unsigned char storage[sizeof(Holder)];
    std::memset(storage, 0xAA, sizeof storage);
    FillAndDestroy(storage, secret);
    EXPECT_FALSE(Contains(storage, sizeof storage, secret, std::strlen(secret)));
    const volatile unsigned char* v = storage;
    for (std::size_t i = 0; i < std::strlen(secret); ++i)
        EXPECT_EQ(v[i], 0) << i;
}

TEST(Secrets, WipeStringClearsTheSpareCapacityToo) {
    std::string text = "Qx7#vault-secret-391 and some more text to leave the small-string buffer";
    text.reserve(200);
    const unsigned char* data = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t capacity = text.capacity();
    WipeString(text);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(text.data()), data); // the same buffer, still ours
    const volatile unsigned char* v = data;
    for (std::size_t i = 0; i < capacity; ++i)
        ASSERT_EQ(v[i], 0) << i;
}

TEST(Secrets, TheCipherWipesItsKeyWordsWhenItGoes) {
    const LangTable texts;
    const auto key = tea::KeyFromPassword("Qx7#vault-secret");
    alignas(Cipher) unsigned char storage[sizeof(Cipher)];
    auto* tea = new (storage) Cipher(texts);
    tea->Key("Qx7#vault-secret");
    ASSERT_TRUE(Contains(storage, sizeof storage, key.k.data(), sizeof key.k)); // the search can see it
    tea->~Cipher();
    EXPECT_FALSE(Contains(storage, sizeof storage, key.k.data(), sizeof key.k));
}

// ---------------------------------------------------------------------------------------------
// The password of --password-file, seen from outside the running program
// ---------------------------------------------------------------------------------------------

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Secrets, PasswordFileNeverShowsInArgumentsEnvironmentOrWrittenFiles) {
    const std::string password = "Qx7#vault-secret-391";
    TempDir home, work, secrets;
    fs::copy_file(fs::path(VAULTWING_LANG_DIR) / "English.lng", home.Path() / "English.lng");
    const std::string passwordFile = secrets / "pw";
    WriteFile(passwordFile, password + "\n");
    const std::string plain = work / "big.bin";
    (void)WritePatternFile(plain, std::uint64_t{48} << 20, 3);

    CliProcess p(home.Str(), {"--password-file", passwordFile, "--keep", "-q", plain});
    const std::string proc = "/proc/" + std::to_string(p.Pid());
    // Look while it encrypts: once the temporary destination has data in it.
    bool writing = false;
    for (int i = 0; i < 60000 && !writing; ++i) {
        for (const auto& name : Names(work.Path())) {
            std::error_code ec;
            if (IsTemporaryOf(name, "big.bin.vwx") && fs::file_size(work / name, ec) > 0) writing = true;
        }
        if (!writing) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(writing);
    const std::string cmdline = ReadAll(proc + "/cmdline");
    const std::string environment = ReadAll(proc + "/environ");
    ASSERT_NE(cmdline.find(passwordFile), std::string::npos) << "not the program's own arguments";
    EXPECT_EQ(cmdline.find(password), std::string::npos);
    EXPECT_NE(environment.find("VAULTWING_HOME="), std::string::npos);
    EXPECT_EQ(environment.find(password), std::string::npos);
    ASSERT_EQ(p.Wait(), 0) << p.Err();
    EXPECT_EQ(p.Err().find(password), std::string::npos);

    // Nothing it wrote holds the password: the program folder and the encrypted file.
    for (const auto* folder : {&home, &work}) {
        for (const auto& entry : fs::recursive_directory_iterator(folder->Path())) {
            if (!entry.is_regular_file()) continue;
            EXPECT_FALSE(FileContains(entry.path().string(), password)) << entry.path();
        }
    }
}

} // namespace
} // namespace vaultwing::test
