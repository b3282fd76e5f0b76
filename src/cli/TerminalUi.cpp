#include "cli/TerminalUi.h"

#include <algorithm>
#include <cstdio>

#include "base/Utf8.h"
#include "platform/platform.h"

namespace vaultwing::cli {
// Ctrl+C, a hang-up or SIGTERM during a run cancels the current file cleanly instead of killing
// the process half-way: the cipher then removes its temporary output.
TerminalUi::TerminalUi(bool quiet) : drawBar_(!quiet && platform::StandardErrorIsTerminal()) {
    platform::CatchStopSignals();
}

std::string TerminalLines(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t cr = std::min(text.find('\r', start), text.size());
        out += EscapeControlCharacters(std::string_view(text).substr(start, cr - start));
        if (cr == text.size()) break;
        out.push_back('\n');
        start = cr + (text.compare(cr, 2, "\r\n") == 0 ? 2 : 1);
    }
    return out;
}

MsgAnswer TerminalUi::ShowMessage(const Message& message) {
    EndBarLine();
    std::fprintf(stderr, "%s\n", TerminalLines(message.text).c_str());
    std::fflush(stderr);
    return message.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

void TerminalUi::ProgressBegin(RunDirection, const std::string& caption) {
    caption_ = caption;
}

void TerminalUi::ProgressShowFile(const std::string& fileName) {
    EndBarLine();
    fileName_ = fileName;
    percent_ = -1;
}

void TerminalUi::ProgressSetPercent(int percent) {
    // The bar only grows within a file; the reset to 0 after a file would read as "nothing done".
    if (percent <= percent_) return;
    percent_ = percent;
    if (drawBar_ && !fileName_.empty()) DrawBar();
}

void TerminalUi::ProgressHide() {
    EndBarLine();
    fileName_.clear();
}

bool TerminalUi::CancelRequested() {
    return platform::StopSignal() != 0;
}

void TerminalUi::DrawBar() {
    constexpr int kWidth = 30;
    const int filled = percent_ * kWidth / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kWidth - filled), '.');
    std::fprintf(stderr, "\r%s [%s] %3d%%  %s", EscapeControlCharacters(caption_).c_str(), bar.c_str(), percent_,
                 EscapeControlCharacters(fileName_).c_str());
    std::fflush(stderr);
    barOnScreen_ = true;
}

void TerminalUi::EndBarLine() {
    if (!barOnScreen_) return;
    std::fputc('\n', stderr);
    barOnScreen_ = false;
}

} // namespace vaultwing::cli
