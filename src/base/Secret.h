#pragma once
// A password, or any other secret text, as the program holds it: one buffer that is wiped when it
// grows (the old storage), when it is cleared or shortened, and when it goes. It cannot be copied
// by accident; a second copy is made only on purpose, as a second Secret.
#include <cstddef>
#include <string_view>
#include <utility>

#include "base/SecureWipe.h"

namespace vaultwing {

class Secret {
public:
    Secret() noexcept = default;
    explicit Secret(std::string_view text) { append(text); }
    Secret(const Secret&) = delete;
    Secret& operator=(const Secret&) = delete;
    Secret(Secret&& other) noexcept : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)) {}
    Secret& operator=(Secret&& other) noexcept {
        bytes_ = std::move(other.bytes_); // wipes what this one held
        size_ = std::exchange(other.size_, 0);
        return *this;
    }
    ~Secret() = default; // the buffer wipes its whole capacity

    void append(char c);
    void append(std::string_view text);
    // Removes the last character (a CR before the line end); it is wiped.
    void pop_back() noexcept;
    // Wipes every byte and empties the secret; the storage is kept for the next use.
    void clear() noexcept;

    [[nodiscard]] std::string_view view() const noexcept {
        return {reinterpret_cast<const char*>(bytes_.data()), size_};
    }
    [[nodiscard]] std::size_t size() const noexcept { return size_; }
    [[nodiscard]] bool empty() const noexcept { return size_ == 0; }
    [[nodiscard]] char back() const noexcept { return static_cast<char>(bytes_[size_ - 1]); }

private:
    SecretBuffer bytes_; // its size is the capacity; size_ bytes of it are used
    std::size_t size_ = 0;
};

} // namespace vaultwing
