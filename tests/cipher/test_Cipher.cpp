#include "cipher/CipherTestData.h"
#include "cipher/Cipher.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "base/Cp1252.h"
#include "cipher/Cbc.h"
#include "cipher/Frame.h"
#include "base/VwxError.h"
#include "config/LangIndices.h"
#include "config/LangTable.h"
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
using test::TempDir;
using test::WriteFile;
using Bytes = std::vector<std::uint8_t>;

using test::RandomBytes;

std::string AsString(const Bytes& b) {
    return {b.begin(), b.end()};
}
Bytes AsBytes(const std::string& s) {
    return {s.begin(), s.end()};
}

using test::ReferenceProgress;

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class CipherTest : public ::testing::Test {
protected:
    CipherTest() {
        texts.Set(lang::kWrongPassword, "wrong password or damaged file");
        texts.Set(lang::kSourceMissing, "source missing");
        texts.Set(lang::kFileTooLarge, "file too large");
    }

    // Runs `op` and returns the VwxError it must raise.
    template <class Op> VwxError Raised(Op&& op) {
        try {
            op();
        } catch (const VwxError& e) {
            EXPECT_EQ(e.Number(), kCipherErrorNumber);
            return e;
        }
        ADD_FAILURE() << "no VwxError raised";
        return VwxError(0, "", "");
    }

    LangTable texts;
    TempDir dir;
};

// ---------------------------------------------------------------------------------------------
// Byte arrays and strings
// ---------------------------------------------------------------------------------------------

struct SizeCase {
    std::size_t plain;
    std::size_t framed;
};

class EncryptedSize : public CipherTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(EncryptedSize, FramedLengthAndRoundTrip) {
    Cipher tea(texts);
    const Bytes plain = RandomBytes(GetParam().plain, 9);
    Bytes data = plain;
    tea.EncryptByte(data, "password");
    EXPECT_EQ(data.size(), GetParam().framed);
    tea.DecryptByte(data);
    EXPECT_EQ(data, plain);
}

INSTANTIATE_TEST_SUITE_P(Table, EncryptedSize,
                         ::testing::Values(SizeCase{0, 16}, SizeCase{1, 16}, SizeCase{4, 16}, SizeCase{5, 24},
                                           SizeCase{12, 24}, SizeCase{13, 32}, SizeCase{20, 32}));

#ifdef VAULTWING_HAVE_CRYPTOPP
// The frame, deciphered by a second implementation with the key bytes written out by hand.
TEST_F(CipherTest, FrameDecipheredByCryptoppWithPasswordBytes) {
    Cipher tea(texts);
    const Bytes plain = RandomBytes(37, 4);
    Bytes data = plain;
    tea.EncryptByte(data, "G\xC3\xBCnter!"); // "Günter!": ü is one byte, 0xFC
    const std::uint8_t key[16] = {'G', 0xFC, 'n', 't', 'e', 'r', '!'};
    const std::uint8_t iv[8] = {};
    CryptoPP::CBC_Mode<CryptoPP::TEA>::Decryption mode(key, sizeof key, iv);
    Bytes frame(data.size());
    mode.ProcessData(frame.data(), data.data(), data.size());
    ASSERT_EQ(frame.size(), 56u);
    EXPECT_LE(tea::LoadLE32(&frame[0]), 2147483647u);
    EXPECT_LE(tea::LoadLE32(&frame[4]), 2147483647u);
    EXPECT_EQ(tea::LoadLE32(&frame[8]), 37u); // little-endian inside big-endian blocks
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), frame.begin() + 12));
    EXPECT_TRUE(std::all_of(frame.begin() + 49, frame.end(), [](std::uint8_t b) { return b == 0; }));
}
#endif

TEST_F(CipherTest, SameInputTwiceGivesDifferentCiphertextsThatBothDecrypt) {
    Cipher tea(texts);
    tea.Key("password");
    const Bytes plain(100, 0x41);
    Bytes a = plain, b = plain;
    tea.EncryptByte(a);
    tea.EncryptByte(b);
    EXPECT_NE(a, b);
    tea.DecryptByte(a);
    tea.DecryptByte(b);
    EXPECT_EQ(a, plain);
    EXPECT_EQ(b, plain);
}

