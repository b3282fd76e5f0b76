#pragma once
// Inputs and reference results shared by the cipher tests.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace vaultwing::test {

// `size` bytes from a seeded generator: the same bytes for the same seed on every run.
inline std::vector<std::uint8_t> RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 gen(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(gen());
    return bytes;
}

// The progress rule applied after every single block of a pass over `total` bytes: the
// reference every streamed or chunked pass must reproduce.
inline std::vector<int> ReferenceProgress(std::uint64_t total) {
    std::vector<int> events;
    double nextAt = 0;
    int last = 0;
    for (std::uint64_t off = 0; off < total; off += 8) {
        if (static_cast<double>(off) >= nextAt) {
            last = static_cast<int>(std::floor(static_cast<double>(off) / static_cast<double>(total) * 100.0));
            nextAt = std::nearbyint(static_cast<double>(last + 1) / 100.0 * static_cast<double>(total) + 1.0);
            events.push_back(last);
        }
    }
    if (last != 100) events.push_back(100);
    return events;
}

} // namespace vaultwing::test
