#pragma once
// Progress counting: about one event per percentage point of a pass over N bytes. After the
// block at offset `off`: if off >= NextAt, Last = floor(off / N * 100), NextAt = round((Last + 1)
// / 100 * N + 1) and the event reports Last. The pass ends with 100 unless Last already is 100.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>

#include "cipher/TeaBlock.h"

namespace vaultwing::tea {

class ProgressCounter {
public:
    // The receiver is copied: a receiver that replaces the event handler mid-pass must not pull
    // the running one out from under us.
    ProgressCounter(std::uint64_t total, std::function<void(int)> receiver)
        : total_(total), receiver_(std::move(receiver)) {}

    [[nodiscard]] bool Active() const noexcept { return static_cast<bool>(receiver_); }
    // Offset of the first block at or after `from` after which an event is due.
    [[nodiscard]] std::uint64_t NextEventBlock(std::uint64_t from) const noexcept;
    // Raises the event for the block at `offset`, which must be the one NextEventBlock named.
    void Raise(std::uint64_t offset);
    void Finish();

private:
    std::uint64_t total_;
    std::function<void(int)> receiver_;
    std::uint64_t nextAt_ = 0;
    int last_ = 0;
};

// Runs `kernel(data, size)` over [data, data + size), which sits at `offset` of the pass,
// stopping after every block that is due for a progress event to raise it.
template <class Kernel>
void PassWithProgress(std::uint8_t* data, std::size_t size, std::uint64_t offset, ProgressCounter& progress,
                      Kernel&& kernel) {
    std::size_t done = 0;
    while (done < size) {
        if (!progress.Active()) {
            kernel(data + done, size - done);
            return;
        }
        const std::uint64_t due = progress.NextEventBlock(offset + done);
        if (due >= offset + size) {
            kernel(data + done, size - done);
            return;
        }
        const auto end = static_cast<std::size_t>(due - offset) + kBlockSize;
        kernel(data + done, end - done);
        done = end;
        progress.Raise(due);
    }
}

} // namespace vaultwing::tea
