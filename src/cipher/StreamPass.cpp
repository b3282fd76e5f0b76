#include "cipher/StreamPass.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/SecureWipe.h"
#include "cipher/Progress.h"

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

} // namespace

// Two buffers of half the budget each. A worker thread does all the file work: it writes
// chunk k - 2 once the calling thread has enciphered it and then reads chunk k into the freed
// buffer, while the calling thread enciphers chunk k - 1 and raises the progress events.
void RunStreamPass(const StreamPass& pass, const std::function<void(int)>& progress) {
    const std::size_t half =
        std::max<std::size_t>(pass.bufferBytes / 2 / tea::kBlockSize * tea::kBlockSize, tea::kBlockSize);
    if (pass.total <= half) {
        RunSequential(pass, progress, half);
        return;
    }
    const std::uint64_t count = (pass.total + half - 1) / half;
    const auto chunkPos = [&](std::uint64_t k) { return k * half; };
    const auto chunkSize = [&](std::uint64_t k) {
        return static_cast<std::size_t>(std::min<std::uint64_t>(half, pass.total - k * half));
    };
    std::array<SecretBuffer, 2> buffers{SecretBuffer(half), SecretBuffer(half)};
    const auto slot = [&](std::uint64_t k) { return buffers[k % 2].data(); };

    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t produced = 0;    // chunks read, by the worker
    std::uint64_t transformed = 0; // chunks enciphered, by the calling thread
    bool written = false;          // the worker has written every chunk
    bool stop = false;             // the calling thread gave up
    std::exception_ptr workerError;

    // Waits until chunk `k` is enciphered; false when the pass is abandoned.
    const auto awaitTransformed = [&](std::uint64_t k) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return stop || transformed > k; });
        return !stop;
    };
    const auto io = [&] {
        try {
            for (std::uint64_t k = 0; k < count; ++k) {
                if (k >= 2) {
                    if (!awaitTransformed(k - 2)) return;
                    pass.consume(slot(k - 2), chunkPos(k - 2), chunkSize(k - 2));
                }
                pass.produce(slot(k), chunkPos(k), chunkSize(k));
                {
                    std::lock_guard lock(mutex);
                    produced = k + 1;
                }
                changed.notify_all();
            }
            for (std::uint64_t k = count >= 2 ? count - 2 : 0; k < count; ++k) {
                if (!awaitTransformed(k)) return;
                pass.consume(slot(k), chunkPos(k), chunkSize(k));
            }
            std::lock_guard lock(mutex);
            written = true;
        } catch (...) {
            std::lock_guard lock(mutex);
            workerError = std::current_exception();
        }
        changed.notify_all();
    };

    std::thread worker;
    try {
        worker = std::thread(io);
    } catch (const std::system_error&) {
        RunSequential(pass, progress, half);
        return;
    }
    // However this function is left, the worker is told to stop and joined before the buffers go.
    struct Joiner {
        std::thread& thread;
        std::mutex& mutex;
        bool& stop;
        std::condition_variable& changed;
        ~Joiner() {
            {
                std::lock_guard lock(mutex);
                stop = true;
            }
            changed.notify_all();
            if (thread.joinable()) thread.join();
        }
    } joiner{worker, mutex, stop, changed};

    tea::ProgressCounter counter(pass.total, progress);
    tea::Chain chain;
    for (std::uint64_t k = 0; k < count; ++k) {
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return workerError || produced > k; });
            if (workerError) std::rethrow_exception(workerError);
        }
        TransformChunk(pass, slot(k), chunkPos(k), chunkSize(k), counter, chain);
        {
            std::lock_guard lock(mutex);
            transformed = k + 1;
        }
        changed.notify_all();
    }
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return workerError || written; });
        if (workerError) std::rethrow_exception(workerError);
    }
    counter.Finish();
}

} // namespace vaultwing
