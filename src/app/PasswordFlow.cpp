#include "app/PasswordFlow.h"

#include "base/Secret.h"
#include "config/LangIndices.h"
#include "password/KeyRules.h"

namespace vaultwing {

void PasswordFlow::Refuse(int textIndex, int titleIndex) {
    ui_.ShowMessage(Message{state_.Text(textIndex), state_.Text(titleIndex), MsgIcon::Exclamation, MsgButtons::Ok});
    desktop_.ShowInTaskbar(false);
}

PasswordOutcome PasswordFlow::EncryptOk(std::string_view password, std::string_view repetition) {
    // Another dialog's run is working (events run in its middle): that run owns the key and the
    // lists, so this request is ignored and the dialog stays as it is.
    if (state_.runActive) return {PasswordHandling::Busy, RunResult::Refused};
    if (!IsValidKey(password)) {
        Refuse(lang::kPasswordRefused, lang::kKeyMessageTitle);
        desktop_.ClearPasswordFields(PasswordDialog::Encrypt);
        return {PasswordHandling::Refused};
    }
    if (password != repetition) {
        desktop_.ClearPasswordFields(PasswordDialog::Encrypt);
        Refuse(lang::kKeyMismatch, lang::kKeyMessageTitle);
        return {PasswordHandling::Mismatch};
    }
    desktop_.HidePasswordDialog(PasswordDialog::Encrypt);
    const RunResult run = runs_.Encrypt(lists_.toEncrypt, Secret(password));
    desktop_.ClearPasswordFields(PasswordDialog::Encrypt);
    desktop_.ClosePasswordDialog(PasswordDialog::Encrypt);
    return {PasswordHandling::Ran, run};
}

PasswordOutcome PasswordFlow::DecryptOk(std::string_view password) {
    if (state_.runActive) return {PasswordHandling::Busy, RunResult::Refused};
    if (password.empty()) {
        Refuse(lang::kKeyDirectEmpty, lang::kWarningTitle);
        return {PasswordHandling::Refused};
    }
    desktop_.HidePasswordDialog(PasswordDialog::Decrypt);
    const RunResult run = runs_.Decrypt(lists_.toDecrypt, Secret(password));
    // Interactive: the dialog stays loaded and hidden for the next decryption.
    if (state_.runMode != RunMode::Interactive)
        desktop_.ClosePasswordDialog(PasswordDialog::Decrypt);
    else
        desktop_.ClearPasswordFields(PasswordDialog::Decrypt);
    return {PasswordHandling::Ran, run};
}

void PasswordFlow::DialogUnloaded(PasswordDialog dialog) {
    auto& list = dialog == PasswordDialog::Encrypt ? lists_.toEncrypt : lists_.toDecrypt;
    switch (state_.runMode) {
    case RunMode::Interactive:
        desktop_.ShowInTaskbar(false);
        list.clear();
        desktop_.ShowMainWindow();
        break;
    case RunMode::CommandLine:
        list.clear();
        // A command line with plain and encrypted files: after the decryption dialog, the
        // encryption list gets its own dialog before the program ends.
        if (dialog == PasswordDialog::Decrypt && !lists_.toEncrypt.empty())
            desktop_.ShowPasswordDialog(PasswordDialog::Encrypt);
        else
            desktop_.QuitApplication();
        break;
    default:
        desktop_.ShowInTaskbar(false);
        list.clear();
        break;
    }
}

std::string PasswordFlow::QualityText(std::string_view password) const {
    return state_.Text(lang::kKeyQualityPrefix) + std::to_string(KeyQuality(password)) + " %";
}

} // namespace vaultwing
