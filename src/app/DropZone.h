#pragma once
// The decisions of the drop-zone window that need no window: where it appears, how
// transparent it is, and what the hot region does on each timer tick.
#include <optional>
#include <string>

#include "config/Settings.h"
#include "platform/platform.h"

namespace vaultwing {

// Window positions and sizes are stored in twips: 15 per pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

// The position (twips) the drop zone takes along one axis at load from the stored Setting::Left
// or Setting::Top: the stored value, rounded, unless the window was never placed (nullopt) or
// the value is larger than the screen, in which case the window is centred on that axis. A value
// of exactly the screen size, or a negative one, is used as it stands (another monitor may lie
// there).
[[nodiscard]] long RestoredPosition(std::optional<double> stored, long screenTwips, long windowTwips);

// The slider's range: a drop zone below the lower end could no longer be seen or found.
inline constexpr int kMinTransparency = 40;
inline constexpr int kMaxTransparency = 255;

// Setting::Transparency at load: the alpha to apply, or nullopt when nothing is stored, which
// stores the default (opaque) and leaves the window as it is. Values outside the slider's range
// are brought into it.
[[nodiscard]] std::optional<int> LoadTransparency(Settings& settings);

// The hot-region settings as the drop zone keeps them.
struct HotRegion {
    bool enabled = false; // the timer runs
    bool top = false;     // the screen edges that are active
    bool bottom = false;
    bool left = false;
    bool right = false;
};
[[nodiscard]] HotRegion ReadHotRegion(const Settings& settings);

// What one tick of the hot-region timer sees.
struct HotRegionInput {
    bool escape = false;
    bool control = false;
    bool shift = false;
    std::optional<platform::ScreenPoint> cursor; // screen pixels
    int desktopRight = 0;                        // the desktop's right and bottom edge, pixels
    int desktopBottom = 0;
    bool mainVisible = false;
};

struct HotRegionStep {
    bool hide = false; // Escape: hide the drop zone
    bool show = false; // the pointer touched an active edge with Ctrl+Shift held: show it
};

// Escape hides the drop zone wherever the focus is. With Ctrl and Shift held, the first active
// edge (top, bottom, left, right) finds the window visible and stops, or shows it when the
// pointer touches that edge.
[[nodiscard]] HotRegionStep HotRegionTick(const HotRegion& region, const HotRegionInput& input);

} // namespace vaultwing
