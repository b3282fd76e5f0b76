#include "cipher/StreamPass.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stop_token>
#include <system_error>
#include <thread>

#include "base/SecureWipe.h"
#include "cipher/Progress.h"
#include "cipher/StopAndWake.h"

namespace vaultwing {
namespace {

void TransformChunk(const StreamPass& pass, std::uint8_t* data, std::uint64_t pos, std::size_t size,
                    tea::ProgressCounter& counter, tea::Chain& chain) {
    tea::PassWithProgress(data, size, pos, counter,
                          [&](std::uint8_t* part, std::size_t n) { pass.transform(part, n, chain); });
}

// Everything on the calling thread, one chunk after the other: for a pass that fits one chunk
// (no thread is worth starting) and when no thread can be had.
void RunSequential(const StreamPass& pass, const std::function<void(int)>& progress, std::size_t chunk) {
    // The buffers hold plaintext at some point in either direction.
    SecretBuffer buffer(static_cast<std::size_t>(std::min<std::uint64_t>(chunk, pass.total)));
    tea::ProgressCounter counter(pass.total, progress);
    tea::Chain chain;
    for (std::uint64_t pos = 0; pos < pass.total;) {
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), pass.total - pos));
        pass.produce(buffer.data(), pos, size);
        TransformChunk(pass, buffer.data(), pos, size, counter, chain);
        pass.consume(buffer.data(), pos, size);
        pos += size;
    }
    counter.Finish();
}

// Two buffers of half the budget each. A worker thread does all the file work: it writes chunk
// k - 2 once the calling thread has enciphered it and then reads chunk k into the freed buffer,
// while the calling thread enciphers chunk k - 1 and raises the progress events.
class DoubleBufferedPass {
public:
    DoubleBufferedPass(const StreamPass& pass, std::size_t half)
        : pass_(pass), half_(half), count_((pass.total + half - 1) / half) {}
    DoubleBufferedPass(const DoubleBufferedPass&) = delete;
    DoubleBufferedPass& operator=(const DoubleBufferedPass&) = delete;
    ~DoubleBufferedPass() { StopAndWake({&worker_, 1}, mutex_, changed_); }

    // False, and nothing done, when no thread can be had.
    [[nodiscard]] bool StartFileWork() {
        try {
            worker_ = std::jthread([this](const std::stop_token& stop) { FileWork(stop); });
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

    // The calling thread's part; a failure of the file work is raised here.
    void Transform(const std::function<void(int)>& progress) {
        tea::ProgressCounter counter(pass_.total, progress);
        tea::Chain chain;
        for (std::uint64_t k = 0; k < count_; ++k) {
            AwaitFileWork([&] { return produced_ > k; });
            TransformChunk(pass_, Slot(k), Pos(k), Size(k), counter, chain);
            {
                std::lock_guard lock(mutex_);
                transformed_ = k + 1;
            }
            changed_.notify_all();
        }
        AwaitFileWork([&] { return written_; });
        counter.Finish();
    }

private:
    std::uint8_t* Slot(std::uint64_t k) { return buffers_[k % 2].data(); }
    [[nodiscard]] std::uint64_t Pos(std::uint64_t k) const { return k * half_; }
    [[nodiscard]] std::size_t Size(std::uint64_t k) const {
        return static_cast<std::size_t>(std::min<std::uint64_t>(half_, pass_.total - k * half_));
    }

    template <class Done> void AwaitFileWork(Done&& done) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return workerError_ || done(); });
        if (workerError_) std::rethrow_exception(workerError_);
    }

    // Waits until chunk `k` is enciphered; false when the pass is abandoned.
    bool AwaitTransformed(const std::stop_token& stop, std::uint64_t k) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stop.stop_requested() || transformed_ > k; });
        return !stop.stop_requested();
    }

    void FileWork(const std::stop_token& stop) {
        try {
            if (ReadAndWrite(stop)) {
                std::lock_guard lock(mutex_);
                written_ = true;
            }
        } catch (...) {
            std::lock_guard lock(mutex_);
            workerError_ = std::current_exception();
        }
        changed_.notify_all();
    }

    // False when the calling thread gave up.
    bool ReadAndWrite(const std::stop_token& stop) {
        for (std::uint64_t k = 0; k < count_; ++k) {
            if (k >= 2) {
                if (!AwaitTransformed(stop, k - 2)) return false;
                pass_.consume(Slot(k - 2), Pos(k - 2), Size(k - 2));
            }
            pass_.produce(Slot(k), Pos(k), Size(k));
            {
                std::lock_guard lock(mutex_);
                produced_ = k + 1;
            }
            changed_.notify_all();
        }
        for (std::uint64_t k = count_ >= 2 ? count_ - 2 : 0; k < count_; ++k) {
            if (!AwaitTransformed(stop, k)) return false;
            pass_.consume(Slot(k), Pos(k), Size(k));
        }
        return true;
    }

    const StreamPass& pass_;
    const std::size_t half_;
    const std::uint64_t count_;
    std::array<SecretBuffer, 2> buffers_{SecretBuffer(half_), SecretBuffer(half_)};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t produced_ = 0;    // chunks read, by the worker
    std::uint64_t transformed_ = 0; // chunks enciphered, by the calling thread
    bool written_ = false;          // the worker has written every chunk
    std::exception_ptr workerError_;
    // Last: however the pass is left, the worker is told to stop and joined before the rest goes.
    std::jthread worker_;
};

} // namespace

void RunStreamPass(const StreamPass& pass, const std::function<void(int)>& progress) {
    const std::size_t half =
        std::max<std::size_t>(pass.bufferBytes / 2 / tea::kBlockSize * tea::kBlockSize, tea::kBlockSize);
    if (pass.total > half) {
        DoubleBufferedPass doubled(pass, half);
        if (doubled.StartFileWork()) {
            doubled.Transform(progress);
            return;
        }
    }
    RunSequential(pass, progress, half);
}

} // namespace vaultwing