TEST_F(CipherTest, RandomValuesDoNotMatterForDecryption) {
    Cipher tea(texts);
    tea.Key("k3y-words");
    Bytes framed(24, 0);
    tea::WriteHeader(framed.data(), tea::RandomPair{123, 2147483647}, 5);
    std::copy_n("hello", 5, framed.begin() + 12);
    for (std::uint32_t r : {0u, 77u, 2147483647u}) {
        Bytes data = framed;
        tea::StoreLE32(data.data(), r);
        Bytes cipher = data;
        tea::Chain chain;
        tea::CbcEncrypt(cipher.data(), cipher.size(), tea::KeyFromPassword("k3y-words"), chain);
        tea.DecryptByte(cipher);
        EXPECT_EQ(AsString(cipher), "hello");
    }
}

struct KeyPair {
    const char* name;
    const char* encryptWith; // nullptr: a new instance, never keyed
    const char* decryptWith;
};

class KeysThatAgree : public CipherTest, public ::testing::WithParamInterface<KeyPair> {};

TEST_P(KeysThatAgree, OneDecryptsWhatTheOtherEncrypted) {
    Cipher writer(texts), reader(texts);
    if (GetParam().encryptWith != nullptr) writer.Key(GetParam().encryptWith);
    reader.Key(GetParam().decryptWith);
    const Bytes plain = RandomBytes(50, 1);
    Bytes data = plain;
    writer.EncryptByte(data);
    reader.DecryptByte(data);
    EXPECT_EQ(data, plain);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeysThatAgree,
    ::testing::Values(KeyPair{"First16CharactersDecide", "0123456789abcdef-one", "0123456789abcdef-two"},
                      KeyPair{"EmptyIsTheNewInstanceKey", nullptr, ""}, KeyPair{"ShortIsZeroPadded", "abc", "abc"},
                      KeyPair{"NonAsciiThroughWindows1252", "\xE2\x82\xAC\xC3\xA4", "\xE2\x82\xAC\xC3\xA4"}),
    [](const auto& tp) { return std::string(tp.param.name); });

TEST_F(CipherTest, KeyArgumentStaysInForceEmptyArgumentKeepsIt) {
    Cipher tea(texts);
    const Bytes plain = RandomBytes(21, 2);
    Bytes data = plain;
    tea.EncryptByte(data, "first-key");
    tea.DecryptByte(data); // no argument: the key set by the last call
    EXPECT_EQ(data, plain);
    tea.EncryptByte(data, "");
    Cipher other(texts);
    other.DecryptByte(data, "first-key");
    EXPECT_EQ(data, plain);
}

TEST_F(CipherTest, WrongKeyRaisesTextSixHundredAndLeavesTheArray) {
    Cipher tea(texts);
    Bytes data = RandomBytes(333, 3);
    tea.EncryptByte(data, "right password");
    const Bytes cipher = data;
    std::vector<int> events;
    tea.Progress = [&](int p) { events.push_back(p); };
    const VwxError e = Raised([&] { tea.DecryptByte(data, "wrong password"); });
    EXPECT_EQ(e.Source(), "Cipher.DecryptByte");
    EXPECT_EQ(e.Description(), "wrong password or damaged file");
    EXPECT_EQ(data, cipher);
    ASSERT_FALSE(events.empty());
    EXPECT_NE(events.back(), 100); // the pass ran, the length check failed, no completion
}

TEST_F(CipherTest, DescriptionIsTheTextCurrentAtFailure) {
    Cipher tea(texts);
    Bytes data(7);
    texts.Set(lang::kWrongPassword, "Falsches Passwort");
    EXPECT_EQ(Raised([&] { tea.DecryptByte(data); }).Description(), "Falsches Passwort");
}

