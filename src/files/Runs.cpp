#include "files/Runs.h"

#include <cmath>

#include "base/SecureWipe.h"
#include "base/VwxError.h"
#include "base/PathNames.h"
#include "cipher/Verify.h"
#include "config/LangIndices.h"
#include "files/JobLists.h"
#include "files/SourceFiles.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

// Thrown from the progress handler when the user cancels; the cipher then removes its
// temporary output and leaves the destination as it was.
struct RunCancelledByUser {};

} // namespace

Runs::Runs(AppState& state, UiPort& ui) : state_(state), ui_(ui), cipher_(state.texts) {
    cipher_.Progress = [this](int percent) {
        SetProgress(static_cast<float>(percent));
        ui_.DoEvents();
        if (ui_.CancelRequested()) throw RunCancelledByUser{};
    };
}

void Runs::SetProgress(float percent) {
    if (percent > 100.0F) percent = 100.0F;
    ui_.ProgressSetPercent(static_cast<int>(std::nearbyint(percent)));
}

RunResult Runs::Encrypt(std::vector<std::string>& list) { return Run(RunDirection::Encrypt, list); }

RunResult Runs::Decrypt(std::vector<std::string>& list) { return Run(RunDirection::Decrypt, list); }

RunResult Runs::Run(RunDirection direction, std::vector<std::string>& list) {
    // Pending events run in the middle of a file; nothing they trigger may start a second run
    // that would change the key, the current file or the list under this one.
    if (state_.runActive) return RunResult::Refused;
    state_.runActive = true;

    const bool encrypt = direction == RunDirection::Encrypt;
    SetProgress(0);
    ui_.ProgressBegin(direction, state_.Text(encrypt ? lang::kProgressEncrypt : lang::kProgressDecrypt));

    const std::vector<std::string> files = list; // the list stays as it is until the run ends
    for (const std::string& file : files) {
        state_.currentFile = file;
        ui_.ProgressShowFile(GetFileName(file));
        std::string failure;
        RunResult outcome = RunResult::Completed;
        // Which file is read: only that one may be destroyed afterwards.
        const auto identity = platform::IdentifyFile(file);
        try {
            if (encrypt)
                cipher_.EncryptFile(file, file + ".vwx", state_.password);
            else
                cipher_.DecryptFile(file, StripExtension(file), state_.password);
        } catch (const VwxError& error) {
            failure = error.Description();
            outcome = RunResult::Failed;
        } catch (const RunCancelledByUser&) {
            failure = state_.Text(lang::kRunCancelled);
            outcome = RunResult::Cancelled;
        }
        if (outcome != RunResult::Completed) {
            ui_.ProgressHide();
            ui_.ShowMessage(WarningMessage(state_, file + kCrLf + kCrLf + failure));
            EndRun(list);
            return outcome;
        }
        // The destination is complete and on disk before its source may go, and the source goes
        // only when the encrypted form gives back exactly its bytes.
        if (state_.deleteSources) {
            const std::string encrypted = encrypt ? file + ".vwx" : file;
            const std::string plain = encrypt ? file : StripExtension(file);
            if (beforeVerify) beforeVerify(encrypt ? encrypted : plain);
            if (!EncryptedMatchesPlain(encrypted, plain, state_.password, [this] { ui_.DoEvents(); })) {
                ui_.ProgressHide();
                ui_.ShowMessage(WarningMessage(state_, file + kCrLf + kCrLf + state_.Text(lang::kVerifyFailed)));
                EndRun(list);
                return RunResult::Failed;
            }
            const auto kept =
                DestroyProcessedSource(file, identity, encrypt ? encrypted : plain, [this] { ui_.DoEvents(); });
            if (kept && sourceKept) sourceKept(file, *kept);
        }
        SetProgress(0);
    }
    ui_.ProgressHide();
    EndRun(list);
    return RunResult::Completed;
}

void Runs::EndRun(std::vector<std::string>& list) {
    list.clear();
    WipeString(state_.password);
    cipher_.Key(""); // the key words are zeros again
    ui_.ShowInTaskbar(false);
    if (state_.runMode == RunMode::Interactive) ui_.ShowMainWindow();
    state_.runActive = false;
}

} // namespace vaultwing
