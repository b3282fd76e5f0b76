#include "cipher/Verify.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "base/SecureWipe.h"
#include "cipher/Cbc.h"
#include "cipher/Frame.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

constexpr std::size_t kChunk = 1 << 20; // a multiple of 8

// The comparison itself; a refusal of the system raises std::system_error.
bool Compare(const std::string& encryptedFile, const std::string& plainFile, std::string_view password,
             const std::function<void()>& perChunk) {
    platform::File encrypted = platform::File::OpenRead(encryptedFile);
    platform::File plain = platform::File::OpenRead(plainFile);
    const std::int64_t framed = encrypted.Size();
    const std::int64_t plainSize = plain.Size();
    if (framed < static_cast<std::int64_t>(tea::kMinFramedSize) || framed % 8 != 0 || plainSize < 0) return false;

    const tea::KeyWords key = tea::KeyFromPassword(password);
    SecretBuffer deciphered(kChunk);
    SecretBuffer plainChunk(kChunk);
    tea::Chain chain;
    std::uint64_t framedPos = 0; // bytes of the framed plaintext seen so far
    std::uint64_t compared = 0;  // plaintext bytes compared so far
    std::uint64_t length = 0;    // the stored plaintext length
    while (framedPos < static_cast<std::uint64_t>(framed)) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, static_cast<std::uint64_t>(framed) - framedPos));
        if (encrypted.ReadFull(deciphered.data(), want) != want) return false;
        tea::CbcDecrypt(deciphered.data(), want, key, chain);

        std::size_t offset = 0;
        if (framedPos == 0) {
            const std::int32_t stored = tea::StoredLength(deciphered.data());
            if (!tea::LengthFits(stored, static_cast<std::uint64_t>(framed))) return false;
            length = static_cast<std::uint64_t>(stored);
            if (length != static_cast<std::uint64_t>(plainSize)) return false;
            offset = tea::kHeaderSize;
        }
        // This chunk's share of the plaintext (the rest is the zero padding).
        const std::uint64_t end = std::min<std::uint64_t>(framedPos + want, tea::kHeaderSize + length);
        if (end > framedPos + offset) {
            const auto count = static_cast<std::size_t>(end - framedPos - offset);
            if (plain.ReadFull(plainChunk.data(), count) != count) return false;
            if (std::memcmp(plainChunk.data(), deciphered.data() + offset, count) != 0) return false;
            compared += count;
        }
        for (std::size_t i = static_cast<std::size_t>(std::max<std::uint64_t>(end, framedPos + offset) - framedPos);
             i < want; ++i)
            if (deciphered[i] != 0) return false; // padding must be zeros
        framedPos += want;
        if (perChunk) perChunk();
    }
    // Nothing may follow in the plain file (it could have grown since its size was read).
    std::uint8_t extra = 0;
    return compared == length && plain.Read(&extra, 1) == 0;
}

} // namespace

bool EncryptedMatchesPlain(const std::string& encryptedFile, const std::string& plainFile, std::string_view password,
                           const std::function<void()>& perChunk) {
    try {
        return Compare(encryptedFile, plainFile, password, perChunk);
    } catch (const std::system_error&) {
        return false; // a file that cannot be read whole proves nothing
    }
}

} // namespace vaultwing
