#include "password/PasswordFlow.h"

#include "base/SecureWipe.h"
#include "config/LangIndices.h"
#include "password/KeyRules.h"

namespace vaultwing {

KeyOk PasswordFlow::EncryptOk(const std::string& password, const std::string& repetition) {
    // Another dialog's run is working (events run in its middle): that run owns the password,
    // the key and the lists, so this request is ignored and the dialog stays as it is.
    if (state_.runActive) return {KeyOkOutcome::Busy, RunResult::Refused};
    if (!IsValidKey(password)) {
        ui_.ShowMessage(Message{state_.Text(lang::kPasswordRefused), state_.Text(lang::kKeyMessageTitle),
                                MsgIcon::Exclamation, MsgButtons::Ok});
        ui_.ShowInTaskbar(false);
        ui_.ClearPasswordFields(PasswordDialog::Encrypt);
        return {KeyOkOutcome::Refused};
    }
    if (password != repetition) {
        ui_.ClearPasswordFields(PasswordDialog::Encrypt);
        ui_.ShowMessage(Message{state_.Text(lang::kKeyMismatch), state_.Text(lang::kKeyMessageTitle),
                                MsgIcon::Exclamation, MsgButtons::Ok});
        ui_.ShowInTaskbar(false);
        return {KeyOkOutcome::Mismatch};
    }
    state_.password = password;
    ui_.HidePasswordDialog(PasswordDialog::Encrypt);
    const RunResult run = runs_.Encrypt(lists_.toEncrypt);
    ui_.ClearPasswordFields(PasswordDialog::Encrypt);
    WipeString(state_.password);
    ui_.ClosePasswordDialog(PasswordDialog::Encrypt);
    return {KeyOkOutcome::Ran, run};
}

KeyOk PasswordFlow::DecryptOk(const std::string& password) {
    if (state_.runActive) return {KeyOkOutcome::Busy, RunResult::Refused};
    if (password.empty()) {
        ui_.ShowMessage(Message{state_.Text(lang::kKeyDirectEmpty), state_.Text(lang::kWarningTitle),
                                MsgIcon::Exclamation, MsgButtons::Ok});
        ui_.ShowInTaskbar(false);
        return {KeyOkOutcome::Refused};
    }
    state_.password = password;
    ui_.HidePasswordDialog(PasswordDialog::Decrypt);
    const RunResult run = runs_.Decrypt(lists_.toDecrypt);
    // Interactive: the dialog stays loaded and hidden for the next decryption.
    if (state_.runMode != RunMode::Interactive)
        ui_.ClosePasswordDialog(PasswordDialog::Decrypt);
    else
        ui_.ClearPasswordFields(PasswordDialog::Decrypt);
    return {KeyOkOutcome::Ran, run};
}

void PasswordFlow::DialogActivated() {
    // A second dialog activated while the first one's run works must not take its password.
    if (!state_.runActive) WipeString(state_.password);
}

void PasswordFlow::DialogUnloaded(PasswordDialog dialog) {
    WipeString(state_.password);
    auto& list = dialog == PasswordDialog::Encrypt ? lists_.toEncrypt : lists_.toDecrypt;
    switch (state_.runMode) {
    case RunMode::Interactive:
        ui_.ShowInTaskbar(false);
        list.clear();
        ui_.ShowMainWindow();
        break;
    case RunMode::CommandLine:
        list.clear();
        // A command line with plain and encrypted files: after the decryption dialog, the
        // encryption list gets its own dialog before the program ends.
        if (dialog == PasswordDialog::Decrypt && !lists_.toEncrypt.empty())
            ui_.ShowPasswordDialog(PasswordDialog::Encrypt);
        else
            ui_.QuitApplication();
        break;
    default:
        ui_.ShowInTaskbar(false);
        list.clear();
        break;
    }
}

std::string PasswordFlow::QualityText(const std::string& password) const {
    return state_.Text(lang::kKeyQualityPrefix) + std::to_string(KeyQuality(password)) + " %";
}

} // namespace vaultwing
