#pragma once
// The file steps both encryption engines (Cipher, one file at a time; ManyFilesEncryption, many
// side by side) and decryption share, each raising a CipherFailure as the operation's own.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <system_error>

#include "base/SecureWipe.h"
#include "cipher/CipherFailure.h"
#include "cipher/Frame.h"
#include "platform/DurableWrite.h"
#include "platform/platform.h"

namespace vaultwing::tea {

[[noreturn]] void FailSystem(CipherOperation operation, const std::error_code& ec);
[[noreturn]] void FailSystem(CipherOperation operation, std::errc code);
// Runs a call of the platform's file interface; a refusal of the system becomes the operation's
// failure.
template <class Call> auto AsFileStep(CipherOperation operation, Call&& call) {
    try {
        return call();
    } catch (const std::system_error& e) {
        FailSystem(operation, e.code());
    }
}
// True for a failure to open that only means no file descriptor was free.
[[nodiscard]] bool OutOfDescriptors(const CipherFailure& failure);

// An existing destination is refused before any work is done: an output never replaces a file
// (one that appeared after the checks, or a newer copy). The final rename holds to that as well.
void RefuseExistingDestination(const std::string& destination, CipherOperation operation);
[[nodiscard]] platform::File OpenInput(const std::string& path, CipherOperation operation);
// The temporary output beside `destination`, no more readable than `source`.
[[nodiscard]] TempFileBeside CreateOutput(const std::string& destination, const std::string& source,
                                          CipherOperation operation);
// Reads exactly `size` bytes; a file that ends early has shrunk since its size was taken.
void ReadExactly(platform::File& file, std::uint8_t* data, std::size_t size, CipherOperation operation);
// A source that grew while it was read would be stored cut short; the run may destroy the
// source afterwards, so that is a failure, not a success.
void ExpectEnd(platform::File& file, CipherOperation operation);

// The framed plaintext of a file's encryption, read front to back: the header (two random values,
// the length), the source's bytes, zero padding. Failures are those of Cipher::EncryptFile.
class FramedPlaintext {
public:
    // The source's size as its name shows it: refused when missing, empty or too large.
    [[nodiscard]] static std::int64_t CheckedSize(const std::string& source);

    // Opens the source and judges what was opened (it may have changed since the look by name);
    // `drawRandom` gives the two random values once the length is known.
    FramedPlaintext(const std::string& source, const std::function<RandomPair()>& drawRandom);

    [[nodiscard]] std::uint64_t FramedLength() const noexcept { return framed_; }
    // Fills data[0, size) with the next `size` bytes of the frame.
    void Next(std::uint8_t* data, std::size_t size);
    // Some systems refuse to replace a file that is still open (source = destination).
    void Close() noexcept { file_.Close(); }

private:
    platform::File file_;
    SecretBuffer header_{kHeaderSize};
    std::uint64_t framed_ = 0;
    std::uint64_t dataEnd_ = 0; // header and plaintext
    std::uint64_t pos_ = 0;     // bytes of the frame handed out so far
};

} // namespace vaultwing::tea
