#pragma once
// Wiping secrets (passwords, key words, deciphered frames, plaintext) in a way the optimiser
// cannot remove.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vaultwing {

// Overwrites `size` bytes at `data` with zeros. Every other wipe goes through this one.
void SecureWipe(void* data, std::size_t size) noexcept;

// Overwrites the string's characters (and its spare capacity) with zeros, then empties it.
void WipeString(std::string& text) noexcept;

// A byte buffer for secrets. Its whole capacity is wiped when it goes, the bytes beyond a
// smaller size when it shrinks, and the old storage when it grows. New bytes are zero.
class SecretBuffer {
public:
    SecretBuffer() noexcept = default;
    explicit SecretBuffer(std::size_t size);
    SecretBuffer(const SecretBuffer&) = delete;
    SecretBuffer& operator=(const SecretBuffer&) = delete;
    SecretBuffer(SecretBuffer&& other) noexcept;
    SecretBuffer& operator=(SecretBuffer&& other) noexcept;
    ~SecretBuffer();

    void Resize(std::size_t size);

    [[nodiscard]] std::uint8_t* data() noexcept { return bytes_.get(); }
    [[nodiscard]] const std::uint8_t* data() const noexcept { return bytes_.get(); }
    [[nodiscard]] std::size_t size() const noexcept { return size_; }
    [[nodiscard]] std::size_t capacity() const noexcept { return capacity_; }
    [[nodiscard]] std::uint8_t& operator[](std::size_t i) noexcept { return bytes_[i]; }
    [[nodiscard]] std::uint8_t operator[](std::size_t i) const noexcept { return bytes_[i]; }
    [[nodiscard]] std::uint8_t* begin() noexcept { return data(); }
    [[nodiscard]] std::uint8_t* end() noexcept { return data() + size_; }
    [[nodiscard]] const std::uint8_t* begin() const noexcept { return data(); }
    [[nodiscard]] const std::uint8_t* end() const noexcept { return data() + size_; }

private:
    void Release() noexcept;

    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace vaultwing