class MalformedCiphertext : public CipherTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(MalformedCiphertext, RejectedWithTextSixHundredUntouched) {
    Cipher tea(texts);
    const Bytes bad = RandomBytes(GetParam(), 8);
    Bytes data = bad;
    int events = 0;
    tea.Progress = [&](int) { ++events; };
    EXPECT_EQ(Raised([&] { tea.DecryptByte(data, "pw"); }).Description(), "wrong password or damaged file");
    EXPECT_EQ(data, bad);
    EXPECT_EQ(events, 0);

    const std::string src = dir / "bad.vwx", dst = dir / "bad";
    WriteFile(src, AsString(bad));
    const VwxError e = Raised([&] { tea.DecryptFile(src, dst, "pw"); });
    EXPECT_EQ(e.Source(), "Cipher.DecryptFile");
    EXPECT_EQ(e.Description(), "wrong password or damaged file");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"bad.vwx"});
}

INSTANTIATE_TEST_SUITE_P(Sizes, MalformedCiphertext, ::testing::Values(0, 1, 7, 8, 15, 17, 23, 31));

TEST_F(CipherTest, StringsPassThroughWindows1252OneBytePerCharacter) {
    Cipher tea(texts);
    const std::string text = "Gr\xC3\xBC\xC3\x9F"
                             "e \xE2\x82\xAC 100"; // "Grüße € 100": 11 characters
    const std::string cipher = tea.EncryptString(text, "string key");
    EXPECT_EQ(Utf8ToCp1252(cipher).size(), 24u); // 11 + 12 rounded up: one character per byte
    EXPECT_EQ(tea.DecryptString(cipher), text);
    EXPECT_EQ(tea.DecryptString(tea.EncryptString("")), "");
    const VwxError e = Raised([&] { (void)tea.DecryptString(cipher, "other key"); });
    EXPECT_EQ(e.Description(), "wrong password or damaged file");
    EXPECT_EQ(e.Source(), "Cipher.DecryptString");
}

TEST_F(CipherTest, ThrowingProgressReceiverLeavesTheArrayAsItWas) {
    Cipher tea(texts);
    const Bytes plain = RandomBytes(4000, 5);
    for (int stopAt : {0, 37, 100}) {
        const auto stop = [stopAt](int p) {
            if (p == stopAt) throw std::runtime_error("stop");
        };
        Bytes data = plain;
        tea.Progress = stop;
        EXPECT_THROW(tea.EncryptByte(data, "k"), std::runtime_error);
        EXPECT_EQ(data, plain) << stopAt;

        tea.Progress = nullptr;
        tea.EncryptByte(data);
        const Bytes cipher = data;
        tea.Progress = stop;
        EXPECT_THROW(tea.DecryptByte(data), std::runtime_error);
        EXPECT_EQ(data, cipher) << stopAt;
    }
}

struct ProgressCase {
    std::size_t plain;
    std::vector<int> events;
};

