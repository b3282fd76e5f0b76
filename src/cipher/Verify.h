#pragma once
// Reading back what a run wrote before a source is destroyed: the only copy of a file may go
// only once its other form is known to be whole and to give back exactly its bytes.
#include <functional>
#include <string>
#include <string_view>

namespace vaultwing {

// True when `encryptedFile`, deciphered with `password`, is exactly `plainFile`: the length
// field fits, the lengths agree and every byte matches. Streams both files through a bounded
// buffer; false on any read failure. `perChunk` runs after every chunk (the windows let pending
// events run there).
[[nodiscard]] bool EncryptedMatchesPlain(const std::string& encryptedFile, const std::string& plainFile,
                                         std::string_view password, const std::function<void()>& perChunk = {});

} // namespace vaultwing
