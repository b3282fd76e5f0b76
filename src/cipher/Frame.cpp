#include "cipher/Frame.h"

#include <chrono>
#include <random>

#include "cipher/Rounding.h"

namespace vaultwing::tea {

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

} // namespace vaultwing::tea
