#include "cipher/Cipher.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <thread>
#include <tuple>

#include "base/VwxError.h"
#include "cipher/Frame.h"
#include "config/LangIndices.h"
#include "config/LangTable.h"
#include "files/CipherMessages.h"
#include "platform/platform.h"
#include "support/TempDir.h"

#ifdef VAULTWING_HAVE_CRYPTOPP
#include <cryptopp/modes.h>
#include <cryptopp/tea.h>
#endif

namespace vaultwing {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;
using Bytes = std::vector<std::uint8_t>;

// `size` bytes from a seeded generator: the same bytes for the same seed on every run.
Bytes RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 gen(seed);
    Bytes bytes(size);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(gen());
    return bytes;
}

// The progress rule applied after every single block of a pass over `total` bytes: the
// reference every streamed or chunked pass must reproduce.
std::vector<int> ReferenceProgress(std::uint64_t total) {
    std::vector<int> events;
    const double n = static_cast<double>(total);
    double nextAt = 0;
    for (std::uint64_t off = 0; off < total; off += 8)
        if (static_cast<double>(off) >= nextAt) {
            events.push_back(static_cast<int>(std::floor(static_cast<double>(off) / n * 100.0)));
            nextAt = std::nearbyint(static_cast<double>(events.back() + 1) / 100.0 * n + 1.0);
        }
    if (events.back() != 100) events.push_back(100);
    return events;
}

std::string AsString(const Bytes& b) {
    return {b.begin(), b.end()};
}

class CipherTest : public ::testing::Test {
protected:
    // What `op` raises: a failure's message and source as a run words it, another exception's text.
    std::string Raised(const std::function<void()>& op) const {
        try {
            op();
        } catch (const CipherFailure& failure) {
            const VwxError e = CipherError(failure, texts);
            EXPECT_EQ(e.Number(), kCipherErrorNumber);
            return e.Description() + ":" + e.Source();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "no error";
    }
    CipherTest() {
        texts.Set(lang::kSourceMissing, "missing");
        texts.Set(lang::kFileTooLarge, "too large");
        tea.Progress = [this](int p) { events.push_back(p); };
    }
    LangTable texts;
    Cipher tea;
    std::vector<int> events;
    test::TempDir dir;
    // Files in the folder: a temporary file left behind shows here.
    [[nodiscard]] std::size_t Files() const { return test::Names(dir.Path()).size(); }
};

// The length field holds at most 2,147,483,647: the largest frame it fits is 2,147,483,664 bytes.
TEST(Frame, LongestLengthFitsOnlyItsOwnFrame) {
    EXPECT_EQ(tea::FramedSize(INT32_MAX), 2147483664u);
    EXPECT_TRUE(tea::LengthFits(INT32_MAX, 2147483664u));
    EXPECT_FALSE(tea::LengthFits(INT32_MAX, 2147483648u));
}

class ByteArrays : public CipherTest, public ::testing::WithParamInterface<std::size_t> {};

// The frame as a second implementation deciphers it with the key bytes written out by hand;
// fresh random values every time; the key stays in force; progress by the rule both ways.
TEST_P(ByteArrays, FrameRoundTripAndProgress) {
    const Bytes plain = RandomBytes(GetParam(), 9);
    Bytes data = plain, again = plain;
    tea.EncryptBytes(data, "G\xC3\xBCnter!"); // "Günter!": ü is one byte, 0xFC
    const std::uint64_t framed = tea::FramedSize(plain.size());
    ASSERT_EQ(data.size(), framed);
    EXPECT_EQ(events, ReferenceProgress(framed));
    tea.EncryptBytes(again);
    EXPECT_NE(data, again);
#ifdef VAULTWING_HAVE_CRYPTOPP
    const std::uint8_t key[16] = {'G', 0xFC, 'n', 't', 'e', 'r', '!'}, iv[8] = {};
    Bytes frame = data;
    CryptoPP::CBC_Mode<CryptoPP::TEA>::Decryption(key, 16, iv).ProcessData(frame.data(), frame.data(), frame.size());
    EXPECT_LE(std::max(tea::LoadLE32(&frame[0]), tea::LoadLE32(&frame[4])), 2147483647u);
    EXPECT_EQ(tea::LoadLE32(&frame[8]), plain.size()); // little-endian inside big-endian blocks
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), frame.begin() + 12));
    EXPECT_TRUE(std::all_of(frame.begin() + 12 + static_cast<std::ptrdiff_t>(plain.size()), frame.end(),
                            [](std::uint8_t b) { return b == 0; }));
