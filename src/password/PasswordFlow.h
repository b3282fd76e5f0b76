#pragma once
// What the two password dialogs decide: the acceptance of a password, the start of the run and
// what happens when a dialog goes away. The windows only move text and focus.
#include <string>

#include "state/AppState.h"
#include "state/UiPort.h"
#include "files/JobLists.h"
#include "files/Runs.h"

namespace vaultwing {

enum class KeyOkOutcome {
    Refused,  // the password breaks the rules (or is empty for decryption): message shown
    Mismatch, // the two fields differ: fields emptied, message shown
    Ran,      // the run was started and has ended; `run` tells how
    Busy,     // another run is active: nothing was done
};

struct KeyOk {
    KeyOkOutcome outcome;
    RunResult run = RunResult::Completed;
};

class PasswordFlow {
public:
    PasswordFlow(AppState& state, UiPort& ui, JobLists& lists, Runs& runs)
        : state_(state), ui_(ui), lists_(lists), runs_(runs) {}

    // OK of the encryption dialog (EncryptPasswordDialog) with both fields.
    KeyOk EncryptOk(const std::string& password, const std::string& repetition);
    // OK of the decryption dialog (DecryptPasswordDialog).
    KeyOk DecryptOk(const std::string& password);

    // A dialog became active: no password may linger from before (unless a run is using it).
    void DialogActivated();
    // A dialog was unloaded (after a run, or closed by the user): its list is dropped and the
    // program goes on as the run mode says.
    void DialogUnloaded(PasswordDialog dialog);

    // The quality meter's text for the first field.
    [[nodiscard]] std::string QualityText(const std::string& password) const;

private:
    AppState& state_;
    UiPort& ui_;
    JobLists& lists_;
    Runs& runs_;
};

} // namespace vaultwing
