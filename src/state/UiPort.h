#pragma once
// The narrow interface through which a run talks back to whoever shows the program: messages,
// progress, cancelling and letting pending events run. The desktop windows (VWX), the terminal
// (vaultwing) and the recording fake of the tests implement it; what only the desktop has
// (windows, tray, dialogs) is app/DesktopPort.h.
#include <string>

#include "state/Message.h"

namespace vaultwing {

enum class RunDirection { Encrypt, Decrypt };

class UiPort {
public:
    virtual ~UiPort() = default;

    // A message box; returns the button the user chose.
    virtual MsgAnswer ShowMessage(const Message& message) = 0;
    // A warning from the core. The desktop gives the drop zone a taskbar button for the time of
    // the message, so that the message has a taskbar entry while the drop zone has none.
    virtual void ShowWarning(const Message& message) { ShowMessage(message); }
    // Let pending window events run (repaint, clicks) in the middle of long work. A front end
    // without an event loop has nothing to do here.
    virtual void LetEventsRun() {}
    // The hourglass pointer during a folder walk.
    virtual void SetBusy(bool /*busy*/) {}

    // The progress window.
    virtual void ProgressBegin(RunDirection direction, const std::string& caption) = 0; // colour + caption
    virtual void ProgressShowFile(const std::string& fileName) = 0; // show the window with this name
    virtual void ProgressSetPercent(int percent) = 0;
    virtual void ProgressHide() = 0;
    // True once the user asked to cancel the running file; cleared when a run begins.
    [[nodiscard]] virtual bool CancelRequested() = 0;
};

} // namespace vaultwing