#endif
    events.clear();
    tea.DecryptBytes(again);
    EXPECT_EQ(again, plain);
    EXPECT_EQ(events, ReferenceProgress(framed));
    for (const int stopAt : {0, 50, 100}) { // a receiver that cancels gets back the array as it was
        tea.Progress = [stopAt](int p) {
            if (p >= stopAt) throw std::runtime_error("stop");
        };
        Bytes copy = plain;
        EXPECT_EQ(Raised([&] { tea.EncryptBytes(copy); }), "stop");
        EXPECT_EQ(copy, plain) << stopAt;
        EXPECT_EQ(Raised([&] { tea.DecryptBytes(copy = data); }), "stop");
        EXPECT_EQ(copy, data) << stopAt;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ByteArrays, ::testing::Values(0, 1, 4, 5, 12, 13, 20, 1000, 100003));

// The random values, the length, the padding and the moved plaintext tail are deciphered
// secrets: cutting the array to the plaintext must leave zeros in the capacity it gives up.
TEST_F(CipherTest, DecryptBytesWipesTheFrameFromTheSpareCapacity) {
    Bytes data(100, 0xA5);
    tea.EncryptBytes(data, "k");
    const std::size_t framed = data.size();
    tea.DecryptBytes(data);
    ASSERT_GE(data.capacity(), framed);
    const volatile std::uint8_t* spare = data.data();
    for (std::size_t i = data.size(); i < framed; ++i)
        EXPECT_EQ(spare[i], 0) << "byte " << i;
}

// Damage every decryption must refuse as a wrong password, leaving the array as it was and,
// for files, refused before anything is written: the destination neither created nor changed.
TEST_F(CipherTest, DamagedInputIsRefusedAsAWrongPasswordLeavingEverythingAsItWas) {
    Bytes good = RandomBytes(333, 3); // 352 bytes encrypted
    tea.EncryptBytes(good, "right one");
    texts.Set(lang::kWrongPassword, "Falsches Passwort"); // the text current at the failure counts
    const std::string src = dir / "in.vwx", dst = dir / "out";
    // Size (cut or extended with zeros), a byte changed (or -1), the password.
    const std::tuple<std::size_t, int, const char*> cases[] = {
        {352, -1, "wrong one"}, {0, -1, "right one"},   {8, -1, "right one"},  {345, -1, "right one"},
        {344, -1, "right one"}, {360, -1, "right one"}, {352, 0, "right one"}, {352, 9, "right one"}};
    for (const auto& [size, flip, password] : cases) {
        SCOPED_TRACE(std::to_string(size) + " bytes, changed at " + std::to_string(flip));
        Bytes bad = good, data;
        bad.resize(size);
        if (flip >= 0) bad[static_cast<std::size_t>(flip)] ^= 0x01;
        events.clear();
        EXPECT_EQ(Raised([&] { tea.DecryptBytes(data = bad, password); }), "Falsches Passwort:Cipher.DecryptByte");
        EXPECT_EQ(data, bad);
        EXPECT_TRUE(events.empty() || events.back() != 100);
        events.clear();
        WriteFile(src, AsString(bad));
        fs::remove(dst);
        const auto decrypt = [&] { tea.DecryptFile(src, dst, password); };
        EXPECT_EQ(Raised(decrypt), "Falsches Passwort:Cipher.DecryptFile");
        EXPECT_FALSE(fs::exists(dst));
        EXPECT_EQ(Files(), 1u);
        EXPECT_TRUE(events.empty());
    }
}

