// The TEA block function and key words; every fast CBC path against the textbook scalar
// kernels, which Crypto++ checks through the cipher object's frames.
#include "cipher/Cbc.h"

#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace vaultwing::tea {
namespace {

TEST(TeaBlock, PublishedVectorAllZero) {
    std::uint32_t l = 0, r = 0;
    EncryptBlock(l, r, KeyWords{});
    EXPECT_EQ((std::pair{l, r}), (std::pair{0x41EA3A0Au, 0x94BAA940u}));
    DecryptBlock(l, r, KeyWords{});
    EXPECT_EQ((std::pair{l, r}), (std::pair{0u, 0u}));
}

// Key bytes: Windows-1252, one byte per character, zero-padded, the first 16, big-endian words.
TEST(TeaBlock, KeyWordsFromPassword) {
    const std::pair<const char*, std::array<std::uint32_t, 4>> cases[] = {
        {"", {0, 0, 0, 0}},
        {"secret", {0x73656372, 0x65740000, 0, 0}},
        {"\xC3\xA4\xC3\xB6\xC3\xBC\xE2\x82\xAC", {0xE4F6FC80, 0, 0, 0}}, // ä ö ü €: E4 F6 FC 80
        {"\xE4\xB8\xAD", {0x3F000000, 0, 0, 0}},                         // not in the code page: '?'
        // 16 two-byte UTF-8 characters still give 16 key bytes, not 32
        {"\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4"
         "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4X",
         {0xE4E4E4E4, 0xE4E4E4E4, 0xE4E4E4E4, 0xE4E4E4E4}},
    };
    for (const auto& [password, words] : cases)
        EXPECT_EQ(KeyFromPassword(password).k, words) << password;
}

using CbcFn = std::function<void(std::uint8_t*, std::size_t, const KeyWords&, Chain&)>;

// `tested` against `reference` from a random key and chain on every length up to 64 blocks
// (beyond four AVX-512 groups) and large odd ones: the bytes, the chain carried out and the
// guard bytes around the buffer must all agree.
::testing::AssertionResult SameAsReference(std::uint32_t seed, const CbcFn& reference, const CbcFn& tested) {
    constexpr std::size_t kGuard = 64;
    std::vector<std::size_t> counts{65, 127, 128, 129, 255, 256, 257, 1000, 4097, 65537};
    for (std::size_t n = 0; n <= 64; ++n)
        counts.push_back(n);
    for (const std::size_t blocks : counts) {
        std::mt19937 gen(seed++);
        std::vector<std::uint8_t> expected(blocks * kBlockSize + 2 * kGuard);
        for (auto& b : expected)
            b = static_cast<std::uint8_t>(gen());
        auto got = expected;
        KeyWords key; // key and starting chain from the leading guard bytes
        for (std::size_t w = 0; w < 4; ++w)
            key.k[w] = LoadBE32(&expected[4 * w]);
        Chain expectedChain{LoadBE32(&expected[16]), LoadBE32(&expected[20])}, gotChain = expectedChain;
        reference(expected.data() + kGuard, blocks * kBlockSize, key, expectedChain);
        tested(got.data() + kGuard, blocks * kBlockSize, key, gotChain);
        if (got != expected) return ::testing::AssertionFailure() << blocks << " blocks: bytes differ";
        if (gotChain.left != expectedChain.left || gotChain.right != expectedChain.right)
            return ::testing::AssertionFailure() << blocks << " blocks: chain carried out differs";
    }
    return ::testing::AssertionSuccess();
}

class DecryptKernels : public ::testing::TestWithParam<DecryptKernel> {};

// Alone on the calling thread, then chosen for CbcDecrypt and split across threads.
TEST_P(DecryptKernels, EqualToScalarOnEveryLengthAndSplit) {
    if (!KernelAvailable(GetParam())) GTEST_SKIP() << KernelName(GetParam()) << " not available here";
    EXPECT_TRUE(
        SameAsReference(1, CbcDecryptScalar, [this](std::uint8_t* d, std::size_t n, const KeyWords& k, Chain& c) {
            CbcDecryptWith(GetParam(), d, n, k, c);
        }));
    for (const unsigned threads : {2u, 3u, 7u}) {
        const DecryptSetup setup{GetParam(), threads, kBlockSize};
        EXPECT_EQ(ChosenKernel(setup), GetParam());
        EXPECT_TRUE(SameAsReference(
            threads * 1000, CbcDecryptScalar,
            [&](std::uint8_t* d, std::size_t n, const KeyWords& k, Chain& c) { CbcDecrypt(d, n, k, c, setup); }))
            << threads << " threads";
    }
}

INSTANTIATE_TEST_SUITE_P(All, DecryptKernels,
                         ::testing::Values(DecryptKernel::Scalar, DecryptKernel::Sse2, DecryptKernel::Avx2,
                                           DecryptKernel::Avx512),
                         [](const auto& tp) { return std::string(KernelName(tp.param)); });

TEST(EncryptKernels, ShortenedRoundEqualsScalarOnEveryLength) {
    EXPECT_TRUE(SameAsReference(5000, CbcEncryptScalar, CbcEncryptFast));
}

} // namespace
} // namespace vaultwing::tea
