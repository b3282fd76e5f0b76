// TEA-CBC decryption over many blocks at once with SSE2, AVX2 and AVX-512. Each function carries
// its own target attribute, so the file builds with the project's ordinary flags and the CPU is
// asked at run time which of them may run.
//
// Layout: a group is as many blocks as one vector has 32-bit lanes, loaded as two vectors of
// raw bytes. After a byte swap per word (blocks are big-endian) a shuffle within each 128-bit
// lane gathers the left words into one vector and the right words into the other; unpacking
// low/high undoes exactly that order, so no lane-crossing permutes are needed.
//
// CBC: plaintext block i = D(C[i]) xor C[i-1]. A buffer is processed from its end towards its
// start, so the ciphertext block in front of every group is still intact when the group needs
// it; the groups of a batch are stored last to first for the same reason. The blocks left at
// the start (fewer than one group, and always block 0, whose predecessor is the chain) go
// through the scalar kernel.
#include "cipher/TeaKernels.h"

#ifdef VAULTWING_TEA_X86

#include <immintrin.h>

namespace vaultwing::tea::detail {
namespace {

// Independent groups in flight per batch: the rounds are one long dependency chain per group.
// Measured on Zen 4; wider is not always better (register pressure, decoder).
constexpr int kUnrollSse2 = 4;
constexpr int kUnrollAvx2 = 4;
constexpr int kUnrollAvx512 = 8;

// Runs `batch` (Unroll groups) and `group` (one group) from the end of the buffer, then the
// scalar kernel over what is left at the start.
template <std::size_t GroupBlocks, int Unroll, void (*Batch)(std::uint8_t*, const KeyWords&) noexcept,
          void (*Group)(std::uint8_t*, const KeyWords&) noexcept>
void CbcDecryptBackwards(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept {
    const std::size_t blocks = size / kBlockSize;
    if (blocks == 0) return;
    const Chain last{LoadBE32(data + (blocks - 1) * kBlockSize), LoadBE32(data + (blocks - 1) * kBlockSize + 4)};
    std::size_t left = blocks;
    constexpr std::size_t kBatchBlocks = GroupBlocks * Unroll;
    // `left` > batch: the block in front of the batch exists inside the buffer.
    while (left > kBatchBlocks) {
        left -= kBatchBlocks;
        Batch(data + left * kBlockSize, key);
    }
    while (left > GroupBlocks) {
        left -= GroupBlocks;
        Group(data + left * kBlockSize, key);
    }
    CbcDecryptScalar(data, left * kBlockSize, key, chain);
    chain = last;
}

// ---------------------------------------------------------------------------------------------
// SSE2: 4 blocks per group
// ---------------------------------------------------------------------------------------------

#define VW_SSE2 __attribute__((target("sse2")))

VW_SSE2 inline __m128i Bswap32Sse2(__m128i x) {
    x = _mm_or_si128(_mm_slli_epi16(x, 8), _mm_srli_epi16(x, 8));
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(x, 0xB1), 0xB1);
}

template <int U> VW_SSE2 void DecryptGroupsSse2(std::uint8_t* p, const KeyWords& key) noexcept {
    __m128i l[U], r[U];
    for (int g = 0; g < U; ++g) {
        const __m128i a = Bswap32Sse2(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32 * g)));
        const __m128i b = Bswap32Sse2(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32 * g + 16)));
        l[g] = _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(a), _mm_castsi128_ps(b), _MM_SHUFFLE(2, 0, 2, 0)));
        r[g] = _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(a), _mm_castsi128_ps(b), _MM_SHUFFLE(3, 1, 3, 1)));
    }
    const __m128i k0 = _mm_set1_epi32(static_cast<int>(key.k[0]));
    const __m128i k1 = _mm_set1_epi32(static_cast<int>(key.k[1]));
    const __m128i k2 = _mm_set1_epi32(static_cast<int>(key.k[2]));
    const __m128i k3 = _mm_set1_epi32(static_cast<int>(key.k[3]));
    std::uint32_t sum = kDecryptSum;
    for (int cycle = 0; cycle < 32; ++cycle) {
        const __m128i s = _mm_set1_epi32(static_cast<int>(sum));
        for (int g = 0; g < U; ++g) {
            const __m128i f =
                _mm_xor_si128(_mm_xor_si128(_mm_add_epi32(_mm_slli_epi32(l[g], 4), k2), _mm_add_epi32(l[g], s)),
                              _mm_add_epi32(_mm_srli_epi32(l[g], 5), k3));
            r[g] = _mm_sub_epi32(r[g], f);
        }
        for (int g = 0; g < U; ++g) {
            const __m128i f =
                _mm_xor_si128(_mm_xor_si128(_mm_add_epi32(_mm_slli_epi32(r[g], 4), k0), _mm_add_epi32(r[g], s)),
                              _mm_add_epi32(_mm_srli_epi32(r[g], 5), k1));
            l[g] = _mm_sub_epi32(l[g], f);
        }
        sum -= kDelta;
    }
    for (int g = U - 1; g >= 0; --g) {
        const __m128i a = Bswap32Sse2(_mm_unpacklo_epi32(l[g], r[g]));
        const __m128i b = Bswap32Sse2(_mm_unpackhi_epi32(l[g], r[g]));
        const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32 * g - 8));
        const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32 * g + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 32 * g), _mm_xor_si128(a, pa));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 32 * g + 16), _mm_xor_si128(b, pb));
    }
}

