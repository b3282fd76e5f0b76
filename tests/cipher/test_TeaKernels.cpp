// Every fast path against the textbook scalar kernels and against Crypto++: vector kernels on
// lengths that fill and do not fill their width, splits across threads, the shortened
// encryption round.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "cipher/CipherTestData.h"
#include "cipher/Cbc.h"

#ifdef VAULTWING_HAVE_CRYPTOPP
#include <cryptopp/modes.h>
#include <cryptopp/tea.h>
#endif

namespace vaultwing::tea {
namespace {

using Bytes = std::vector<std::uint8_t>;

using test::RandomBytes;

KeyWords RandomKey(std::uint32_t seed) {
    std::mt19937 gen(seed ^ 0x5bd1e995u);
    KeyWords key;
    for (auto& w : key.k)
        w = gen();
    return key;
}

Chain RandomChain(std::uint32_t seed) {
    std::mt19937 gen(seed ^ 0x1234567u);
    const auto left = static_cast<std::uint32_t>(gen());
    return Chain{left, static_cast<std::uint32_t>(gen())};
}

// Lengths in blocks: every one up to 64 (beyond four AVX-512 groups), then large odd ones.
std::vector<std::size_t> BlockCounts() {
    std::vector<std::size_t> counts;
    for (std::size_t n = 0; n <= 64; ++n)
        counts.push_back(n);
    for (std::size_t n : {65u, 127u, 128u, 129u, 255u, 256u, 257u, 1000u, 4097u, 65537u})
        counts.push_back(n);
    return counts;
}

using CbcFn = std::function<void(std::uint8_t*, std::size_t, const KeyWords&, Chain&)>;

// `tested` against `reference` on the same random buffer, key and starting chain: bytes and the
// chain carried out must both agree.
::testing::AssertionResult SameAsReference(std::size_t blocks, std::uint32_t seed, const CbcFn& reference,
                                           const CbcFn& tested) {
    const KeyWords key = RandomKey(seed);
    Bytes expected = RandomBytes(blocks * kBlockSize, seed), got = expected;
    Chain expectedChain = RandomChain(seed), gotChain = expectedChain;
    reference(expected.data(), expected.size(), key, expectedChain);
    tested(got.data(), got.size(), key, gotChain);
    if (got != expected) return ::testing::AssertionFailure() << blocks << " blocks: bytes differ";
    if (gotChain.left != expectedChain.left || gotChain.right != expectedChain.right)
        return ::testing::AssertionFailure() << blocks << " blocks: chain carried out differs";
    return ::testing::AssertionSuccess();
}

// Restores the process-wide kernel choice and thread split after a test.
struct KernelSettingsGuard {
    Parallelism saved = CurrentParallelism();
    ~KernelSettingsGuard() {
        ResetKernel();
        SetParallelism(saved);
    }
};

class DecryptKernels : public ::testing::TestWithParam<DecryptKernel> {
protected:
    void SetUp() override {
        if (!KernelAvailable(GetParam())) GTEST_SKIP() << KernelName(GetParam()) << " not available here";
    }
    KernelSettingsGuard guard;
};

TEST_P(DecryptKernels, EqualToScalarOnEveryLengthWithChainCarried) {
    const CbcFn kernel = [this](std::uint8_t* d, std::size_t n, const KeyWords& k, Chain& c) {
        CbcDecryptWith(GetParam(), d, n, k, c);
    };
    for (const std::size_t blocks : BlockCounts())
        ASSERT_TRUE(SameAsReference(blocks, static_cast<std::uint32_t>(blocks), CbcDecryptScalar, kernel));
}

// The vector kernels must not read or write outside the buffer: the bytes around it stay.
TEST_P(DecryptKernels, TouchesOnlyTheBuffer) {
    const KeyWords key = RandomKey(77);
    for (const std::size_t blocks : {std::size_t{1}, std::size_t{17}, std::size_t{64}, std::size_t{65}}) {
        Bytes padded = RandomBytes(blocks * kBlockSize + 256, 5);
        const Bytes before = padded;
        Chain chain;
        CbcDecryptWith(GetParam(), padded.data() + 128, blocks * kBlockSize, key, chain);
        EXPECT_TRUE(std::equal(before.begin(), before.begin() + 128, padded.begin()));
        EXPECT_TRUE(std::equal(before.end() - 128, before.end(), padded.end() - 128));
    }
}

TEST_P(DecryptKernels, ForcedKernelSplitAcrossThreadsEqualsScalar) {
    ASSERT_TRUE(ForceKernel(GetParam()));
    EXPECT_EQ(ActiveKernel(), GetParam());
    for (const unsigned threads : {2u, 3u, 4u, 7u}) {
        SetParallelism(Parallelism{threads, kBlockSize});
        for (const std::size_t blocks : BlockCounts()) {
            const auto seed = static_cast<std::uint32_t>(blocks * 31 + threads);
            ASSERT_TRUE(SameAsReference(blocks, seed, CbcDecryptScalar, CbcDecrypt)) << threads << " threads";
        }
    }
}

#ifdef VAULTWING_HAVE_CRYPTOPP
TEST_P(DecryptKernels, AgreeWithCryptopp) {
    ASSERT_TRUE(ForceKernel(GetParam()));
    SetParallelism(Parallelism{0, 4096});
    for (const std::size_t blocks : {std::size_t{3}, std::size_t{64}, std::size_t{1001}, std::size_t{200003}}) {
        const KeyWords key = RandomKey(static_cast<std::uint32_t>(blocks));
        const Bytes plain = RandomBytes(blocks * kBlockSize, 3);
        std::uint8_t keyBytes[kKeySize];
        for (std::size_t w = 0; w < 4; ++w)
            StoreBE32(keyBytes + 4 * w, key.k[w]);
        const std::uint8_t iv[8] = {};
        Bytes cipher(plain.size());
        CryptoPP::CBC_Mode<CryptoPP::TEA>::Encryption mode(keyBytes, sizeof keyBytes, iv);
        mode.ProcessData(cipher.data(), plain.data(), plain.size());
        Chain chain;
        CbcDecrypt(cipher.data(), cipher.size(), key, chain);
        ASSERT_EQ(cipher, plain) << blocks;
    }
}
#endif

INSTANTIATE_TEST_SUITE_P(All, DecryptKernels,
                         ::testing::Values(DecryptKernel::Scalar, DecryptKernel::Sse2, DecryptKernel::Avx2,
                                           DecryptKernel::Avx512),
                         [](const auto& tp) { return std::string(KernelName(tp.param)); });

TEST(DecryptKernelChoice, WidestAvailableUnlessForced) {
    KernelSettingsGuard guard;
    const DecryptKernel best = ActiveKernel();
    EXPECT_TRUE(KernelAvailable(best));
    for (const auto wider : {DecryptKernel::Avx512, DecryptKernel::Avx2, DecryptKernel::Sse2}) {
        if (wider == best) break;
        EXPECT_FALSE(KernelAvailable(wider)) << KernelName(wider) << " available but not chosen";
    }
    EXPECT_TRUE(ForceKernel(DecryptKernel::Scalar));
    EXPECT_EQ(ActiveKernel(), DecryptKernel::Scalar);
    ResetKernel();
    EXPECT_EQ(ActiveKernel(), best);
}

TEST(DecryptThreads, OnlyLargeBuffersAreSplit) {
    KernelSettingsGuard guard;
    SetParallelism(Parallelism{4, 1000});
    EXPECT_EQ(DecryptThreadsFor(0), 1u);
    EXPECT_EQ(DecryptThreadsFor(1999), 1u);
    EXPECT_EQ(DecryptThreadsFor(2000), 2u);
    EXPECT_EQ(DecryptThreadsFor(1000000), 4u);
    SetParallelism(Parallelism{1, 8});
    EXPECT_EQ(DecryptThreadsFor(1000000), 1u);
}

TEST(EncryptKernels, ShortenedRoundEqualsScalarOnEveryLength) {
    for (const std::size_t blocks : BlockCounts())
        ASSERT_TRUE(
            SameAsReference(blocks, static_cast<std::uint32_t>(blocks + 1000), CbcEncryptScalar, CbcEncryptFast));
}

} // namespace
} // namespace vaultwing::tea
