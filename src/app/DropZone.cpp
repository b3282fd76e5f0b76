#include "app/DropZone.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "config/LanguageFile.h"

namespace vaultwing {

long RestoredPosition(const std::string& stored, long screenTwips, long windowTwips) {
    const std::string text = stored.empty() ? "0" : stored;
    const double value = LeadingNumber(text);
    if (text == "0" || value > static_cast<double>(screenTwips))
        return std::lrint(static_cast<double>(screenTwips - windowTwips)) / 2;
    return std::lrint(value);
}

std::optional<int> LoadTransparency(IniStore& settings) {
    const std::string text = settings.ReadINI("Transparenz", kSettingsSection);
    if (text.empty()) {
        (void)settings.WriteINI("Transparenz", "255", kSettingsSection);
        return std::nullopt;
    }
    long value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first != last && *first == ' ')
        ++first;
    if (std::from_chars(first, last, value).ec != std::errc{}) return kMaxTransparency;
    return static_cast<int>(std::clamp<long>(value, kMinTransparency, kMaxTransparency));
}

HotRegion ReadHotRegion(const IniStore& settings) {
    const auto on = [&](const char* key) { return settings.ReadINI(key, kSettingsSection) == "1"; };
    const std::string enabled = settings.ReadINI("HotRegion", kSettingsSection);
    return HotRegion{!enabled.empty() && enabled != "0", on("HotRegion Oben"), on("HotRegion Unten"),
                     on("HotRegion Links"), on("HotRegion Rechts")};
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
