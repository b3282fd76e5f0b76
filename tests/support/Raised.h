#pragma once
// The error a call raised, if any, so that tables can expect a result or a failure alike.
#include <optional>

#include "base/VwxError.h"

namespace vaultwing::test {

template <typename Call> std::optional<VwxError> Raised(Call&& call) {
    try {
        (void)call();
    } catch (const VwxError& e) {
        return e;
    }
    return std::nullopt;
}

} // namespace vaultwing::test