VW_SSE2 void BatchSse2(std::uint8_t* p, const KeyWords& key) noexcept {
    DecryptGroupsSse2<kUnrollSse2>(p, key);
}
VW_SSE2 void GroupSse2(std::uint8_t* p, const KeyWords& key) noexcept {
    DecryptGroupsSse2<1>(p, key);
}

// ---------------------------------------------------------------------------------------------
// AVX2: 8 blocks per group
// ---------------------------------------------------------------------------------------------

#define VW_AVX2 __attribute__((target("avx2")))

VW_AVX2 inline __m256i Bswap32Avx2(__m256i x) {
    const __m256i order = _mm256_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, //
                                           3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
    return _mm256_shuffle_epi8(x, order);
}

template <int U> VW_AVX2 void DecryptGroupsAvx2(std::uint8_t* p, const KeyWords& key) noexcept {
    __m256i l[U], r[U];
    for (int g = 0; g < U; ++g) {
        const __m256i a = Bswap32Avx2(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 64 * g)));
        const __m256i b = Bswap32Avx2(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 64 * g + 32)));
        l[g] = _mm256_castps_si256(
            _mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), _MM_SHUFFLE(2, 0, 2, 0)));
        r[g] = _mm256_castps_si256(
            _mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), _MM_SHUFFLE(3, 1, 3, 1)));
    }
    const __m256i k0 = _mm256_set1_epi32(static_cast<int>(key.k[0]));
    const __m256i k1 = _mm256_set1_epi32(static_cast<int>(key.k[1]));
    const __m256i k2 = _mm256_set1_epi32(static_cast<int>(key.k[2]));
    const __m256i k3 = _mm256_set1_epi32(static_cast<int>(key.k[3]));
    std::uint32_t sum = kDecryptSum;
    for (int cycle = 0; cycle < 32; ++cycle) {
        const __m256i s = _mm256_set1_epi32(static_cast<int>(sum));
        for (int g = 0; g < U; ++g) {
            const __m256i f = _mm256_xor_si256(
                _mm256_xor_si256(_mm256_add_epi32(_mm256_slli_epi32(l[g], 4), k2), _mm256_add_epi32(l[g], s)),
                _mm256_add_epi32(_mm256_srli_epi32(l[g], 5), k3));
            r[g] = _mm256_sub_epi32(r[g], f);
        }
        for (int g = 0; g < U; ++g) {
            const __m256i f = _mm256_xor_si256(
                _mm256_xor_si256(_mm256_add_epi32(_mm256_slli_epi32(r[g], 4), k0), _mm256_add_epi32(r[g], s)),
                _mm256_add_epi32(_mm256_srli_epi32(r[g], 5), k1));
            l[g] = _mm256_sub_epi32(l[g], f);
        }
        sum -= kDelta;
    }
    for (int g = U - 1; g >= 0; --g) {
        const __m256i a = Bswap32Avx2(_mm256_unpacklo_epi32(l[g], r[g]));
        const __m256i b = Bswap32Avx2(_mm256_unpackhi_epi32(l[g], r[g]));
        const __m256i pa = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 64 * g - 8));
        const __m256i pb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 64 * g + 24));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 64 * g), _mm256_xor_si256(a, pa));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 64 * g + 32), _mm256_xor_si256(b, pb));
    }
}

VW_AVX2 void BatchAvx2(std::uint8_t* p, const KeyWords& key) noexcept {
    DecryptGroupsAvx2<kUnrollAvx2>(p, key);
}
VW_AVX2 void GroupAvx2(std::uint8_t* p, const KeyWords& key) noexcept {
    DecryptGroupsAvx2<1>(p, key);
}

