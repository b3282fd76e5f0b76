#pragma once
// The about window's scrolling credits line: one step of its position.

namespace vaultwing {

// The marquee moves one pixel to the left per step. The text is drawn twice in a row, so once
// it has moved by the width of one copy the second copy stands where the first began, and the
// position starts again at 1 without a visible jump.
[[nodiscard]] constexpr int MarqueeStep(int position, int textWidth) {
    --position;
    return position <= -textWidth ? 1 : position;
}

inline constexpr int kMarqueeStart = 1;
inline constexpr int kMarqueeIntervalMs = 15;

} // namespace vaultwing
