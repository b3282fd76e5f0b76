// The language-file loader on arbitrary file contents.
// Property: no crash or sanitizer report; parsing is deterministic; no stored text holds "_"
// (every one becomes a carriage return) and every stored text is valid UTF-8, whatever the
// file's encoding; a file parsed twice into one table gives the table of one parse (later
// entries win, so a repeat changes nothing).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "config/LangTable.h"
#include "config/LanguageFile.h"

namespace {

bool ValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vaultwing;
    const std::string_view contents(reinterpret_cast<const char*>(data), size);
    static LangTable once, twice; // 1000 strings: kept between runs, emptied below
    for (int i = 0; i < LangTable::kSize; ++i) {
        once.Set(i, {});
        twice.Set(i, {});
    }
    const bool ok = ParseLanguageFile(contents, once);
    const bool ok1 = ParseLanguageFile(contents, twice);
    const bool ok2 = ParseLanguageFile(contents, twice);
    fuzz::Check(ok == ok1 && ok1 == ok2, "the result depends only on the contents");
    for (int i = 0; i < LangTable::kSize; ++i) {
        const std::string& text = once[i];
        fuzz::Check(text == twice[i], "a second parse changed an entry", text);
        fuzz::Check(text.find('_') == std::string::npos, "an underscore was stored", text);
        fuzz::Check(ValidUtf8(text), "a stored text is not UTF-8", text);
    }
    return 0;
}
