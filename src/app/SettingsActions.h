#pragma once
// The decisions behind the settings window: what its load steps read, what each of its four
// check boxes does when its value changes, the transparency slider and the hot-region edges.
#include <functional>
#include <optional>
#include <string>

#include "app/DesktopPort.h"
#include "app/DropZone.h"
#include "platform/platform.h"
#include "state/AppState.h"
#include "state/Message.h"

namespace vaultwing {

enum class SettingsBox { DeleteSources, Register, HotRegion, SendTo };

// Puts the hint that says whether a run destroys its sources into both password dialogs.
void ShowDeleteModeHint(const AppState& state, DesktopPort& desktop);
// Switches destroying the sources on or off: in the settings file and in the hints.
void SetDeleteMode(AppState& state, DesktopPort& desktop, bool on);

// The value each box gets when the window loads.
struct SettingsBoxes {
    bool deleteSources = false;
    bool registerType = false;
    bool hotRegion = false;
    bool sendTo = false;
};

// The screen edges of the hot region, numbered as the window's lines and labels are.
inline constexpr int kEdgeTop = 0;
inline constexpr int kEdgeLeft = 1;
inline constexpr int kEdgeRight = 2;
inline constexpr int kEdgeBottom = 3;
inline constexpr int kEdgeCount = 4;

// The setting of edge `edge`.
[[nodiscard]] SwitchSetting EdgeSetting(int edge);
// The drop zone's in-memory value of that edge.
[[nodiscard]] bool& EdgeOf(HotRegion& region, int edge);
[[nodiscard]] bool EdgeOf(const HotRegion& region, int edge);

// The order in which ShowHotRegionStatus labels the edges: top, bottom, left, right.
inline constexpr int kEdgeStatusOrder[kEdgeCount] = {kEdgeTop, kEdgeBottom, kEdgeLeft, kEdgeRight};

class SettingsActions {
public:
    // `hotRegionTimer` starts (true) or stops (false) the drop zone's hot-region timer.
    SettingsActions(AppState& state, DesktopPort& desktop, std::function<void(bool)> hotRegionTimer)
        : state_(state), desktop_(desktop), hotRegionTimer_(std::move(hotRegionTimer)) {}

    // Load steps 4 to 7: destroying sources (its delete-mode hint is set here), the file-type
    // association, the hot region and the Send To entry. The window then ticks the boxes that
    // are on, which runs their actions, so enabled options are applied again at every start.
    [[nodiscard]] SettingsBoxes ReadBoxes();

    // A box's value changed (a user's click, a tick at load, the password dialogs' hint).
    void BoxChanged(SettingsBox box, bool ticked);

    // The transparency slider's value changed: it is stored (the window applies it to the drop
    // zone).
    void TransparencyChanged(int value);

    // A click on edge `edge`'s label showing `caption`: the edge's new state, written to the
    // settings and kept in `region`; nullopt (nothing changes) when the caption is neither the
    // "on" text nor the "off" text. When both texts are equal the click always switches on.
    std::optional<bool> EdgeClicked(HotRegion& region, int edge, const std::string& caption);

    // The icon the file-type association names: VWX_icon.ico in the program folder.
    [[nodiscard]] std::string IconPath() const;

    // The manual in the language in use: the file its language text names in the documents
    // folder, Manual.pdf where the language names none (or names more than a file).
    [[nodiscard]] std::string ManualPath() const;
    // Said when nothing could show the manual at `path`.
    [[nodiscard]] Message ManualNotShownMessage(const std::string& path) const;

    // The program the file-type association starts: the one running now, under its own name and
    // path (a renamed, moved or installed copy), not a "VWX" assumed in the program folder. The
    // Send To entry starts the VWX beside it.
    std::string executable = platform::ExecutablePath();

private:
    void RegisterFileType() const;
    // Where the Send To entry finds the desktop program: beside the running one.
    [[nodiscard]] std::string RunningProgramFolder() const;

    AppState& state_;
    DesktopPort& desktop_;
    std::function<void(bool)> hotRegionTimer_;
};

} // namespace vaultwing
