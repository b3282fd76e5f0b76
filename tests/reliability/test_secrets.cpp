#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <new>
#include <regex>
#include <string>
#include <thread>

#include "base/SecureWipe.h"
#include "cipher/Cipher.h"
#include "cipher/TeaBlock.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

// Memory read through a volatile pointer, so the compiler must look at it as it is.
std::string Snapshot(const unsigned char* memory, std::size_t size) {
    const volatile unsigned char* m = memory;
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(m[i]);
    return bytes;
}

// Its destructor's wipe comes just before the lifetime ends: stores an optimiser drops as dead.
struct Holder {
    unsigned char secret[64];
    ~Holder() { SecureWipe(secret, sizeof secret); }
};

[[gnu::noinline]] void FillAndDestroy(void* storage, const char* text) {
    auto* h = new (storage) Holder;
    std::memcpy(h->secret, text, std::strlen(text));
    h->~Holder();
}

TEST(Secrets, WipesSurviveOptimisation) {
    alignas(Holder) unsigned char storage[sizeof(Holder)];
    FillAndDestroy(storage, "Qx7#vault-secret-391"); // 20 bytes
    EXPECT_EQ(Snapshot(storage, 20), std::string(20, '\0'));

    // A wiped string clears its spare capacity too.
    std::string text = "Qx7#vault-secret-391 and some more text to leave the small-string buffer";
    text.reserve(200);
    const unsigned char* data = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t capacity = text.capacity();
    WipeString(text);
    ASSERT_EQ(reinterpret_cast<const unsigned char*>(text.data()), data); // the same buffer, still ours
    EXPECT_EQ(Snapshot(data, capacity), std::string(capacity, '\0'));
}

TEST(Secrets, TheCipherWipesItsKeyWordsWhenItGoes) {
    const auto key = tea::KeyFromPassword("Qx7#vault-secret");
    alignas(Cipher) unsigned char storage[sizeof(Cipher)];
    auto* tea = new (storage) Cipher();
    tea->Key("Qx7#vault-secret");
    const std::string words(reinterpret_cast<const char*>(key.k.data()), sizeof key.k);
    ASSERT_NE(Snapshot(storage, sizeof storage).find(words), std::string::npos); // the search can see it
    tea->~Cipher();
    EXPECT_EQ(Snapshot(storage, sizeof storage).find(words), std::string::npos);
}

// The password of --password-file, seen from outside the running program: not in its arguments,
// environment, messages or anything it writes, and no core file of it can be written.
TEST(Secrets, PasswordFileNeverShowsInArgumentsEnvironmentOrWrittenFiles) {
    const std::string password = "Qx7#vault-secret-391";
    TempDir home, work, secrets;
    fs::copy_file(fs::path(VAULTWING_LANG_DIR) / "English.lng", home.Path() / "English.lng");
    const std::string passwordFile = secrets / "pw", plain = work / "big.bin";
    WriteFile(passwordFile, password + "\n");
    WriteFile(plain, std::string(std::size_t{24} << 20, 'x'));

    CliProcess p(home.Str(), {"--password-file", passwordFile, "--keep", "-q", plain});
    // Look while it encrypts: once its temporary destination is there.
    bool writing = false;
    for (int i = 0; i < 60000 && !writing; ++i) {
        for (const auto& name : Names(work.Path()))
            writing = writing || name.rfind(".big.bin.vwx.", 0) == 0;
        if (!writing) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(writing);
    const std::string proc = "/proc/" + std::to_string(p.Pid());
    const std::string cmdline = ReadFile(proc + "/cmdline");
    const std::string environment = ReadFile(proc + "/environ"); // only root may read it: not dumpable
    ASSERT_NE(cmdline.find(passwordFile), std::string::npos) << "not the program's own arguments";
    ASSERT_TRUE(::geteuid() != 0 || environment.find("VAULTWING_HOME=") != std::string::npos);
    EXPECT_EQ((cmdline + environment).find(password), std::string::npos);
    EXPECT_TRUE(std::regex_search(ReadFile(proc + "/limits"), std::regex("Max core file size +0 +0 ")));
    ASSERT_EQ(p.Wait(), 0) << p.Err();
    EXPECT_EQ(p.Err().find(password), std::string::npos);
    for (const auto* folder : {&home, &work})
        for (const auto& entry : fs::recursive_directory_iterator(folder->Path()))
            EXPECT_EQ(ReadFile(entry.path().string()).find(password), std::string::npos) << entry.path();
}

} // namespace
} // namespace vaultwing::test
