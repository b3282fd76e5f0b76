// Encrypting a folder of many files, for whole-process timing against `vaultwing` itself:
//
//   encrypt_folder make DIR      96 files of 1 byte to 6 MiB (about 256 MiB), the same every time
//   encrypt_folder cryptopp DIR  the straightforward tool: file after file, whole file in memory,
//                                Crypto++ CBC_Mode<TEA> over the frame, written with ofstream
//   encrypt_folder serial DIR    Cipher::EncryptFile file after file (temporary file, flushed, renamed)
//   encrypt_folder engine DIR    the many-files engine with what the machine offers
//
// Every mode encrypts each file of DIR not ending in ".vwx" to "<name>.vwx", in name order, and
// replaces outputs left from an earlier run (`vaultwing` refuses to: remove them first).
#include <cryptopp/modes.h>
#include <cryptopp/tea.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "cipher/Cipher.h"
#include "cipher/Frame.h"
#include "cipher/ManyFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace vaultwing;

constexpr const char* kPassword = "benchmark password";

std::vector<std::string> Sources(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file() && entry.path().extension() != ".vwx") files.push_back(entry.path().string());
    std::ranges::sort(files);
    return files;
}

// 16 small files, 1 byte to 64 KiB on a log scale, and 80 spread evenly from 384 KiB to 6 MiB,
// shuffled: about 256 MiB.
void Make(const std::string& dir) {
    fs::create_directories(dir);
    std::mt19937_64 random(96);
    std::vector<std::size_t> sizes;
    for (int i = 0; i < 16; ++i)
        sizes.push_back(static_cast<std::size_t>(std::lround(std::pow(65536.0, i / 15.0))));
    for (int i = 0; i < 80; ++i)
        sizes.push_back((std::size_t{384} << 10) + ((std::size_t{6} << 20) - (std::size_t{384} << 10)) * i / 79);
    std::ranges::shuffle(sizes, random);
    std::size_t total = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        std::string bytes(sizes[i], '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        char name[32];
        std::snprintf(name, sizeof name, "/file%02zu.bin", i);
        std::ofstream(dir + name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        total += bytes.size();
    }
    std::printf("%zu files, %.1f MiB\n", sizes.size(), static_cast<double>(total) / 1048576.0);
}

void Straightforward(const std::vector<std::string>& files) {
    std::uint8_t key[16] = {};
    std::copy_n(kPassword, 16, key);
    const std::uint8_t iv[8] = {};
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::vector<std::uint8_t> plain((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::uint8_t> frame(tea::FramedSize(plain.size()));
        tea::WriteHeader(frame.data(), tea::DrawRandomValues(), static_cast<std::int32_t>(plain.size()));
        std::ranges::copy(plain, frame.begin() + tea::kHeaderSize);
        CryptoPP::CBC_Mode<CryptoPP::TEA>::Encryption(key, sizeof key, iv)
            .ProcessData(frame.data(), frame.data(), frame.size());
        std::ofstream(file + ".vwx", std::ios::binary)
            .write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: encrypt_folder make|cryptopp|serial|engine DIR\n");
        return 2;
    }
    const std::string mode = argv[1], dir = argv[2];
    if (mode == "make") {
        Make(dir);
        return 0;
    }
    const std::vector<std::string> files = Sources(dir);
    Cipher cipher;
    if (mode == "cryptopp") {
        Straightforward(files);
    } else if (mode == "serial") {
        for (const std::string& file : files)
            cipher.EncryptFile(file, file + ".vwx", kPassword);
    } else if (mode == "engine") {
        std::vector<EncryptionJob> jobs;
        for (const std::string& file : files)
            jobs.push_back({file, file + ".vwx"});
        ManyFilesEncryption(cipher).Run(
            jobs, kPassword, [](std::size_t) {}, [](std::size_t) { return true; });
    } else {
        std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
        return 2;
    }
    return 0;
}
