#include "cipher/Cipher.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <stop_token>
#include <system_error>
#include <thread>
#include <utility>

#include "base/Cp1252.h"
#include "base/SecureWipe.h"
#include "cipher/Cbc.h"
#include "cipher/CipherFailure.h"
#include "cipher/FileSteps.h"
#include "cipher/Frame.h"
#include "cipher/Progress.h"
#include "cipher/StopAndWake.h"
#include "cipher/StreamPass.h"

namespace vaultwing {
namespace {

using tea::kBlockSize;
using tea::kHeaderSize;

using Reason = CipherFailure::Reason;

[[noreturn]] void Fail(CipherOperation operation, Reason reason) {
    throw CipherFailure(reason, operation);
}

// The destination is written to a temporary file beside it and renamed into place only when
// complete and on disk; on every other way out the temporary file goes and the destination
// stays as it was.
//
// Large outputs are committed to disk piece by piece from a helper thread while the pass goes
// on, so that the final flush does not add the whole write-back time to the operation.
// The interval follows the stream buffer (8 buffers: 32 MiB by default).
class Destination {
public:
    // The output is no more readable than `source`.
    Destination(const std::string& destination, const std::string& source, CipherOperation operation,
                std::uint64_t flushEvery)
        : operation_(operation), flushEvery_(flushEvery), file_(tea::CreateOutput(destination, source, operation)) {}
    Destination(const Destination&) = delete;
    Destination& operator=(const Destination&) = delete;
    ~Destination() { StopFlusher(); }

    void Write(const std::uint8_t* data, std::size_t size) {
        tea::AsFileStep(operation_, [&] { file_.Write(data, size); });
        written_ += size;
        if (written_ - flushRequested_ >= flushEvery_) RequestFlush();
    }

    void Commit() {
        StopFlusher(); // the final flush is the last
        tea::AsFileStep(operation_, [&] { file_.Commit(); });
    }

private:
    void StopFlusher() {
        StopAndWake({&flusher_, 1}, mutex_, wake_);
        if (flusher_.joinable()) flusher_.join();
    }

    void RequestFlush() {
        flushRequested_ = written_;
        {
            std::lock_guard lock(mutex_);
            ++flushWanted_;
        }
        wake_.notify_one();
        if (flusher_.joinable()) return;
        try {
            flusher_ = std::jthread([this](const std::stop_token& stop) { FlushLoop(stop); });
        } catch (const std::system_error&) {
            // No thread: the final flush does all of it, as it would anyway.
        }
    }

    // A failed intermediate flush needs no report of its own: the final one fails as well.
    void FlushLoop(const std::stop_token& stop) {
        std::uint64_t done = 0;
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] { return stop.stop_requested() || flushWanted_ != done; });
                if (stop.stop_requested()) return;
                done = flushWanted_;
            }
            try {
                file_.Sync();
            } catch (const std::system_error&) {
            }
        }
    }

    CipherOperation operation_;
    std::uint64_t flushEvery_;
    TempFileBeside file_;
    std::uint64_t written_ = 0;
    std::uint64_t flushRequested_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::uint64_t flushWanted_ = 0;
    std::jthread flusher_; // last: stopped and joined before the file goes
};

// Nothing this program writes is shorter or uneven; such input is no encrypted file.
bool IsEncryptedLength(std::int64_t size) {
    return size >= static_cast<std::int64_t>(tea::kMinFramedSize) && size % static_cast<std::int64_t>(kBlockSize) == 0;
}

} // namespace

Cipher::Cipher(std::size_t streamBufferSize, tea::DecryptSetup decrypt) : decrypt_(decrypt) {
    SetStreamBufferSize(streamBufferSize);
}

Cipher::~Cipher() = default; // the key words wipe themselves

void Cipher::SetStreamBufferSize(std::size_t bytes) noexcept {
    streamBuffer_ = std::max(bytes / kBlockSize * kBlockSize, tea::kMinFramedSize);
}

void Cipher::Key(std::string_view password) {
    key_ = tea::KeyFromPassword(password);
}

void Cipher::UseKey(std::string_view key) {
    if (!key.empty()) Key(key);
}

// ---------------------------------------------------------------------------------------------
// Byte arrays
// ---------------------------------------------------------------------------------------------

void Cipher::EncryptBytes(std::vector<std::uint8_t>& bytes, std::string_view key) {
    UseKey(key);
    EncryptBuffer(bytes, CipherOperation::EncryptBytes);
}

