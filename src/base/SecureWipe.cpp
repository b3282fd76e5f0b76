#include "base/SecureWipe.h"

#include <cstring>

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

} // namespace vaultwing
