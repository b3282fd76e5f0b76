#include "base/SecureWipe.h"

#include <cstring>
#include <utility>

namespace vaultwing {

void SecureWipe(void* data, std::size_t size) noexcept {
    if (data == nullptr || size == 0) return;
#if defined(__GNUC__) || defined(__clang__)
    std::memset(data, 0, size);
    // The empty asm claims to read the memory, so the stores above cannot be removed as dead.
    __asm__ __volatile__("" : : "r"(data) : "memory");
#else
    volatile unsigned char* p = static_cast<volatile unsigned char*>(data);
    while (size-- > 0)
        *p++ = 0;
#endif
}

void WipeString(std::string& text) noexcept {
    if (text.capacity() > 0) SecureWipe(text.data(), text.capacity());
    text.clear();
}

SecretBuffer::SecretBuffer(std::size_t size)
    : bytes_(size > 0 ? new std::uint8_t[size]() : nullptr), size_(size), capacity_(size) {}

SecretBuffer::SecretBuffer(SecretBuffer&& other) noexcept
    : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

SecretBuffer& SecretBuffer::operator=(SecretBuffer&& other) noexcept {
    if (this != &other) {
        Release();
        bytes_ = std::move(other.bytes_);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

SecretBuffer::~SecretBuffer() {
    Release();
}

void SecretBuffer::Release() noexcept {
    SecureWipe(bytes_.get(), capacity_);
    bytes_.reset();
    size_ = 0;
    capacity_ = 0;
}

void SecretBuffer::Resize(std::size_t size) {
    if (size <= capacity_) {
        // Shrinking wipes what was cut off; growing within the capacity finds zeros there.
        if (size < size_) SecureWipe(bytes_.get() + size, size_ - size);
        size_ = size;
        return;
    }
    SecretBuffer larger(size);
    if (size_ > 0) std::memcpy(larger.data(), bytes_.get(), size_);
    *this = std::move(larger);
}

} // namespace vaultwing
