#include "app/SecureWipe.h"

namespace vaultwing {

void SecureWipe(void* data, std::size_t size) noexcept {
    // Stores through a volatile pointer are observable behaviour: the compiler must keep them.
    auto* p = static_cast<volatile unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) p[i] = 0;
    // And keep the wiped memory from being treated as dead before the stores.
#if defined(__GNUC__) || defined(__clang__)
    __asm__ __volatile__("" : : "r"(data) : "memory");
#endif
}

void WipeString(std::string& text) noexcept {
    if (text.capacity() > 0) SecureWipe(text.data(), text.capacity());
    text.clear();
}

} // namespace vaultwing
