#pragma once
// The TEA block function (32 cycles, delta 0x9E3779B9), the byte-to-word packing, CBC chaining
// from a zero initial value, the encrypted-file framing and the progress rule shared by the
// byte-array and file operations of Cipher.
//
// Blocks are two big-endian words; the random values and the length inside the framed
// plaintext are little-endian. Words are always built from bytes explicitly, so nothing here
// depends on the host's byte order.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

namespace vaultwing::tea {

inline constexpr std::uint32_t kDelta = 0x9E3779B9u;
inline constexpr std::uint32_t kDecryptSum = 0xC6EF3720u; // 32 * kDelta mod 2^32
inline constexpr std::size_t kBlockSize = 8;
inline constexpr std::size_t kKeySize = 16;

// Framed plaintext: random value, random value, length (all 32-bit little-endian), data, zeros.
inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kLengthOffset = 8;
// The length field is a signed 32-bit value; a longer plaintext cannot be stored.
inline constexpr std::int64_t kMaxPlainLength = 2147483635;
// The smallest encrypted form (an empty or short plaintext).
inline constexpr std::size_t kMinFramedSize = 16;

struct KeyWords {
    std::array<std::uint32_t, 4> k{};
};

// Chaining state of one CBC pass: the previous ciphertext block, zero at the start.
struct Chain {
    std::uint32_t left = 0;
    std::uint32_t right = 0;
};

// ---------------------------------------------------------------------------------------------
// Byte packing
// ---------------------------------------------------------------------------------------------

[[nodiscard]] inline std::uint32_t LoadBE32(const std::uint8_t* p) noexcept {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | std::uint32_t{p[3]};
}

inline void StoreBE32(std::uint8_t* p, std::uint32_t v) noexcept {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

[[nodiscard]] inline std::uint32_t LoadLE32(const std::uint8_t* p) noexcept {
    return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | std::uint32_t{p[0]};
}

inline void StoreLE32(std::uint8_t* p, std::uint32_t v) noexcept {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

// ---------------------------------------------------------------------------------------------
// Key and block function
// ---------------------------------------------------------------------------------------------

// Key bytes are the password in Windows-1252 (one byte per character), zero-padded to 16;
// bytes after the 16th are ignored. No hashing, no salt: files written by every copy of the
// program depend on exactly this.
[[nodiscard]] KeyWords KeyFromPassword(std::string_view utf8Password);

inline void EncryptBlock(std::uint32_t& left, std::uint32_t& right, const KeyWords& key) noexcept {
    const std::uint32_t k0 = key.k[0], k1 = key.k[1], k2 = key.k[2], k3 = key.k[3];
    std::uint32_t l = left, r = right, sum = 0;
    for (int cycle = 0; cycle < 32; ++cycle) {
        sum += kDelta;
        l += ((r << 4) + k0) ^ (r + sum) ^ ((r >> 5) + k1);
        r += ((l << 4) + k2) ^ (l + sum) ^ ((l >> 5) + k3);
    }
    left = l;
    right = r;
}

inline void DecryptBlock(std::uint32_t& left, std::uint32_t& right, const KeyWords& key) noexcept {
    const std::uint32_t k0 = key.k[0], k1 = key.k[1], k2 = key.k[2], k3 = key.k[3];
    std::uint32_t l = left, r = right, sum = kDecryptSum;
    for (int cycle = 0; cycle < 32; ++cycle) {
        r -= ((l << 4) + k2) ^ (l + sum) ^ ((l >> 5) + k3);
        l -= ((r << 4) + k0) ^ (r + sum) ^ ((r >> 5) + k1);
        sum -= kDelta;
    }
    left = l;
    right = r;
}

// ---------------------------------------------------------------------------------------------
// CBC passes. `size` is a multiple of 8; `chain` carries the previous ciphertext block from one
// call to the next, so a buffer may be processed in pieces with the same result as in one.
// ---------------------------------------------------------------------------------------------

void CbcEncrypt(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept;
void CbcDecrypt(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept;

// The textbook kernels, one block after the other; every faster path gives the same bytes.
void CbcEncryptScalar(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept;
void CbcDecryptScalar(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept;

// Encryption is one serial chain; this kernel shortens the dependency path of each round.
void CbcEncryptFast(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept;

// ---------------------------------------------------------------------------------------------
// Decryption kernels. CBC decryption has no chain between blocks, so many blocks are deciphered
// at once with the widest vector unit the CPU offers, and large buffers are split across cores.
// ---------------------------------------------------------------------------------------------

enum class DecryptKernel { Scalar, Sse2, Avx2, Avx512 };

[[nodiscard]] const char* KernelName(DecryptKernel kernel) noexcept;
// True when this build has the kernel and the CPU can run it.
[[nodiscard]] bool KernelAvailable(DecryptKernel kernel) noexcept;
// The kernel CbcDecrypt uses: the forced one, else the widest available.
[[nodiscard]] DecryptKernel ActiveKernel() noexcept;
// Forces a kernel (tests, benchmarks); Scalar is always possible. False, and nothing changed,
// when the kernel is not available.
bool ForceKernel(DecryptKernel kernel) noexcept;
void ResetKernel() noexcept;

// One kernel on the calling thread only.
void CbcDecryptWith(DecryptKernel kernel, std::uint8_t* data, std::size_t size, const KeyWords& key,
                    Chain& chain) noexcept;

// Splitting across threads: at most `threads` threads (0: one per hardware thread), each given
// at least `minBytesPerThread`. Tests force splits of small buffers with this.
struct Parallelism {
    unsigned threads = 0;
    std::size_t minBytesPerThread = std::size_t{256} << 10;
};
void SetParallelism(const Parallelism& parallelism) noexcept;
[[nodiscard]] Parallelism CurrentParallelism() noexcept;
// How many threads CbcDecrypt uses for `size` bytes.
[[nodiscard]] unsigned DecryptThreadsFor(std::size_t size) noexcept;

// ---------------------------------------------------------------------------------------------
// Framing
// ---------------------------------------------------------------------------------------------

// N: the smallest multiple of 8 not less than plainLength + 12.
[[nodiscard]] constexpr std::uint64_t FramedSize(std::uint64_t plainLength) noexcept {
    return (plainLength + kHeaderSize + kBlockSize - 1) / kBlockSize * kBlockSize;
}

// True when `storedLength` is the one length an encryption could have stored in a framed
// buffer of `framedSize` bytes. A wrong key passes by chance with probability 8 in 2^32.
[[nodiscard]] constexpr bool LengthFits(std::int32_t storedLength, std::uint64_t framedSize) noexcept {
    if (storedLength < 0) return false;
    const auto length = static_cast<std::uint64_t>(storedLength);
    return framedSize >= length + 12 && framedSize - length <= 19;
}

// Two values in 0..2147483647 for the first block: a single-precision uniform r in [0, 1)
// times 2147483647, rounded to nearest with ties to even. Decryption ignores them.
struct RandomPair {
    std::uint32_t first = 0;
    std::uint32_t second = 0;
};
[[nodiscard]] RandomPair DrawRandomValues();
[[nodiscard]] std::uint32_t ScaleRandom(float r) noexcept;

// The 12 framed bytes in front of the data.
void WriteHeader(std::uint8_t* header, const RandomPair& random, std::int32_t length) noexcept;

// Round to nearest, ties to even, independent of the floating-point environment.
[[nodiscard]] double RoundHalfEven(double x) noexcept;

// ---------------------------------------------------------------------------------------------
// Progress: about one event per percentage point of a pass over N bytes. After the block at
// offset `off`: if off >= NextAt, Last = floor(off / N * 100), NextAt = round((Last + 1) / 100
// * N + 1) and the event reports Last. The pass ends with 100 unless Last already is 100.
// ---------------------------------------------------------------------------------------------

class ProgressCounter {
public:
    // The receiver is copied: a receiver that replaces the event handler mid-pass must not pull
    // the running one out from under us.
    ProgressCounter(std::uint64_t total, std::function<void(int)> receiver)
        : total_(total), receiver_(std::move(receiver)) {}

    [[nodiscard]] bool Active() const noexcept { return static_cast<bool>(receiver_); }
    // Offset of the first block at or after `from` after which an event is due.
    [[nodiscard]] std::uint64_t NextEventBlock(std::uint64_t from) const noexcept;
    // Raises the event for the block at `offset`, which must be the one NextEventBlock named.
    void Raise(std::uint64_t offset);
    void Finish();

private:
    std::uint64_t total_;
    std::function<void(int)> receiver_;
    std::uint64_t nextAt_ = 0;
    int last_ = 0;
};

// Runs `kernel(data, size)` over [data, data + size), which sits at `offset` of the pass,
// stopping after every block that is due for a progress event to raise it.
template <class Kernel>
void PassWithProgress(std::uint8_t* data, std::size_t size, std::uint64_t offset, ProgressCounter& progress,
                      Kernel&& kernel) {
    std::size_t done = 0;
    while (done < size) {
        if (!progress.Active()) {
            kernel(data + done, size - done);
            return;
        }
        const std::uint64_t due = progress.NextEventBlock(offset + done);
        if (due >= offset + size) {
            kernel(data + done, size - done);
            return;
        }
        const auto end = static_cast<std::size_t>(due - offset) + kBlockSize;
        kernel(data + done, end - done);
        done = end;
        progress.Raise(due);
    }
}

} // namespace vaultwing::tea
