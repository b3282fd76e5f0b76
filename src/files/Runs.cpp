#include "files/Runs.h"

#include <cmath>

#include "base/PathNames.h"
#include "base/Utf8.h"
#include "base/VwxError.h"
#include "cipher/Verify.h"
#include "config/LangIndices.h"
#include "files/CipherMessages.h"
#include "files/JobLists.h"
#include "files/SourceFiles.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

// Thrown from the progress handler when the user cancels; the cipher then removes its
// temporary output and leaves the destination as it was.
struct RunCancelledByUser {};

} // namespace

Runs::Runs(AppState& state, UiPort& ui) : state_(state), ui_(ui) {
    cipher_.Progress = [this](int percent) {
        SetProgress(static_cast<float>(percent));
        ui_.LetEventsRun();
        if (ui_.CancelRequested()) throw RunCancelledByUser{};
    };
}

void Runs::SetProgress(float percent) {
    if (percent > 100.0F) percent = 100.0F;
    ui_.ProgressSetPercent(static_cast<int>(std::nearbyint(percent)));
}

RunResult Runs::Encrypt(std::vector<std::string>& list, const Secret& password) {
    return Run(RunDirection::Encrypt, list, password);
}

RunResult Runs::Decrypt(std::vector<std::string>& list, const Secret& password) {
    return Run(RunDirection::Decrypt, list, password);
}

RunResult Runs::Run(RunDirection direction, std::vector<std::string>& list, const Secret& password) {
    // Pending events run in the middle of a file; nothing they trigger may start a second run
    // that would change the key, the current file or the list under this one.
    if (state_.runActive) return RunResult::Refused;
    state_.runActive = true;

    const bool encrypt = direction == RunDirection::Encrypt;
    SetProgress(0);
    ui_.ProgressBegin(direction, state_.Text(encrypt ? lang::kProgressEncrypt : lang::kProgressDecrypt));

    const std::vector<std::string> files = list; // the list stays as it is until the run ends
    std::size_t current = 0;
    bool verified = true;
    const auto begin = [&](std::size_t k) {
        current = k;
        ui_.ProgressShowFile(GetFileName(files[k]));
    };
    // Which files are read: only those may be destroyed afterwards.
    // Taken for every file: the setting may change while the run lets events through.
    std::vector<std::optional<platform::FileIdentity>> identities;
    identities.reserve(files.size());
    for (const std::string& file : files)
        identities.push_back(platform::IdentifyFile(file));
    const auto finish = [&](std::size_t k) {
        verified = FinishFile(files[k], encrypt, identities[k], password);
        if (verified) SetProgress(0);
        return verified;
    };
    std::string failure;
    RunResult outcome = RunResult::Completed;
    try {
        if (encrypt && manyFiles && files.size() > 1) {
            std::vector<EncryptionJob> jobs;
            jobs.reserve(files.size());
            for (const std::string& file : files)
                jobs.push_back({file, file + ".vwx"});
            ManyFilesEncryption(cipher_, *manyFiles).Run(jobs, password.view(), begin, finish);
        } else {
            for (std::size_t k = 0; k < files.size() && verified; ++k) {
                begin(k);
                if (encrypt)
                    cipher_.EncryptFile(files[k], files[k] + ".vwx", password.view());
                else
                    cipher_.DecryptFile(files[k], StripExtension(files[k]), password.view());
                (void)finish(k);
            }
        }
    } catch (const CipherFailure& error) {
        failure = CipherFailureText(error, state_.texts);
        outcome = RunResult::Failed;
    } catch (const VwxError& error) {
        failure = error.Description();
        outcome = RunResult::Failed;
    } catch (const RunCancelledByUser&) {
        failure = state_.Text(lang::kRunCancelled);
        outcome = RunResult::Cancelled;
    }
    if (!verified) {
        failure = state_.Text(lang::kVerifyFailed);
        outcome = RunResult::Failed;
    }
    ui_.ProgressHide();
    if (outcome != RunResult::Completed)
        ui_.ShowMessage(WarningMessage(state_, EscapeControlCharacters(files[current]) + kCrLf + kCrLf + failure));
    EndRun(list);
    return outcome;
}

// The destination is complete and on disk before its source may go, and the source goes only
// when the encrypted form gives back exactly its bytes.
bool Runs::FinishFile(const std::string& file, bool encrypt, const std::optional<platform::FileIdentity>& identity,
                      const Secret& password) {
    if (!state_.DeletesSources()) return true;
    const std::string encrypted = encrypt ? file + ".vwx" : file;
    const std::string plain = encrypt ? file : StripExtension(file);
    if (beforeVerify) beforeVerify(encrypt ? encrypted : plain);
    if (!EncryptedMatchesPlain(encrypted, plain, password.view(), [this] { ui_.LetEventsRun(); })) return false;
    const auto kept =
        DestroyProcessedSource(file, identity, encrypt ? encrypted : plain, [this] { ui_.LetEventsRun(); });
    if (kept && sourceKept) sourceKept(file, *kept);
    return true;
}

void Runs::EndRun(std::vector<std::string>& list) {
    list.clear();
    cipher_.Key(""); // the key words are zeros again
    if (runEnded) runEnded();
    state_.runActive = false;
}

} // namespace vaultwing