class ByteProgress : public CipherTest, public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(ByteProgress, EventsOfBothDirections) {
    Cipher tea(texts);
    std::vector<int> events;
    tea.Progress = [&](int p) { events.push_back(p); };
    Bytes data(GetParam().plain, 1);
    tea.EncryptByte(data, "pw");
    EXPECT_EQ(events, GetParam().events);
    events.clear();
    tea.DecryptByte(data);
    EXPECT_EQ(events, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(Table, ByteProgress,
                         ::testing::Values(ProgressCase{4, {0, 50, 100}}, ProgressCase{12, {0, 33, 66, 100}},
                                           ProgressCase{100000, ReferenceProgress(100016)}));

// ---------------------------------------------------------------------------------------------
// Files: streaming agrees with the whole-buffer operations around every chunk boundary
// ---------------------------------------------------------------------------------------------

struct StreamCase {
    std::size_t buffer;
    std::size_t plain;
};

std::vector<StreamCase> StreamCases() {
    std::vector<StreamCase> cases;
    for (std::size_t buffer : {16u, 24u, 64u, 4096u}) {
        for (std::size_t framed : {buffer - 8, buffer, buffer + 8, 2 * buffer, 2 * buffer + 8, 3 * buffer - 8}) {
            if (framed < 16) continue;
            for (std::size_t pad = 0; pad < 8; ++pad) {
                const StreamCase c{buffer, framed - 12 - pad};
                const bool seen = std::any_of(cases.begin(), cases.end(), [&](const StreamCase& o) {
                    return o.buffer == c.buffer && o.plain == c.plain;
                });
                if (framed >= 12 + pad + 1 && !seen) cases.push_back(c);
            }
        }
    }
    cases.push_back({std::size_t{1} << 16, 1000000}); // many chunks, about one event per chunk
    return cases;
}

class Streaming : public CipherTest, public ::testing::WithParamInterface<StreamCase> {};

TEST_P(Streaming, FilesAgreeWithWholeBufferBytesAndProgress) {
    const auto [buffer, plainSize] = GetParam();
    Cipher tea(texts, buffer);
    tea.Key("stream password");
    std::vector<int> events;
    const auto caller = std::this_thread::get_id();
    tea.Progress = [&](int p) {
        EXPECT_EQ(std::this_thread::get_id(), caller) << "progress raised off the calling thread";
        events.push_back(p);
    };
    const Bytes plain = RandomBytes(plainSize, static_cast<std::uint32_t>(plainSize));
    const std::string src = dir / "plain.bin", enc = dir / "plain.bin.vwx", dec = dir / "back.bin";
    WriteFile(src, AsString(plain));

    tea.EncryptFile(src, enc);
    const Bytes cipher = AsBytes(ReadFile(enc));
    const std::uint64_t framed = tea::FramedSize(plainSize);
    ASSERT_EQ(cipher.size(), framed);
    const auto expectedEvents = ReferenceProgress(framed);
    EXPECT_EQ(events, expectedEvents);

    // The whole-buffer CBC of the frame the file holds is the file, byte for byte.
    Bytes frame = cipher;
    tea::Chain d;
    tea::CbcDecryptScalar(frame.data(), frame.size(), tea::KeyFromPassword("stream password"), d);
    EXPECT_EQ(tea::LoadLE32(&frame[8]), plainSize);
    ASSERT_TRUE(std::equal(plain.begin(), plain.end(), frame.begin() + 12));
    EXPECT_TRUE(std::all_of(frame.begin() + static_cast<std::ptrdiff_t>(12 + plainSize), frame.end(),
                            [](std::uint8_t b) { return b == 0; }));
    Bytes again = frame;
    tea::Chain e;
    tea::CbcEncryptScalar(again.data(), again.size(), tea::KeyFromPassword("stream password"), e);
    EXPECT_EQ(again, cipher);

    // Whole-buffer encryption of the same length raises the same events.
    events.clear();
    Bytes whole = plain;
    tea.EncryptByte(whole);
    EXPECT_EQ(events, expectedEvents);

    events.clear();
    tea.DecryptFile(enc, dec);
    EXPECT_EQ(events, expectedEvents);
    EXPECT_EQ(AsBytes(ReadFile(dec)), plain);

    events.clear();
    Bytes wholeBack = cipher;
    tea.DecryptByte(wholeBack);
    EXPECT_EQ(events, expectedEvents);
    EXPECT_EQ(wholeBack, plain);
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"back.bin", "plain.bin", "plain.bin.vwx"}));
}

INSTANTIATE_TEST_SUITE_P(Boundaries, Streaming, ::testing::ValuesIn(StreamCases()), [](const auto& tp) {
    return "buf" + std::to_string(tp.param.buffer) + "_len" + std::to_string(tp.param.plain);
});

