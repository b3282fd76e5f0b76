#include "cipher/TeaBlock.h"

#include <string>

#include "base/Cp1252.h"
#include "base/SecureWipe.h"

namespace vaultwing::tea {

KeyWords::~KeyWords() {
    SecureWipe(k.data(), sizeof k);
}

KeyWords KeyFromPassword(std::string_view utf8Password) {
    std::string bytes = Utf8ToCp1252(utf8Password);
    SecretBuffer raw(kKeySize);
    for (std::size_t i = 0; i < raw.size() && i < bytes.size(); ++i)
        raw[i] = static_cast<std::uint8_t>(bytes[i]);
    WipeString(bytes);
    KeyWords key;
    for (std::size_t w = 0; w < 4; ++w)
        key.k[w] = LoadBE32(raw.data() + 4 * w);
    return key;
}

} // namespace vaultwing::tea
