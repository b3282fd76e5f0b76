// Secrets: the wipe routine survives the optimiser, the cipher's key words do not outlive it,
// and the password given in a file never shows in the program's argument list, its environment
// or anything it writes.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <new>
#include <string>
#include <thread>

#include "base/SecureWipe.h"
#include "cipher/Cipher.h"
#include "cipher/TeaBlock.h"
#include "config/LangTable.h"
#include "support/CliRunner.h"
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

// The password of --password-file, seen from outside the running program: not in its arguments,
// its environment, its messages or anything it writes.
TEST(Secrets, PasswordFileNeverShowsInArgumentsEnvironmentOrWrittenFiles) {
    const std::string password = "Qx7#vault-secret-391";
    TempDir home, work, secrets;
    fs::copy_file(fs::path(VAULTWING_LANG_DIR) / "English.lng", home.Path() / "English.lng");
    const std::string passwordFile = secrets / "pw", plain = work / "big.bin";
    WriteFile(passwordFile, password + "\n");
    {
        std::ofstream out(plain, std::ios::binary);
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; i < 24; ++i)
            out << chunk;
    }

    CliProcess p(home.Str(), {"--password-file", passwordFile, "--keep", "-q", plain});
    const std::string proc = "/proc/" + std::to_string(p.Pid());
    // Look while it encrypts: once its temporary destination has data in it.
    bool writing = false;
    for (int i = 0; i < 60000 && !writing; ++i) {
        for (const auto& name : Names(work.Path())) {
            std::error_code ec;
            writing = writing || (name.rfind(".big.bin.vwx.", 0) == 0 && fs::file_size(work / name, ec) > 0);
        }
        if (!writing) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(writing);
    const std::string cmdline = ReadFile(proc + "/cmdline"), environment = ReadFile(proc + "/environ");
    ASSERT_NE(cmdline.find(passwordFile), std::string::npos) << "not the program's own arguments";
    EXPECT_EQ(cmdline.find(password), std::string::npos);
    EXPECT_NE(environment.find("VAULTWING_HOME="), std::string::npos);
    EXPECT_EQ(environment.find(password), std::string::npos);
    ASSERT_EQ(p.Wait(), 0) << p.Err();
    EXPECT_EQ(p.Err().find(password), std::string::npos);
    for (const auto* folder : {&home, &work})
        for (const auto& entry : fs::recursive_directory_iterator(folder->Path()))
            EXPECT_EQ(ReadFile(entry.path().string()).find(password), std::string::npos) << entry.path();
}

} // namespace
} // namespace vaultwing::test