void Cipher::DecryptBytes(std::vector<std::uint8_t>& bytes, std::string_view key) {
    UseKey(key);
    DecryptBuffer(bytes, CipherOperation::DecryptBytes);
}

void Cipher::EncryptBuffer(std::vector<std::uint8_t>& bytes, CipherOperation operation) {
    const std::size_t length = bytes.size();
    if (static_cast<std::uint64_t>(length) > static_cast<std::uint64_t>(tea::kMaxPlainLength))
        Fail(operation, Reason::TooLarge);
    const auto framed = static_cast<std::size_t>(tea::FramedSize(length));

    if (bytes.capacity() < framed) {
        // Growing in place would free the plaintext unwiped.
        std::vector<std::uint8_t> larger;
        larger.reserve(framed);
        larger.assign(bytes.begin(), bytes.end());
        SecureWipe(bytes.data(), bytes.size());
        bytes.swap(larger);
    }
    bytes.resize(framed);
    std::memmove(bytes.data() + kHeaderSize, bytes.data(), length);
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(kHeaderSize + length), bytes.end(), std::uint8_t{0});
    tea::WriteHeader(bytes.data(), tea::DrawRandomValues(), static_cast<std::int32_t>(length));

    tea::ProgressCounter progress(framed, Progress);
    tea::Chain chain;
    std::size_t done = 0;
    try {
        tea::PassWithProgress(bytes.data(), framed, 0, progress, [&](std::uint8_t* data, std::size_t size) {
            tea::CbcEncrypt(data, size, key_, chain);
            done += size;
        });
        progress.Finish();
    } catch (...) {
        // Give the caller back its plaintext rather than a half-enciphered frame.
        tea::Chain undo;
        tea::CbcDecrypt(bytes.data(), done, key_, undo, decrypt_);
        std::memmove(bytes.data(), bytes.data() + kHeaderSize, length);
        bytes.resize(length);
        throw;
    }
}

void Cipher::DecryptBuffer(std::vector<std::uint8_t>& bytes, CipherOperation operation) {
    const std::size_t framed = bytes.size();
    if (framed < tea::kMinFramedSize || framed % kBlockSize != 0) Fail(operation, Reason::WrongPasswordOrDamaged);

    tea::ProgressCounter progress(framed, Progress);
    tea::Chain chain;
    std::size_t done = 0;
    // Enciphering the deciphered prefix again gives back the exact ciphertext: on failure the
    // caller keeps its array as it was.
    const auto restore = [&] {
        tea::Chain redo;
        tea::CbcEncrypt(bytes.data(), done, key_, redo);
    };
    try {
        tea::PassWithProgress(bytes.data(), framed, 0, progress, [&](std::uint8_t* data, std::size_t size) {
            tea::CbcDecrypt(data, size, key_, chain, decrypt_);
            done += size;
        });
    } catch (...) {
        restore();
        throw;
    }
    const std::int32_t length = tea::StoredLength(bytes.data());
    if (!tea::LengthFits(length, framed)) {
        restore();
        Fail(operation, Reason::WrongPasswordOrDamaged);
    }
    // The closing event comes before the array is cut to the plaintext (nobody can tell the
    // difference), so a receiver that throws still finds its ciphertext restored.
    try {
        progress.Finish();
    } catch (...) {
        restore();
        throw;
    }
    const auto plain = static_cast<std::size_t>(length);
    std::memmove(bytes.data(), bytes.data() + kHeaderSize, plain);
    // The frame (random values, length) and the padding are deciphered secrets too.
    SecureWipe(bytes.data() + plain, framed - plain);
    bytes.resize(plain);
}

// ---------------------------------------------------------------------------------------------
// Strings
// ---------------------------------------------------------------------------------------------

