#pragma once
// CBC chaining of the TEA block function from a zero initial value, and the choice of the
// decryption kernel (scalar or x86 vector) and of the threads a large buffer is split across.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "cipher/TeaBlock.h"

namespace vaultwing::tea {

// Chaining state of one CBC pass: the previous ciphertext block, zero at the start.
struct Chain {
    std::uint32_t left = 0;
    std::uint32_t right = 0;
};

// CBC decryption has no chain between blocks, so many blocks are deciphered at once with the
// widest vector unit the CPU offers, and large buffers are split across cores.
enum class DecryptKernel { Scalar, Sse2, Avx2, Avx512 };

// How a decryption is done; the defaults take what the machine offers. Tests and benchmarks
// choose the kernel and force splits of small buffers with it.
struct DecryptSetup {
    std::optional<DecryptKernel> kernel; // none, or one this machine lacks: the widest available
    unsigned threads = 0;                // at most this many; 0: one per hardware thread
    std::size_t minBytesPerThread = std::size_t{256} << 10;
};

// `size` is a multiple of 8; `chain` carries the previous ciphertext block from one call to the
// next, so a buffer may be processed in pieces with the same result as in one.
void CbcEncrypt(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept;
void CbcDecrypt(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain,
                const DecryptSetup& setup = {}) noexcept;

// The textbook kernels, one block after the other; every faster path gives the same bytes.
void CbcEncryptScalar(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept;
void CbcDecryptScalar(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept;

// Encryption is one serial chain; this kernel shortens the dependency path of each round.
void CbcEncryptFast(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept;

[[nodiscard]] const char* KernelName(DecryptKernel kernel) noexcept;
// True when this build has the kernel and the CPU can run it.
[[nodiscard]] bool KernelAvailable(DecryptKernel kernel) noexcept;
// The widest kernel available here.
[[nodiscard]] DecryptKernel BestKernel() noexcept;
// The kernel CbcDecrypt uses with `setup`.
[[nodiscard]] DecryptKernel ChosenKernel(const DecryptSetup& setup) noexcept;

// One kernel on the calling thread only.
void CbcDecryptWith(DecryptKernel kernel, std::uint8_t* data, std::size_t size, const KeyWords& key,
                    Chain& chain) noexcept;

// Independent chains side by side, one per 32-bit lane of two vectors of the unit the kernel names
// (32 with AVX-512, 16 with AVX2, 8 with SSE2; 1 for the scalar kernel): several files are
// enciphered at once although each one is a serial chain.
[[nodiscard]] std::size_t LaneCount(DecryptKernel kernel) noexcept;
// Enciphers `blocks` blocks of each of LaneCount(kernel) chains; lane i's bytes start at lanes[i]
// and its chain is chains[i]. Gives every lane the bytes CbcEncrypt gives it alone.
void CbcEncryptLanes(DecryptKernel kernel, std::uint8_t* const* lanes, Chain* chains, std::size_t blocks,
                     const KeyWords& key) noexcept;

// How many threads CbcDecrypt uses for `size` bytes with `setup`: each one given at least
// minBytesPerThread.
[[nodiscard]] unsigned DecryptThreadsFor(std::size_t size, const DecryptSetup& setup) noexcept;

} // namespace vaultwing::tea
