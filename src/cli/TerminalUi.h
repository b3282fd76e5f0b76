#pragma once
// The terminal side of the user-interface port: messages and the progress bar on standard
// error, passwords asked on the terminal without echo.
#include <string>

#include "state/UiPort.h"

namespace vaultwing::cli {

class TerminalUi : public UiPort {
public:
    explicit TerminalUi(bool quiet);

    MsgAnswer ShowMessage(const Message& message) override;
    void ProgressBegin(RunDirection direction, const std::string& caption) override;
    void ProgressShowFile(const std::string& fileName) override;
    void ProgressSetPercent(int percent) override;
    void ProgressHide() override;
    bool CancelRequested() override;

private:
    void DrawBar();
    void EndBarLine();

    bool drawBar_;
    bool barOnScreen_ = false;
    std::string caption_;
    std::string fileName_;
    int percent_ = -1;
};

// Puts the program's line breaks (CR LF, or a lone CR from a language file's "_") as terminal lines;
// every other control character (a lone LF of a language text) is shown escaped. The names in a
// message were escaped when it was built, so every CR left in it is the program's own.
[[nodiscard]] std::string TerminalLines(const std::string& text);

} // namespace vaultwing::cli
