#include "cipher/modTEA.h"

#include <chrono>
#include <cmath>
#include <random>
#include <string>

#include "app/Cp1252.h"
#include "app/SecureWipe.h"

namespace vaultwing::modTEA {

KeyWords KeyFromPassword(std::string_view utf8Password) {
    std::string bytes = Utf8ToCp1252(utf8Password);
    std::array<std::uint8_t, kKeySize> raw{};
    for (std::size_t i = 0; i < raw.size() && i < bytes.size(); ++i) raw[i] = static_cast<std::uint8_t>(bytes[i]);
    KeyWords key;
    for (std::size_t w = 0; w < 4; ++w) key.k[w] = LoadBE32(raw.data() + 4 * w);
    SecureWipe(bytes.data(), bytes.size());
    SecureWipe(raw.data(), raw.size());
    return key;
}

// ---------------------------------------------------------------------------------------------
// Scalar CBC kernels
// ---------------------------------------------------------------------------------------------

void CbcEncryptScalar(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept {
    std::uint32_t prevL = chain.left, prevR = chain.right;
    for (std::size_t off = 0; off + kBlockSize <= size; off += kBlockSize) {
        std::uint8_t* block = data + off;
        std::uint32_t l = LoadBE32(block) ^ prevL;
        std::uint32_t r = LoadBE32(block + 4) ^ prevR;
        EncryptBlock(l, r, key);
        StoreBE32(block, l);
        StoreBE32(block + 4, r);
        prevL = l;
        prevR = r;
    }
    chain = Chain{prevL, prevR};
}

void CbcDecryptScalar(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept {
    std::uint32_t prevL = chain.left, prevR = chain.right;
    for (std::size_t off = 0; off + kBlockSize <= size; off += kBlockSize) {
        std::uint8_t* block = data + off;
        const std::uint32_t cl = LoadBE32(block);
        const std::uint32_t cr = LoadBE32(block + 4);
        std::uint32_t l = cl, r = cr;
        DecryptBlock(l, r, key);
        StoreBE32(block, l ^ prevL);
        StoreBE32(block + 4, r ^ prevR);
        prevL = cl;
        prevR = cr;
    }
    chain = Chain{prevL, prevR};
}

void CbcEncrypt(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept {
    CbcEncryptScalar(data, size, key, chain);
}

void CbcDecrypt(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept {
    CbcDecryptScalar(data, size, key, chain);
}

// ---------------------------------------------------------------------------------------------
// Framing
// ---------------------------------------------------------------------------------------------

double RoundHalfEven(double x) noexcept {
    double whole = std::floor(x);
    const double fraction = x - whole; // exact for the magnitudes used here
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    return whole;
}

std::uint32_t ScaleRandom(float r) noexcept {
    return static_cast<std::uint32_t>(RoundHalfEven(static_cast<double>(r) * 2147483647.0));
}

RandomPair DrawRandomValues() {
    // Re-seeded on every call; the clock alone would repeat within one tick, so the system's
    // entropy source is mixed in when it has one.
    const auto ticks = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::uint32_t entropy = 0;
    try {
        std::random_device device;
        entropy = device();
    } catch (...) {
        entropy = 0; // the clock seed is enough: decryption ignores these values
    }
    std::seed_seq seed{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32), entropy};
    std::mt19937 generator(seed);
    // 24 random bits make a single-precision value in [0, 1) exactly, never 1.
    const auto uniform = [&generator] { return static_cast<float>(generator() >> 8) * (1.0f / 16777216.0f); };
    RandomPair pair;
    pair.first = ScaleRandom(uniform());
    pair.second = ScaleRandom(uniform());
    return pair;
}

void WriteHeader(std::uint8_t* header, const RandomPair& random, std::int32_t length) noexcept {
    StoreLE32(header, random.first);
    StoreLE32(header + 4, random.second);
    StoreLE32(header + kLengthOffset, static_cast<std::uint32_t>(length));
}

// ---------------------------------------------------------------------------------------------
// Progress
// ---------------------------------------------------------------------------------------------

std::uint64_t ProgressCounter::NextEventBlock(std::uint64_t from) const noexcept {
    const std::uint64_t firstDue = (nextAt_ + kBlockSize - 1) / kBlockSize * kBlockSize;
    return firstDue > from ? firstDue : from;
}

void ProgressCounter::Raise(std::uint64_t offset) {
    const double total = static_cast<double>(total_);
    last_ = static_cast<int>(std::floor(static_cast<double>(offset) / total * 100.0));
    nextAt_ = static_cast<std::uint64_t>(RoundHalfEven(static_cast<double>(last_ + 1) / 100.0 * total + 1.0));
    if (receiver_) receiver_(last_);
}

void ProgressCounter::Finish() {
    if (last_ == 100) return;
    last_ = 100;
    if (receiver_) receiver_(100);
}

} // namespace vaultwing::modTEA
