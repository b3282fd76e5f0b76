#include "app/SettingsActions.h"

#include "base/PathNames.h"
#include "config/LangIndices.h"
#include "platform/platform.h"

namespace vaultwing {

SwitchSetting EdgeSetting(int edge) {
    switch (edge) {
    case kEdgeTop:
        return Setting::HotRegionTop;
    case kEdgeLeft:
        return Setting::HotRegionLeft;
    case kEdgeRight:
        return Setting::HotRegionRight;
    default:
        return Setting::HotRegionBottom;
    }
}

bool& EdgeOf(HotRegion& region, int edge) {
    switch (edge) {
    case kEdgeTop:
        return region.top;
    case kEdgeLeft:
        return region.left;
    case kEdgeRight:
        return region.right;
    default:
        return region.bottom;
    }
}

bool EdgeOf(const HotRegion& region, int edge) {
    return EdgeOf(const_cast<HotRegion&>(region), edge);
}

void ShowDeleteModeHint(const AppState& state, DesktopPort& desktop) {
    desktop.SetDeleteModeText(state.Text(state.DeletesSources() ? lang::kDeleteModeOn : lang::kDeleteModeOff));
}

void SetDeleteMode(AppState& state, DesktopPort& desktop, bool on) {
    desktop.SetDeleteModeText(state.Text(on ? lang::kDeleteModeOn : lang::kDeleteModeOff));
    state.settings.SetOn(Setting::DeleteSources, on);
}

SettingsBoxes SettingsActions::ReadBoxes() {
    const Settings& settings = state_.settings;
    SettingsBoxes boxes;
    boxes.deleteSources = settings.IsOn(Setting::DeleteSources);
    desktop_.SetDeleteModeText(state_.Text(boxes.deleteSources ? lang::kDeleteModeOn : lang::kDeleteModeOff));
    // An installed copy's package opens .vwx files with VWX for every user already.
    boxes.registerType = state_.folders.installed || settings.IsOn(Setting::RegisterFileType);
    boxes.hotRegion = settings.IsOn(Setting::HotRegion);
    boxes.sendTo = settings.IsOn(Setting::SendTo);
    return boxes;
}

std::string SettingsActions::IconPath() const {
    return state_.folders.documents + platform::kPathSeparator + "VWX_icon.ico";
}

std::string SettingsActions::ManualPath() const {
    const std::string& named = state_.Text(lang::kManualFile);
    const bool fileName = !named.empty() && named.find_first_of("/\\") == std::string::npos;
    return state_.folders.documents + platform::kPathSeparator + (fileName ? named : std::string("Manual.pdf"));
}

Message SettingsActions::ManualNotShownMessage(const std::string& path) const {
    return Message{state_.Text(lang::kManualNotShown) + kCrLf + path, state_.Text(lang::kWarningTitle),
                   MsgIcon::Exclamation, MsgButtons::Ok};
}

std::string SettingsActions::RunningProgramFolder() const {
    // Not the program folder, which VAULTWING_HOME or %APPDATA% may have sent elsewhere.
    const auto separator = executable.rfind(platform::kPathSeparator);
    return separator == std::string::npos ? state_.programFolder : executable.substr(0, separator);
}

void SettingsActions::RegisterFileType() const {
    const auto separator = executable.rfind(platform::kPathSeparator);
    if (separator == std::string::npos) {
        platform::RegisterFileType("vwx", state_.programFolder, "VWX", "VWX File", IconPath());
        return;
    }
    std::string name = executable.substr(separator + 1);
    // Windows names the ProgID and the command without ".exe" (the command adds it again).
    if (platform::kWindows && name.size() > 4 && LowerAscii(name.substr(name.size() - 4)) == ".exe")
        name.resize(name.size() - 4);
    platform::RegisterFileType("vwx", executable.substr(0, separator + 1), name, "VWX File", IconPath());
}

void SettingsActions::BoxChanged(SettingsBox box, bool ticked) {
    Settings& settings = state_.settings;
    switch (box) {
    case SettingsBox::DeleteSources:
        SetDeleteMode(state_, desktop_, ticked);
        break;
    case SettingsBox::Register:
        if (state_.folders.installed) break; // nothing per user to write or remove
        if (ticked) {
            settings.SetOn(Setting::RegisterFileType, true);
            RegisterFileType();
        } else {
            platform::UnregisterFileType("vwx");
            settings.SetOn(Setting::RegisterFileType, false);
        }
        break;
    case SettingsBox::HotRegion:
        if (hotRegionTimer_) hotRegionTimer_(ticked);
        settings.SetOn(Setting::HotRegion, ticked);
        break;
    case SettingsBox::SendTo:
        if (ticked) {
            // A failure leaves nothing to report: the window has no message for it, and the
            // setting still records what the user asked for.
            (void)platform::CreateSendToShortcut(RunningProgramFolder());
            settings.SetOn(Setting::SendTo, true);
        } else {
            settings.SetOn(Setting::SendTo, false);
            platform::RemoveSendToShortcut();
        }
        break;
    }
}

void SettingsActions::TransparencyChanged(int value) {
    state_.settings.SetNumber(Setting::Transparency, value);
}

std::optional<bool> SettingsActions::EdgeClicked(HotRegion& region, int edge, const std::string& caption) {
    bool on = false;
    if (caption == state_.Text(lang::kEdgeOff))
        on = true;
    else if (caption != state_.Text(lang::kEdgeOn))
        return std::nullopt;
    EdgeOf(region, edge) = on;
    state_.settings.SetOn(EdgeSetting(edge), on);
    return on;
}

} // namespace vaultwing