std::string Cipher::EncryptString(std::string_view text, std::string_view key) {
    std::string single = Utf8ToCp1252(text);
    std::vector<std::uint8_t> bytes(single.begin(), single.end());
    WipeString(single);
    UseKey(key);
    EncryptBuffer(bytes, CipherOperation::EncryptString);
    return Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string Cipher::DecryptString(std::string_view text, std::string_view key) {
    const std::string single = Utf8ToCp1252(text);
    std::vector<std::uint8_t> bytes(single.begin(), single.end());
    UseKey(key);
    DecryptBuffer(bytes, CipherOperation::DecryptString);
    std::string result = Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    SecureWipe(bytes.data(), bytes.size());
    return result;
}

// ---------------------------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------------------------

void Cipher::EncryptFile(const std::string& source, const std::string& destination, std::string_view key) {
    constexpr auto kOp = CipherOperation::EncryptFile;
    UseKey(key);
    (void)tea::FramedPlaintext::CheckedSize(source);
    tea::RefuseExistingDestination(destination, kOp);
    tea::FramedPlaintext plain(source, tea::DrawRandomValues);

    Destination out(destination, source, kOp, std::uint64_t{8} * streamBuffer_);
    StreamPass pass;
    pass.total = plain.FramedLength();
    pass.bufferBytes = streamBuffer_;
    pass.produce = [&](std::uint8_t* data, std::uint64_t /*pos*/, std::size_t size) { plain.Next(data, size); };
    pass.transform = [this](std::uint8_t* data, std::size_t size, tea::Chain& chain) {
        tea::CbcEncrypt(data, size, key_, chain);
    };
    pass.consume = [&](const std::uint8_t* data, std::uint64_t /*pos*/, std::size_t size) { out.Write(data, size); };
    RunStreamPass(pass, Progress);
    plain.Close(); // before the rename: some systems refuse to replace an open file (source = destination)
    out.Commit();
}

void Cipher::DecryptFile(const std::string& source, const std::string& destination, std::string_view key) {
    constexpr auto kOp = CipherOperation::DecryptFile;
    UseKey(key);
    const std::int64_t sourceSize = platform::FileSize(source);
    if (sourceSize < 0) Fail(kOp, Reason::SourceMissing);
    if (!IsEncryptedLength(sourceSize)) Fail(kOp, Reason::WrongPasswordOrDamaged);
    tea::RefuseExistingDestination(destination, kOp);

    platform::File input = tea::OpenInput(source, kOp);
    const std::int64_t fileSize = tea::AsFileStep(kOp, [&] { return input.Size(); });
    if (!IsEncryptedLength(fileSize)) Fail(kOp, Reason::WrongPasswordOrDamaged);
    const auto framed = static_cast<std::uint64_t>(fileSize);

    // The length field sits in the second block: check it before anything is written, so a
    // wrong password never creates or touches the destination.
    SecretBuffer head(tea::kMinFramedSize);
    tea::ReadExactly(input, head.data(), head.size(), kOp);
    SecretBuffer plainHead(head.size());
    std::memcpy(plainHead.data(), head.data(), head.size());
    tea::Chain probe;
    tea::CbcDecrypt(plainHead.data(), plainHead.size(), key_, probe, decrypt_);
    const std::int32_t length = tea::StoredLength(plainHead.data());
    if (!tea::LengthFits(length, framed)) Fail(kOp, Reason::WrongPasswordOrDamaged);
    const std::uint64_t dataEnd = kHeaderSize + static_cast<std::uint64_t>(length);

    Destination out(destination, source, kOp, std::uint64_t{8} * streamBuffer_);
    StreamPass pass;
    pass.total = framed;
    pass.bufferBytes = streamBuffer_;
    pass.produce = [&](std::uint8_t* data, std::uint64_t pos, std::size_t size) {
        std::size_t at = 0;
        if (pos < head.size()) { // already read for the check
            at = std::min(size, static_cast<std::size_t>(head.size() - pos));
            std::memcpy(data, head.data() + pos, at);
        }
        tea::ReadExactly(input, data + at, size - at, kOp);
        if (pos + size == framed) tea::ExpectEnd(input, kOp);
    };
    pass.transform = [this](std::uint8_t* data, std::size_t size, tea::Chain& chain) {
        tea::CbcDecrypt(data, size, key_, chain, decrypt_);
    };
    // Only the data leaves: not the random values, the length or the padding.
    pass.consume = [&](const std::uint8_t* data, std::uint64_t pos, std::size_t size) {
        const std::uint64_t from = std::max<std::uint64_t>(pos, kHeaderSize);
        const std::uint64_t to = std::min<std::uint64_t>(pos + size, dataEnd);
        if (from < to) out.Write(data + (from - pos), static_cast<std::size_t>(to - from));
    };
    RunStreamPass(pass, Progress);
    input.Close(); // before the rename: some systems refuse to replace an open file (source = destination)
    out.Commit();
}

} // namespace vaultwing
