#pragma once
// One CBC pass over a stream too large to hold: chunks are produced (read or framed), enciphered
// in place on the calling thread with the progress rule of the whole pass, and consumed
// (written). Memory stays bounded by the buffer size whatever the length of the stream.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "cipher/Cbc.h"

namespace vaultwing {

struct StreamPass {
    std::uint64_t total = 0;     // N, bytes of the pass; a multiple of 8
    std::size_t bufferBytes = 0; // all chunk buffers together; a multiple of 8, at least 16
    // Fills data[0, size) with bytes [pos, pos + size) of the input.
    std::function<void(std::uint8_t* data, std::uint64_t pos, std::size_t size)> produce;
    // Enciphers or deciphers whole blocks in place, carrying the chain across calls.
    std::function<void(std::uint8_t* data, std::size_t size, tea::Chain& chain)> transform;
    // Takes bytes [pos, pos + size) of the output.
    std::function<void(const std::uint8_t* data, std::uint64_t pos, std::size_t size)> consume;
};

// Runs the pass, raising `progress` on the calling thread exactly as the same pass over one
// whole buffer would, ending with 100. Exceptions from any stage leave the pass and propagate.
void RunStreamPass(const StreamPass& pass, const std::function<void(int)>& progress);

} // namespace vaultwing
