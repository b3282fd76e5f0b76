#include "cipher/Progress.h"

#include <cmath>

#include "cipher/Rounding.h"

namespace vaultwing::tea {

std::uint64_t ProgressCounter::NextEventBlock(std::uint64_t from) const noexcept {
    const std::uint64_t firstDue = (nextAt_ + kBlockSize - 1) / kBlockSize * kBlockSize;
    return firstDue > from ? firstDue : from;
}

void ProgressCounter::Raise(std::uint64_t offset) {
    const double total = static_cast<double>(total_);
    last_ = static_cast<int>(std::floor(static_cast<double>(offset) / total * 100.0));
    nextAt_ = static_cast<std::uint64_t>(RoundHalfEven(static_cast<double>(last_ + 1) / 100.0 * total + 1.0));
    if (receiver_) receiver_(last_);
}

void ProgressCounter::Finish() {
    if (last_ == 100) return;
    last_ = 100;
    if (receiver_) receiver_(100);
}

} // namespace vaultwing::tea
