#pragma once
// The table of language texts: exactly 1000 entries, indices 0 to 999, all empty until a
// language file fills them. Every message, caption and title is named by its index.
#include <array>
#include <string>

namespace vaultwing {

class LangTable {
public:
    static constexpr int kSize = 1000;
    static constexpr const char* kHeader = "VAULTWING LANGUAGEFILE"; // the text of entry 0

    // Entry `index`; an index outside 0..999 reads as the empty text.
    [[nodiscard]] const std::string& operator[](int index) const {
        static const std::string empty;
        return index >= 0 && index < kSize ? texts_[static_cast<std::size_t>(index)] : empty;
    }
    [[nodiscard]] const std::string& Text(int index) const { return (*this)[index]; }

    // Stores `text` at `index`; an index outside 0..999 is not stored.
    void Set(int index, std::string text) {
        if (index >= 0 && index < kSize) texts_[static_cast<std::size_t>(index)] = std::move(text);
    }

    [[nodiscard]] bool HasValidHeader() const { return texts_[0] == kHeader; }

private:
    std::array<std::string, kSize> texts_{};
};

} // namespace vaultwing
