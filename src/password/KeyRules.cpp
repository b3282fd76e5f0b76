#include "password/KeyRules.h"

#include <cstddef>
#include <string>

#include "base/Cp1252.h"
#include "base/SecureWipe.h"

namespace vaultwing {
namespace {

// The key bytes of a password; wiped when the rule is done with them.
class KeyBytes {
public:
    explicit KeyBytes(std::string_view password) : bytes_(Utf8ToCp1252(password)) {}
    KeyBytes(const KeyBytes&) = delete;
    KeyBytes& operator=(const KeyBytes&) = delete;
    ~KeyBytes() { WipeString(bytes_); }
    [[nodiscard]] std::string_view View() const { return bytes_; }

private:
    std::string bytes_;
};

bool IsValidKeyBytes(std::string_view p) {
    const std::size_t n = p.size();
    if (n < 6) return false;
    for (std::size_t q = 1; q <= n / 2; ++q) {
        if (n % q != 0) continue; // the last piece would be cut short, and a short piece never matches
        bool allCopies = true;
        for (std::size_t i = q; i < n && allCopies; ++i)
            allCopies = p[i] == p[i - q];
        if (allCopies) return false;
    }
    return true;
}

// value * num / den rounded to the nearest integer, ties to the even one; exact in integers so
// that 43 * 1.5 really is the tie 64.5.
int ScaleRounded(int value, int num, int den) {
    const int product = value * num;
    int quotient = product / den;
    const int twiceRest = 2 * (product % den);
    if (twiceRest > den || (twiceRest == den && quotient % 2 != 0)) ++quotient;
    return quotient;
}

} // namespace

bool IsValidKey(std::string_view password) {
    const KeyBytes key(password);
    return IsValidKeyBytes(key.View());
}

int KeyQuality(std::string_view password) {
    const KeyBytes key(password);
    const std::string_view p = key.View();
    if (!IsValidKeyBytes(p)) return 0;

    bool capital = false, small = false, digit = false, special = false;
    for (const char ch : p) {
        const auto code = static_cast<unsigned char>(ch);
        if (code >= 65 && code <= 90)
            capital = true;
        else if (code >= 97 && code <= 122)
            small = true;
        else if (code >= 48 && code <= 57)
            digit = true;
        else if (code < 48 || (code >= 58 && code <= 64) || code > 122)
            special = true;
        // 91..96 count for nothing.
    }

    // A valid key is at least 6 characters; cap the length before multiplying so a huge paste
    // cannot overflow. 100 is reached at 34 characters already.
    const int n = p.size() > 1000 ? 1000 : static_cast<int>(p.size());
    int s = 3 * n;
    if (capital && small) s = ScaleRounded(s, 6, 5);
    if (digit && (capital || small)) s = ScaleRounded(s, 7, 5);
    if (special) s = ScaleRounded(s, 3, 2);
    return s > 100 ? 100 : s;
}

} // namespace vaultwing
