#pragma once
// What the two password dialogs decide: the acceptance of a password, the start of the run and
// what happens when a dialog goes away. The windows only move text and focus.
#include <string>
#include <string_view>

#include "app/DesktopPort.h"
#include "files/JobLists.h"
#include "files/Runs.h"
#include "state/AppState.h"
#include "state/UiPort.h"

namespace vaultwing {

enum class PasswordHandling {
    Refused,  // the password breaks the rules (or is empty for decryption): message shown
    Mismatch, // the two fields differ: fields emptied, message shown
    Ran,      // the run was started and has ended; `run` tells how
    Busy,     // another run is active: nothing was done
};

// What became of a password given to a dialog's OK.
struct PasswordOutcome {
    PasswordHandling handling;
    RunResult run = RunResult::Completed;
};

class PasswordFlow {
public:
    PasswordFlow(AppState& state, UiPort& ui, DesktopPort& desktop, JobLists& lists, Runs& runs)
        : state_(state), ui_(ui), desktop_(desktop), lists_(lists), runs_(runs) {}

    // OK of the encryption dialog (EncryptPasswordDialog) with both fields.
    PasswordOutcome EncryptOk(std::string_view password, std::string_view repetition);
    // OK of the decryption dialog (DecryptPasswordDialog).
    PasswordOutcome DecryptOk(std::string_view password);

    // A dialog was unloaded (after a run, or closed by the user): its list is dropped and the
    // program goes on as the run mode says.
    void DialogUnloaded(PasswordDialog dialog);

    // The quality meter's text for the first field.
    [[nodiscard]] std::string QualityText(std::string_view password) const;

private:
    // The message of a refused password; the drop zone loses the taskbar button it had for it.
    void Refuse(int textIndex, int titleIndex);

    AppState& state_;
    UiPort& ui_;
    DesktopPort& desktop_;
    JobLists& lists_;
    Runs& runs_;
};

} // namespace vaultwing