// ---------------------------------------------------------------------------------------------
// AVX-512 (F + BW): 16 blocks per group, three-way XOR in one instruction
// ---------------------------------------------------------------------------------------------

#define VW_AVX512 __attribute__((target("avx512f,avx512bw")))

// The all-lanes mask: the zero-masking forms compile to the plain instructions, and unlike the
// unmasked intrinsics of some compilers they start from a defined value (no -Wuninitialized).
constexpr __mmask16 kAll = 0xFFFF;

VW_AVX512 inline __m512i Bswap32Avx512(__m512i x) {
    const __m512i order =
        _mm512_set_epi64(0x0C0D0E0F08090A0BLL, 0x0405060700010203LL, 0x0C0D0E0F08090A0BLL, 0x0405060700010203LL,
                         0x0C0D0E0F08090A0BLL, 0x0405060700010203LL, 0x0C0D0E0F08090A0BLL, 0x0405060700010203LL);
    return _mm512_shuffle_epi8(x, order);
}

template <int U> VW_AVX512 void DecryptGroupsAvx512(std::uint8_t* p, const KeyWords& key) noexcept {
    __m512i l[U], r[U];
    for (int g = 0; g < U; ++g) {
        const __m512i a = Bswap32Avx512(_mm512_loadu_si512(p + 128 * g));
        const __m512i b = Bswap32Avx512(_mm512_loadu_si512(p + 128 * g + 64));
        l[g] = _mm512_castps_si512(
            _mm512_shuffle_ps(_mm512_castsi512_ps(a), _mm512_castsi512_ps(b), _MM_SHUFFLE(2, 0, 2, 0)));
        r[g] = _mm512_castps_si512(
            _mm512_shuffle_ps(_mm512_castsi512_ps(a), _mm512_castsi512_ps(b), _MM_SHUFFLE(3, 1, 3, 1)));
    }
    const __m512i k0 = _mm512_set1_epi32(static_cast<int>(key.k[0]));
    const __m512i k1 = _mm512_set1_epi32(static_cast<int>(key.k[1]));
    const __m512i k2 = _mm512_set1_epi32(static_cast<int>(key.k[2]));
    const __m512i k3 = _mm512_set1_epi32(static_cast<int>(key.k[3]));
    std::uint32_t sum = kDecryptSum;
    for (int cycle = 0; cycle < 32; ++cycle) {
        const __m512i s = _mm512_set1_epi32(static_cast<int>(sum));
        for (int g = 0; g < U; ++g) {
            const __m512i f = _mm512_ternarylogic_epi32(
                _mm512_add_epi32(_mm512_maskz_slli_epi32(kAll, l[g], 4), k2), _mm512_add_epi32(l[g], s),
                _mm512_add_epi32(_mm512_maskz_srli_epi32(kAll, l[g], 5), k3), 0x96);
            r[g] = _mm512_sub_epi32(r[g], f);
        }
        for (int g = 0; g < U; ++g) {
            const __m512i f = _mm512_ternarylogic_epi32(
                _mm512_add_epi32(_mm512_maskz_slli_epi32(kAll, r[g], 4), k0), _mm512_add_epi32(r[g], s),
                _mm512_add_epi32(_mm512_maskz_srli_epi32(kAll, r[g], 5), k1), 0x96);
            l[g] = _mm512_sub_epi32(l[g], f);
        }
        sum -= kDelta;
    }
    for (int g = U - 1; g >= 0; --g) {
        const __m512i a = Bswap32Avx512(_mm512_maskz_unpacklo_epi32(kAll, l[g], r[g]));
        const __m512i b = Bswap32Avx512(_mm512_maskz_unpackhi_epi32(kAll, l[g], r[g]));
        const __m512i pa = _mm512_loadu_si512(p + 128 * g - 8);
        const __m512i pb = _mm512_loadu_si512(p + 128 * g + 56);
        _mm512_storeu_si512(p + 128 * g, _mm512_xor_si512(a, pa));
        _mm512_storeu_si512(p + 128 * g + 64, _mm512_xor_si512(b, pb));
    }
}

VW_AVX512 void BatchAvx512(std::uint8_t* p, const KeyWords& key) noexcept {
    DecryptGroupsAvx512<kUnrollAvx512>(p, key);
}
VW_AVX512 void GroupAvx512(std::uint8_t* p, const KeyWords& key) noexcept {
    DecryptGroupsAvx512<1>(p, key);
}

// ---------------------------------------------------------------------------------------------
// Encryption of independent chains, one per lane
// ---------------------------------------------------------------------------------------------

