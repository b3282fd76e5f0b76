// DecryptFile on arbitrary file contents (the input is written to a file first).
// Property: no crash; on failure (only ever a CipherFailure) the destination does not exist and
// nothing else is left in the folder (no temporary file); on success the destination holds
// exactly what DecryptBytes gives for the same bytes. Input: a mode byte, a password, a stream
// buffer size, then the file contents. Mode bit 0 enciphers the contents first (so that the
// success path is reached), bit 1 then cuts the encrypted form after a fuzzer-chosen length
// or appends a byte (damaged files). Small buffers exercise every chunk boundary.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "cipher/Cipher.h"
#include "cipher/CipherFailure.h"

namespace {

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vaultwing;
    FuzzedDataProvider in(data, size);
    const auto mode = in.ConsumeIntegral<std::uint8_t>();
    const std::string password = in.ConsumeRandomLengthString(24);
    const auto buffer = in.ConsumeIntegralInRange<std::size_t>(16, 256);
    const auto cut = in.ConsumeIntegral<std::uint16_t>();
    std::vector<std::uint8_t> contents = in.ConsumeRemainingBytes<std::uint8_t>();

    Cipher tea(buffer);
    tea.Key(password);
    if ((mode & 1) != 0) tea.EncryptBytes(contents);
    if ((mode & 2) != 0) {
        if (cut < contents.size())
            contents.resize(cut);
        else
            contents.push_back(static_cast<std::uint8_t>(cut));
    }

    const auto& folder = fuzz::ScratchFolder();
    const auto source = folder / "input.vwx";
    const auto dest = folder / "input";
    WriteBytes(source, contents);

    bool succeeded = true;
    try {
        tea.DecryptFile(source.string(), dest.string());
    } catch (const CipherFailure&) {
        succeeded = false;
    }
    std::vector<std::uint8_t> expected = contents;
    bool bytesSucceeded = true;
    try {
        tea.DecryptBytes(expected);
    } catch (const CipherFailure&) {
        bytesSucceeded = false;
    }
    fuzz::Check(succeeded == bytesSucceeded, "file and byte-array decryption disagree");
    if (succeeded) {
        fuzz::Check(ReadBytes(dest) == expected, "the destination differs from DecryptBytes's plaintext");
        std::filesystem::remove(dest);
    } else {
        fuzz::Check(!std::filesystem::exists(dest), "a failed decryption left a destination");
    }
    std::filesystem::remove(source);
    fuzz::Check(fuzz::EntriesIn(folder) == 0, "a temporary file was left behind");
    return 0;
}