// Frames one block short of, equal to and beyond one, two and three half-buffers, with every
// amount of padding, then many chunks: the file is the whole-buffer encrypted form, and progress
// follows the rule on the calling thread.
TEST_F(CipherTest, FilesAgreeWithWholeBuffersAroundEveryChunkBoundary) {
    std::vector<std::pair<std::size_t, std::size_t>> cases{{std::size_t{1} << 16, 1000000}}; // buffer, plain
    for (const std::size_t buffer : {16u, 24u, 64u, 4096u})
        for (const std::size_t framed : std::set{buffer - 8, buffer, buffer + 8, 2 * buffer + 8, 3 * buffer - 8})
            for (std::size_t pad = 0; pad < 8; ++pad)
                if (framed >= 12 + pad + 1) cases.emplace_back(buffer, framed - 12 - pad);
    tea.Progress = [&, caller = std::this_thread::get_id()](int p) {
        EXPECT_EQ(std::this_thread::get_id(), caller) << "progress raised off the calling thread";
        events.push_back(p);
    };
    const std::string src = dir / "plain.bin", enc = dir / "plain.bin.vwx", dec = dir / "back.bin";
    for (const auto& [buffer, plainSize] : cases) {
        SCOPED_TRACE("buffer " + std::to_string(buffer) + ", " + std::to_string(plainSize) + " bytes");
        tea.SetStreamBufferSize(buffer);
        const Bytes plain = RandomBytes(plainSize, static_cast<std::uint32_t>(plainSize));
        WriteFile(src, AsString(plain));
        fs::remove(enc), fs::remove(dec); // an output never replaces a file
        events.clear();
        tea.EncryptFile(src, enc, "stream password");
        const auto expectedEvents = ReferenceProgress(tea::FramedSize(plainSize));
        EXPECT_EQ(events, expectedEvents);
        const std::string cipher = ReadFile(enc);
        Bytes whole(cipher.begin(), cipher.end());
        tea.DecryptBytes(whole);
        EXPECT_EQ(whole, plain);
        events.clear();
        tea.DecryptFile(enc, dec);
        EXPECT_EQ(events, expectedEvents);
        EXPECT_EQ(ReadFile(dec), AsString(plain));
        EXPECT_EQ(Files(), 3u);
    }
}

// Refused before the pass, or failing part-way with chunks already written: no destination and
// no temporary file is left; an existing destination is never replaced. A source that grows would be stored cut
// short, and the run may destroy it afterwards: a failure too.
TEST_F(CipherTest, FailedFileOperationsLeaveTheDestinationAsItWas) {
    tea.SetStreamBufferSize(64);
    const std::string plain = dir / "p.bin", enc = dir / "p.vwx", dst = dir / "dest";
    WriteFile(dir / "empty", "");
    WriteFile(dir / "big", "");
    fs::resize_file(dir / "big", 2147483636); // sparse: one byte more than the length field can hold
    [[maybe_unused]] const auto shrink = [](const std::string& path) { fs::resize_file(path, 1000); };
    [[maybe_unused]] const auto grow = [](const std::string& path) {
        std::ofstream(path, std::ios::app) << "appended";
    };
    const auto cancel = [](const std::string&) { throw std::runtime_error("cancelled"); };
    const std::string e = ":Cipher.EncryptFile", d = ":Cipher.DecryptFile",
                      io = platform::ErrorDescription(std::make_error_code(std::errc::io_error));
    // The source, what happens at 40 %, the failure expected.
    const std::tuple<const char*, std::function<void(const std::string&)>, std::string> cases[] = {
        {"missing", {}, "missing" + e}, {"missing.vwx", {}, "missing" + d}, {"empty", {}, "missing" + e},
        {"big", {}, "too large" + e},   {"p.bin", cancel, "cancelled"},     {"p.vwx", cancel, "cancelled"},
#ifndef _WIN32 // Windows lets nobody change a file while it is read
        {"p.bin", shrink, io + e},      {"p.vwx", shrink, io + d},          {"p.bin", grow, io + e},
        {"p.vwx", grow, io + d},
#endif
    };
    for (const auto& [source, atForty, expected] : cases) {
        WriteFile(plain, AsString(RandomBytes(5000, 6)));
        fs::remove(enc);
        tea.Progress = nullptr;
        tea.EncryptFile(plain, enc, "key");
        const std::string src = dir / source;
        tea.Progress = [&](int p) {
            if (p >= 40 && atForty) atForty(src);
        };
        const bool encrypt = !src.ends_with(".vwx");
        EXPECT_EQ(Raised([&] { encrypt ? tea.EncryptFile(src, dst) : tea.DecryptFile(src, dst); }), expected);
        EXPECT_FALSE(fs::exists(dst));
        EXPECT_EQ(Files(), 4u);
    }
    // An existing destination is never replaced (the many-files tests try more such files).
    tea.Progress = nullptr;
    const std::string exists = platform::ErrorDescription(std::make_error_code(std::errc::file_exists));
    EXPECT_EQ(Raised([&] { tea.DecryptFile(enc, plain); }), exists + d);
    EXPECT_EQ(Raised([&] { tea.EncryptFile(plain, plain); }), exists + e);
    EXPECT_EQ(Files(), 4u);
}

} // namespace
} // namespace vaultwing