// One chain per 32-bit lane, so the round is the textbook one on whole vectors (the compiler's
// vector extensions give the instructions of the function's target); two vectors side by side,
// as the round is one long dependency chain. The lanes' blocks sit in different buffers and are
// gathered word by word, which costs little against the 64 half-rounds of a block.
#define VW_ENCRYPT_LANES(W)                                                                                            \
    using Vec = std::uint32_t __attribute__((vector_size(4 * (W))));                                                   \
    Vec l[2], r[2];                                                                                                    \
    for (int v = 0; v < 2; ++v)                                                                                        \
        for (int i = 0; i < (W); ++i) {                                                                                \
            l[v][i] = chains[v * (W) + i].left;                                                                        \
            r[v][i] = chains[v * (W) + i].right;                                                                       \
        }                                                                                                              \
    const Vec k0 = Vec{} + key.k[0], k1 = Vec{} + key.k[1], k2 = Vec{} + key.k[2], k3 = Vec{} + key.k[3];              \
    for (std::size_t off = 0; off < blocks * kBlockSize; off += kBlockSize) {                                          \
        for (int v = 0; v < 2; ++v)                                                                                    \
            for (int i = 0; i < (W); ++i) {                                                                            \
                l[v][i] ^= LoadBE32(lanes[v * (W) + i] + off);                                                         \
                r[v][i] ^= LoadBE32(lanes[v * (W) + i] + off + 4);                                                     \
            }                                                                                                          \
        Vec a = l[0], b = r[0], c = l[1], d = r[1];                                                                    \
        std::uint32_t sum = 0;                                                                                         \
        for (int cycle = 0; cycle < 32; ++cycle) {                                                                     \
            sum += kDelta;                                                                                             \
            a += ((b << 4) + k0) ^ (b + sum) ^ ((b >> 5) + k1);                                                        \
            c += ((d << 4) + k0) ^ (d + sum) ^ ((d >> 5) + k1);                                                        \
            b += ((a << 4) + k2) ^ (a + sum) ^ ((a >> 5) + k3);                                                        \
            d += ((c << 4) + k2) ^ (c + sum) ^ ((c >> 5) + k3);                                                        \
        }                                                                                                              \
        l[0] = a, r[0] = b, l[1] = c, r[1] = d;                                                                        \
        for (int v = 0; v < 2; ++v)                                                                                    \
            for (int i = 0; i < (W); ++i) {                                                                            \
                StoreBE32(lanes[v * (W) + i] + off, l[v][i]);                                                          \
                StoreBE32(lanes[v * (W) + i] + off + 4, r[v][i]);                                                      \
            }                                                                                                          \
    }                                                                                                                  \
    for (int v = 0; v < 2; ++v)                                                                                        \
        for (int i = 0; i < (W); ++i)                                                                                  \
            chains[v * (W) + i] = Chain{l[v][i], r[v][i]};

} // namespace

VW_SSE2 void CbcEncryptLanesSse2(std::uint8_t* const* lanes, Chain* chains, std::size_t blocks,
                                 const KeyWords& key) noexcept {VW_ENCRYPT_LANES(4)}

VW_AVX2 void CbcEncryptLanesAvx2(std::uint8_t* const* lanes, Chain* chains, std::size_t blocks,
                                 const KeyWords& key) noexcept {VW_ENCRYPT_LANES(8)}

VW_AVX512 void CbcEncryptLanesAvx512(std::uint8_t* const* lanes, Chain* chains, std::size_t blocks,
                                     const KeyWords& key) noexcept {
    VW_ENCRYPT_LANES(16)
}

void CbcDecryptSse2(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept {
    CbcDecryptBackwards<4, kUnrollSse2, BatchSse2, GroupSse2>(data, size, key, chain);
}

void CbcDecryptAvx2(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept {
    CbcDecryptBackwards<8, kUnrollAvx2, BatchAvx2, GroupAvx2>(data, size, key, chain);
}

void CbcDecryptAvx512(std::uint8_t* data, std::size_t size, const KeyWords& key, Chain& chain) noexcept {
    CbcDecryptBackwards<16, kUnrollAvx512, BatchAvx512, GroupAvx512>(data, size, key, chain);
}

bool CpuHasSse2() noexcept {
    return __builtin_cpu_supports("sse2");
}
bool CpuHasAvx2() noexcept {
    return __builtin_cpu_supports("avx2");
}
bool CpuHasAvx512() noexcept {
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
}

} // namespace vaultwing::tea::detail

#endif // VAULTWING_TEA_X86
