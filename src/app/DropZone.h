#pragma once
// The decisions of the drop-zone window that need no window: where it appears, how
// transparent it is, and what the hot region does on each timer tick.
#include <optional>
#include <string>

#include "config/IniFile.h"
#include "platform/platform.h"

namespace vaultwing {

// Window positions and sizes are stored in twips: 15 per pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

// The position (twips) the drop zone takes along one axis at load from the stored "Left" or
// "Top" text: the stored value, unless it is empty, "0" or larger than the screen, in which case
// the window is centred on that axis. A value of exactly the screen size, or a negative one,
// is used as it stands (another monitor may lie there).
[[nodiscard]] long RestoredPosition(const std::string& stored, long screenTwips, long windowTwips);

// The slider's range: a drop zone below the lower end could no longer be seen or found.
inline constexpr int kMinTransparency = 40;
inline constexpr int kMaxTransparency = 255;

// "Transparenz" at load: the alpha to apply, or nullopt when the setting is empty, which stores
// "255" and leaves the window opaque. Values outside the slider's range are brought into it;
// text that is not a number counts as opaque.
[[nodiscard]] std::optional<int> LoadTransparency(IniStore& settings);

// The hot-region settings ("1" = that screen edge is active) as the drop zone keeps them.
struct HotRegion {
    bool enabled = false; // "HotRegion": neither "0" nor empty
    bool top = false;     // "HotRegion Oben"
    bool bottom = false;  // "HotRegion Unten"
    bool left = false;    // "HotRegion Links"
    bool right = false;   // "HotRegion Rechts"
};
[[nodiscard]] HotRegion ReadHotRegion(const IniStore& settings);

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