TEST_F(CipherTest, StreamBufferSizeIsRoundedAndBounded) {
    Cipher tea(texts);
    EXPECT_EQ(tea.StreamBufferSize(), Cipher::kDefaultStreamBuffer);
    tea.SetStreamBufferSize(30);
    EXPECT_EQ(tea.StreamBufferSize(), 24u);
    tea.SetStreamBufferSize(3);
    EXPECT_EQ(tea.StreamBufferSize(), 16u);
}

// ---------------------------------------------------------------------------------------------
// Files: failures leave the destination exactly as it was
// ---------------------------------------------------------------------------------------------

TEST_F(CipherTest, WrongPasswordNeverCreatesOrTouchesTheDestination) {
    Cipher tea(texts);
    const std::string src = dir / "a.txt", enc = dir / "a.txt.vwx", dst = dir / "a.out";
    WriteFile(src, std::string(5000, 'x'));
    tea.EncryptFile(src, enc, "right one");
    int events = 0;
    tea.Progress = [&](int) { ++events; };

    const VwxError e = Raised([&] { tea.DecryptFile(enc, dst, "wrong one"); });
    EXPECT_EQ(e.Source(), "Cipher.DecryptFile");
    EXPECT_EQ(e.Description(), "wrong password or damaged file");
    EXPECT_FALSE(fs::exists(dst));
    EXPECT_EQ(events, 0); // refused from the first two blocks, before the pass

    WriteFile(dst, "keep me");
    (void)Raised([&] { tea.DecryptFile(enc, dst, "wrong one"); });
    EXPECT_EQ(ReadFile(dst), "keep me");
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"a.out", "a.txt", "a.txt.vwx"}));

    tea.DecryptFile(enc, dst, "right one"); // an existing destination is replaced
    EXPECT_EQ(ReadFile(dst), std::string(5000, 'x'));
}

TEST_F(CipherTest, MissingOrEmptySourceIsTextSixHundredTwo) {
    Cipher tea(texts);
    const std::string missing = dir / "missing", empty = dir / "empty", dst = dir / "out";
    WriteFile(empty, "");
    EXPECT_EQ(Raised([&] { tea.EncryptFile(missing, dst, "k"); }).Description(), "source missing");
    EXPECT_EQ(Raised([&] { tea.EncryptFile(empty, dst, "k"); }).Description(), "source missing");
    const VwxError e = Raised([&] { tea.DecryptFile(missing, dst, "k"); });
    EXPECT_EQ(e.Description(), "source missing");
    EXPECT_EQ(e.Source(), "Cipher.DecryptFile");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"empty"});
}

TEST_F(CipherTest, PlaintextBeyondTheLengthFieldIsRefusedBeforeReading) {
    Cipher tea(texts);
    const std::string big = dir / "big", dst = dir / "big.vwx";
    WriteFile(big, "");
    fs::resize_file(big, 2147483636); // sparse: one byte more than the length field can hold
    const VwxError e = Raised([&] { tea.EncryptFile(big, dst, "k"); });
    EXPECT_EQ(e.Description(), "file too large");
    EXPECT_EQ(e.Source(), "Cipher.EncryptFile");
    EXPECT_FALSE(fs::exists(dst));
}

TEST_F(CipherTest, ReadOnlyDestinationFailsWithTheSystemDescription) {
    Cipher tea(texts);
    const std::string src = dir / "s.txt", enc = dir / "s.vwx", dst = dir / "d.txt";
    WriteFile(src, "plain text");
    tea.EncryptFile(src, enc, "k");
    WriteFile(dst, "protected");
    ASSERT_TRUE(platform::SetReadOnly(dst, true));
    const std::string denied = platform::ErrorDescription(std::make_error_code(std::errc::permission_denied));
    int events = 0;
    tea.Progress = [&](int) { ++events; };
    for (const bool encrypt : {true, false}) {
        const VwxError e = Raised([&] { encrypt ? tea.EncryptFile(src, dst) : tea.DecryptFile(enc, dst); });
        EXPECT_EQ(e.Description(), denied);
        EXPECT_EQ(e.Source(), encrypt ? "Cipher.EncryptFile" : "Cipher.DecryptFile");
    }
    EXPECT_EQ(events, 0);
    EXPECT_EQ(ReadFile(dst), "protected");
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"d.txt", "s.txt", "s.vwx"}));
}

