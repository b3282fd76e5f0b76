#pragma once
// The encryption and decryption runs: every file of one job list, one after the other, with
// one password, the progress window, and the sources destroyed afterwards when
// AppState::DeletesSources says so.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Secret.h"
#include "cipher/Cipher.h"
#include "cipher/ManyFiles.h"
#include "platform/platform.h"
#include "state/AppState.h"
#include "state/UiPort.h"

namespace vaultwing {

enum class RunResult {
    Completed, // every file processed
    Failed,    // a file failed: its message was shown, the run stopped there
    Cancelled, // the user cancelled: the current file's output was removed, its source kept
    Refused,   // another run was active; nothing was done
};

class Runs {
public:
    Runs(AppState& state, UiPort& ui);

    // Encrypts every file of `list` (toEncrypt) to "<name>.vwx" with `password`.
    RunResult Encrypt(std::vector<std::string>& list, const Secret& password);
    // Decrypts every file of `list` (toDecrypt) to its name without the last extension.
    RunResult Decrypt(std::vector<std::string>& list, const Secret& password);

    // Sets the bar from a percentage: values above 100 become 100, others are rounded.
    void SetProgress(float percent);

    [[nodiscard]] Cipher& cipher() { return cipher_; }

    // Runs between writing a file and reading it back for the check before its source is
    // destroyed; tests use it to damage the written file.
    std::function<void(const std::string& written)> beforeVerify;
    // Runs when a run has ended, before another may begin (the desktop shows the drop zone again).
    std::function<void()> runEnded;
    // Told when a source that was to be destroyed was kept, and why (the command line says so).
    std::function<void(const std::string& source, const std::string& why)> sourceKept;

    // An encryption list of several files keeps several in flight with this setup; none: one
    // file after the other. The result is the same either way.
    std::optional<ManyFilesSetup> manyFiles{ManyFilesSetup{}};

private:
    RunResult Run(RunDirection direction, std::vector<std::string>& list, const Secret& password);
    // After a file's output is in place: the read-back check and the source's destruction.
    // False when the check failed.
    bool FinishFile(const std::string& file, bool encrypt, const std::optional<platform::FileIdentity>& identity,
                    const Secret& password);
    void EndRun(std::vector<std::string>& list);

    AppState& state_;
    UiPort& ui_;
    Cipher cipher_;
};

} // namespace vaultwing
