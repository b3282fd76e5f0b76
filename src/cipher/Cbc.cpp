#include "cipher/Cbc.h"

#include <algorithm>
#include <array>
#include <thread>

#include "cipher/TeaKernels.h"

namespace vaultwing::tea {

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

// ---------------------------------------------------------------------------------------------
// Encryption: the serial chain with a shorter path per half-round
// ---------------------------------------------------------------------------------------------

// The textbook half-round l += ((r << 4) + k0) ^ (r + sum) ^ ((r >> 5) + k1) costs five dependent
// steps after r changes. Left shift and the addition of the sum distribute over the update
// r += y, so (r << 4) + k0 and r + sum are carried along and only need y added in (y << 4 and y);
// just (r >> 5) + k1 has to wait for the new r. That leaves four steps per half-round.
namespace {

// Hides a value from the optimiser's reassociation, which would otherwise fold the terms back
// into the textbook order (late operand first) and lengthen the chain again. Emits no code.
inline void Pin(std::uint32_t& value) noexcept {
#if defined(__GNUC__) || defined(__clang__)
    __asm__("" : "+r"(value));
#else
    (void)value;
#endif
}

} // namespace

void CbcEncryptFast(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept {
    const std::uint32_t k0 = key.k[0], k1 = key.k[1], k2 = key.k[2], k3 = key.k[3];
    std::uint32_t prevL = chain.left, prevR = chain.right;
    for (std::size_t off = 0; off + kBlockSize <= size; off += kBlockSize) {
        std::uint8_t* block = data + off;
        std::uint32_t l = LoadBE32(block) ^ prevL;
        std::uint32_t r = LoadBE32(block + 4) ^ prevR;
        std::uint32_t sr = (r << 4) + k0; // follows r
        std::uint32_t sl = (l << 4) + k2; // follows l
        std::uint32_t sum = kDelta;
        std::uint32_t rs = r + sum; // r + the sum of the coming half-round
        for (int cycle = 0; cycle < 32; ++cycle) {
            std::uint32_t early = sr ^ rs; // both ready before (r >> 5) + k1
            Pin(early);
            const std::uint32_t x = early ^ ((r >> 5) + k1);
            std::uint32_t ls = l + sum; // formed before x is known
            Pin(ls);
            l += x;
            sl += x << 4;
            ls += x;
            early = sl ^ ls;
            Pin(early);
            const std::uint32_t y = early ^ ((l >> 5) + k3);
            sum += kDelta;
            rs = r + sum;
            Pin(rs);
            r += y;
            sr += y << 4;
            rs += y;
        }
        StoreBE32(block, l);
        StoreBE32(block + 4, r);
        prevL = l;
        prevR = r;
    }
    chain = Chain{prevL, prevR};
}

void CbcEncrypt(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept {
    CbcEncryptFast(data, size, key, chain);
}

// ---------------------------------------------------------------------------------------------
// Decryption: kernel choice and splitting across cores
// ---------------------------------------------------------------------------------------------

namespace {

using KernelFn = void (*)(std::uint8_t*, std::size_t, const KeyWords&, Chain&) noexcept;

constexpr unsigned kMaxThreads = 64;

KernelFn KernelFunction(DecryptKernel kernel) noexcept {
    switch (kernel) {
#ifdef VAULTWING_TEA_X86
    case DecryptKernel::Sse2:
        return detail::CbcDecryptSse2;
    case DecryptKernel::Avx2:
        return detail::CbcDecryptAvx2;
    case DecryptKernel::Avx512:
        return detail::CbcDecryptAvx512;
#endif
    default:
        return CbcDecryptScalar;
    }
}

unsigned HardwareThreads() noexcept {
    static const unsigned count = std::max(1u, std::thread::hardware_concurrency());
    return count;
}

} // namespace

const char* KernelName(DecryptKernel kernel) noexcept {
    switch (kernel) {
    case DecryptKernel::Scalar:
        return "scalar";
    case DecryptKernel::Sse2:
        return "sse2";
    case DecryptKernel::Avx2:
        return "avx2";
    case DecryptKernel::Avx512:
        return "avx512";
    }
    return "?";
}

bool KernelAvailable(DecryptKernel kernel) noexcept {
    switch (kernel) {
    case DecryptKernel::Scalar:
        return true;
#ifdef VAULTWING_TEA_X86
    case DecryptKernel::Sse2:
        return detail::CpuHasSse2();
    case DecryptKernel::Avx2:
        return detail::CpuHasAvx2();
    case DecryptKernel::Avx512:
        return detail::CpuHasAvx512();
#endif
    default:
        return false;
    }
}

DecryptKernel BestKernel() noexcept {
    static const DecryptKernel best = [] {
        for (const auto kernel : {DecryptKernel::Avx512, DecryptKernel::Avx2, DecryptKernel::Sse2})
            if (KernelAvailable(kernel)) return kernel;
        return DecryptKernel::Scalar;
    }();
    return best;
}

DecryptKernel ChosenKernel(const DecryptSetup& setup) noexcept {
    return setup.kernel && KernelAvailable(*setup.kernel) ? *setup.kernel : BestKernel();
}

void CbcDecryptWith(DecryptKernel kernel, std::uint8_t* data, std::size_t size, const KeyWords& key,
                    Chain& chain) noexcept {
    KernelFunction(KernelAvailable(kernel) ? kernel : DecryptKernel::Scalar)(data, size, key, chain);
}

std::size_t LaneCount(DecryptKernel kernel) noexcept {
    switch (KernelAvailable(kernel) ? kernel : DecryptKernel::Scalar) {
    case DecryptKernel::Sse2:
        return 8;
    case DecryptKernel::Avx2:
        return 16;
    case DecryptKernel::Avx512:
        return 32;
    default:
        return 1;
    }
}

void CbcEncryptLanes(DecryptKernel kernel, std::uint8_t* const* lanes, Chain* chains, std::size_t blocks,
                     const KeyWords& key) noexcept {
    switch (KernelAvailable(kernel) ? kernel : DecryptKernel::Scalar) {
#ifdef VAULTWING_TEA_X86
    case DecryptKernel::Sse2:
        detail::CbcEncryptLanesSse2(lanes, chains, blocks, key);
        return;
    case DecryptKernel::Avx2:
        detail::CbcEncryptLanesAvx2(lanes, chains, blocks, key);
        return;
    case DecryptKernel::Avx512:
        detail::CbcEncryptLanesAvx512(lanes, chains, blocks, key);
        return;
#endif
    default:
        CbcEncryptFast(lanes[0], blocks * kBlockSize, key, chains[0]);
    }
}

unsigned DecryptThreadsFor(std::size_t size, const DecryptSetup& setup) noexcept {
    const unsigned wanted = std::min(setup.threads == 0 ? HardwareThreads() : setup.threads, kMaxThreads);
    const std::size_t bySize = size / std::max(setup.minBytesPerThread, kBlockSize);
    return static_cast<unsigned>(std::clamp<std::size_t>(std::min<std::size_t>(wanted, bySize), 1, kMaxThreads));
}

void CbcDecrypt(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain,
                const DecryptSetup& setup) noexcept {
    const KernelFn kernel = KernelFunction(ChosenKernel(setup));
    const unsigned threads = DecryptThreadsFor(size, setup);
    const std::size_t blocks = size / kBlockSize;
    if (threads <= 1 || blocks < threads) {
        kernel(data, size, key, chain);
        return;
    }
    // Every segment starts from the ciphertext block in front of it, taken before any thread
    // overwrites it; segments are then independent.
    std::array<Chain, kMaxThreads> chains{};
    std::array<std::size_t, kMaxThreads + 1> start{};
    for (unsigned t = 0; t <= threads; ++t)
        start[t] = blocks * t / threads * kBlockSize;
    chains[0] = chain;
    for (unsigned t = 1; t < threads; ++t)
        chains[t] = Chain{LoadBE32(data + start[t] - kBlockSize), LoadBE32(data + start[t] - 4)};
    const Chain last{LoadBE32(data + blocks * kBlockSize - kBlockSize), LoadBE32(data + blocks * kBlockSize - 4)};

    std::array<std::jthread, kMaxThreads> workers; // joined when they go, before `chain` is returned
    for (unsigned t = 1; t < threads; ++t) {
        std::uint8_t* part = data + start[t];
        const std::size_t length = start[t + 1] - start[t];
        try {
            workers[t] = std::jthread([=, &key, &chains] { kernel(part, length, key, chains[t]); });
        } catch (...) {
            kernel(part, length, key, chains[t]); // no thread to be had: do it here
        }
    }
    kernel(data, start[1], key, chains[0]);
    chain = last;
}

} // namespace vaultwing::tea