TEST_F(CipherTest, MissingDestinationFolderFailsWithTheSystemDescription) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names a missing folder with its own message (path not found)";
#endif
    Cipher tea(texts);
    const std::string src = dir / "s.txt";
    WriteFile(src, "plain text");
    const VwxError e = Raised([&] { tea.EncryptFile(src, dir / "no-such-folder/s.vwx", "k"); });
    EXPECT_EQ(e.Description(), platform::ErrorDescription(std::make_error_code(std::errc::no_such_file_or_directory)));
}

enum class Interruption { ReceiverThrows, SourceShrinks, SourceGrows };

struct InterruptCase {
    const char* name;
    bool encrypt;
    Interruption how;
};

class Interrupted : public CipherTest, public ::testing::WithParamInterface<InterruptCase> {};

// A source that grows would be stored cut short, and the run may destroy it afterwards: a failure.
TEST_P(Interrupted, DestinationStaysAsItWasAndNoTemporaryIsLeft) {
    const auto& c = GetParam();
#ifdef _WIN32
    if (c.how != Interruption::ReceiverThrows) GTEST_SKIP() << "Windows lets nobody change a file while it is read";
#endif
    Cipher tea(texts, 64);
    const std::string plainPath = dir / "p.bin", encPath = dir / "p.vwx", dst = dir / "dest";
    WriteFile(plainPath, AsString(RandomBytes(5000, 6)));
    tea.EncryptFile(plainPath, encPath, "key");
    WriteFile(dst, "previous contents");
    const std::string src = c.encrypt ? plainPath : encPath;
    tea.Progress = [&](int p) {
        if (p < 40) return;
        if (c.how == Interruption::ReceiverThrows) throw std::runtime_error("cancelled");
        if (c.how == Interruption::SourceShrinks) fs::resize_file(src, 1000);
        if (c.how == Interruption::SourceGrows) std::ofstream(src, std::ios::app) << "appended";
    };
    const auto run = [&] { c.encrypt ? tea.EncryptFile(src, dst) : tea.DecryptFile(src, dst); };
    if (c.how == Interruption::ReceiverThrows) {
        EXPECT_THROW(run(), std::runtime_error);
    } else {
        EXPECT_EQ(Raised(run).Description(), platform::ErrorDescription(std::make_error_code(std::errc::io_error)));
    }
    EXPECT_EQ(ReadFile(dst), "previous contents");
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"dest", "p.bin", "p.vwx"}));
}

INSTANTIATE_TEST_SUITE_P(Table, Interrupted,
                         ::testing::Values(InterruptCase{"EncryptReceiverThrows", true, Interruption::ReceiverThrows},
                                           InterruptCase{"DecryptReceiverThrows", false, Interruption::ReceiverThrows},
                                           InterruptCase{"EncryptSourceShrinks", true, Interruption::SourceShrinks},
                                           InterruptCase{"DecryptSourceShrinks", false, Interruption::SourceShrinks},
                                           InterruptCase{"EncryptSourceGrows", true, Interruption::SourceGrows},
                                           InterruptCase{"DecryptSourceGrows", false, Interruption::SourceGrows}),
                         [](const auto& tp) { return std::string(tp.param.name); });

TEST_F(CipherTest, FileOntoItselfIsReplacedWhole) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows replaces no file another handle holds: the source must be closed before the rename";
#endif
    Cipher tea(texts, 32);
    const std::string path = dir / "self";
    const Bytes plain = RandomBytes(777, 10);
    WriteFile(path, AsString(plain));
    tea.EncryptFile(path, path, "k");
    EXPECT_EQ(fs::file_size(path), tea::FramedSize(777));
    tea.DecryptFile(path, path);
    EXPECT_EQ(AsBytes(ReadFile(path)), plain);
}

} // namespace
} // namespace vaultwing
