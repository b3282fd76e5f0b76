// DecryptBytes on arbitrary bytes and passwords.
// Property: no crash and no out-of-bounds access; either the call fails with the wrong-password
// text (language entry 600) and leaves the array exactly as it was, or it succeeds and the
// array is the plaintext of the stored length: the bytes after the 12-byte frame head of the
// independently deciphered input. With the first input byte odd, the rest is first enciphered
// with EncryptBytes, so the success path is reached too and must give the rest back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "cipher/Cbc.h"
#include "cipher/Cipher.h"
#include "cipher/CipherFailure.h"
#include "cipher/Frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vaultwing;
    FuzzedDataProvider in(data, size);
    const bool encipherFirst = in.ConsumeBool();
    const std::string password = in.ConsumeRandomLengthString(24);
    std::vector<std::uint8_t> bytes = in.ConsumeRemainingBytes<std::uint8_t>();
    const std::vector<std::uint8_t> plainInput = bytes;

    Cipher tea;
    tea.Key(password);
    if (encipherFirst) tea.EncryptBytes(bytes);
    const std::vector<std::uint8_t> before = bytes;

    try {
        tea.DecryptBytes(bytes);
    } catch (const CipherFailure& e) {
        fuzz::Check(e.WhatFailed() == CipherFailure::Reason::WrongPasswordOrDamaged, "unexpected error", e.what());
        fuzz::Check(bytes == before, "a failed call changed the array");
        fuzz::Check(!encipherFirst, "our own encrypted form was refused");
        return 0;
    }
    // Decipher independently and read the stored length.
    fuzz::Check(before.size() >= tea::kMinFramedSize && before.size() % 8 == 0, "an uneven array was accepted");
    std::vector<std::uint8_t> framed = before;
    tea::Chain chain;
    tea::CbcDecrypt(framed.data(), framed.size(), tea::KeyFromPassword(password), chain);
    const auto stored = static_cast<std::int32_t>(tea::LoadLE32(framed.data() + tea::kLengthOffset));
    fuzz::Check(stored >= 0 && static_cast<std::size_t>(stored) + tea::kHeaderSize <= framed.size() &&
                    framed.size() - static_cast<std::size_t>(stored) <= 19,
                "a length that does not fit was accepted");
    fuzz::Check(bytes.size() == static_cast<std::size_t>(stored), "the plaintext is not of the stored length");
    fuzz::Check(std::equal(bytes.begin(), bytes.end(), framed.begin() + tea::kHeaderSize), "wrong plaintext");
    if (encipherFirst) fuzz::Check(bytes == plainInput, "EncryptBytes then DecryptBytes lost data");
    return 0;
}
