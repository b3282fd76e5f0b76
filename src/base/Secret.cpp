#include "base/Secret.h"

namespace vaultwing {

void Secret::append(char c) {
    if (size_ == bytes_.size()) {
        // SecretBuffer wipes the old storage when it moves to the larger one.
        bytes_.Resize(size_ < 32 ? 64 : 2 * size_);
    }
    bytes_[size_++] = static_cast<std::uint8_t>(c);
}

void Secret::append(std::string_view text) {
    for (const char c : text)
        append(c);
}

void Secret::pop_back() noexcept {
    if (size_ > 0) bytes_[--size_] = 0;
}

void Secret::clear() noexcept {
    SecureWipe(bytes_.data(), size_);
    size_ = 0;
}

} // namespace vaultwing
