#include "app/SettingsActions.h"

#include "config/LangIndices.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

bool On(const std::string& value) {
    return !value.empty() && value != "0";
}

const char* BoxValue(bool ticked) {
    return ticked ? "1" : "0";
}

} // namespace

const char* EdgeKey(int edge) {
    switch (edge) {
    case kEdgeTop:
        return "HotRegion Oben";
    case kEdgeLeft:
        return "HotRegion Links";
    case kEdgeRight:
        return "HotRegion Rechts";
    default:
        return "HotRegion Unten";
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

SettingsBoxes SettingsActions::ReadBoxes() {
    const IniStore& settings = state_.settings;
    SettingsBoxes boxes;
    std::string del = settings.ReadINI("Delete", kSettingsSection);
    if (del.empty()) del = "0";
    boxes.fileDel = del != "0";
    ui_.SetDeleteModeText(state_.Text(boxes.fileDel ? lang::kDeleteModeOn : lang::kDeleteModeOff));
    boxes.registerType = On(settings.ReadINI("Register", kSettingsSection));
    boxes.hotRegion = On(settings.ReadINI("HotRegion", kSettingsSection));
    boxes.sendTo = On(settings.ReadINI("SendTo", kSettingsSection));
    return boxes;
}

std::string SettingsActions::IconPath() const {
    return state_.programFolder + platform::kPathSeparator + "VWX_icon.ico";
}

void SettingsActions::BoxChanged(SettingsBox box, bool ticked) {
    IniStore& settings = state_.settings;
    switch (box) {
    case SettingsBox::FileDel:
        lists_.SetDeleteMode(ticked);
        break;
    case SettingsBox::Register:
        if (ticked) {
            (void)settings.WriteINI("Register", "1", kSettingsSection);
            platform::RegisterFileType("vwx", state_.programFolder, "VWX", "VWX File", IconPath());
        } else {
            platform::UnregisterFileType("vwx");
            (void)settings.WriteINI("Register", "0", kSettingsSection);
        }
        break;
    case SettingsBox::HotRegion:
        if (hotRegionTimer_) hotRegionTimer_(ticked);
        (void)settings.WriteINI("HotRegion", BoxValue(ticked), kSettingsSection);
        break;
    case SettingsBox::SendTo:
        if (ticked) {
            // A failure leaves nothing to report: the window has no message for it, and the
            // setting still records what the user asked for.
            (void)platform::CreateSendToShortcut(state_.programFolder);
            (void)settings.WriteINI("SendTo", "1", kSettingsSection);
        } else {
            (void)settings.WriteINI("SendTo", "0", kSettingsSection);
            platform::RemoveSendToShortcut();
        }
        break;
    }
}

void SettingsActions::TransparencyChanged(int value) {
    (void)state_.settings.WriteINI("Transparenz", std::to_string(value), kSettingsSection);
}

std::optional<bool> SettingsActions::EdgeClicked(HotRegion& region, int edge, const std::string& caption) {
    bool on = false;
    if (caption == state_.Text(lang::kEdgeOff))
        on = true;
    else if (caption != state_.Text(lang::kEdgeOn))
        return std::nullopt;
    EdgeOf(region, edge) = on;
    (void)state_.settings.WriteINI(EdgeKey(edge), BoxValue(on), kSettingsSection);
    return on;
}

} // namespace vaultwing
