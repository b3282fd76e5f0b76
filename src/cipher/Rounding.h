#pragma once
#include <cmath>

namespace vaultwing::tea {

// Round to nearest, ties to even, independent of the floating-point environment: the random
// values of the frame and the progress steps are rounded this way.
[[nodiscard]] inline double RoundHalfEven(double x) noexcept {
    double whole = std::floor(x);
    const double fraction = x - whole; // exact for the magnitudes used here
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    return whole;
}

} // namespace vaultwing::tea
