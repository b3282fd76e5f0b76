#pragma once
// A language table in which every text reads "T<index>", so tests can tell which text a message used.
#include <string>

#include "config/LangTable.h"

namespace vaultwing::test {

inline void FillWithIndexTexts(LangTable& table) {
    for (int i = 0; i < LangTable::kSize; ++i)
        table.Set(i, "T" + std::to_string(i));
}

inline const LangTable& IndexTexts() {
    static const LangTable texts = [] {
        LangTable t;
        FillWithIndexTexts(t);
        return t;
    }();
    return texts;
}

} // namespace vaultwing::test
