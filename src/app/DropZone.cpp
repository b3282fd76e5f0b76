#include "app/DropZone.h"

#include <algorithm>
#include <cmath>

namespace vaultwing {

long RestoredPosition(std::optional<double> stored, long screenTwips, long windowTwips) {
    if (!stored || *stored > static_cast<double>(screenTwips))
        return std::lrint(static_cast<double>(screenTwips - windowTwips)) / 2;
    return std::lrint(*stored);
}

std::optional<int> LoadTransparency(Settings& settings) {
    const std::optional<double> value = settings.Number(Setting::Transparency);
    if (!value) {
        settings.StoreDefault(Setting::Transparency);
        return std::nullopt;
    }
    return static_cast<int>(std::clamp<double>(*value, kMinTransparency, kMaxTransparency));
}

HotRegion ReadHotRegion(const Settings& settings) {
    return HotRegion{settings.IsOn(Setting::HotRegion), settings.IsOn(Setting::HotRegionTop),
                     settings.IsOn(Setting::HotRegionBottom), settings.IsOn(Setting::HotRegionLeft),
                     settings.IsOn(Setting::HotRegionRight)};
}

HotRegionStep HotRegionTick(const HotRegion& region, const HotRegionInput& input) {
    HotRegionStep step;
    bool visible = input.mainVisible;
    if (input.escape) {
        step.hide = visible;
        visible = false;
    }
    if (!(input.control && input.shift) || !input.cursor) return step;
    const int x = input.cursor->x;
    const int y = input.cursor->y;
    const int right = input.desktopRight;
    const int bottom = input.desktopBottom;
    const struct {
        bool active;
        bool touched;
    } edges[] = {
        {region.top, x < right && y < 1},
        {region.bottom, x < right && y > bottom - 2},
        {region.left, x == 0 && y < bottom},
        {region.right, x > right - 2 && y < bottom},
    };
    for (const auto& edge : edges) {
        if (!edge.active) continue;
        if (visible) break;
        if (edge.touched) {
            step.show = true;
            visible = true;
        }
    }
    return step;
}

} // namespace vaultwing
