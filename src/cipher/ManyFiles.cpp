#include "cipher/ManyFiles.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <set>
#include <stop_token>
#include <system_error>
#include <thread>
#include <utility>

#include "base/SecureWipe.h"
#include "cipher/Cipher.h"
#include "cipher/CipherFailure.h"
#include "cipher/FileSteps.h"
#include "cipher/Progress.h"
#include "cipher/StopAndWake.h"
#include "platform/DurableWrite.h"
#include "platform/platform.h"

namespace vaultwing {
namespace {

using tea::kBlockSize;

// Failures are exactly those of Cipher::EncryptFile.
constexpr auto kOperation = CipherOperation::EncryptFile;
constexpr std::size_t kMaxWindow = 128; // files started ahead of the head: two open files each
// Descriptors left to the calling thread beside the window: a file encrypted alone, the read-back
// check, folder commits and the destruction of a source each hold a few at a time.
constexpr std::size_t kReservedDescriptors = 16;
constexpr unsigned kFlushers = 2;

// One file of the list, shared by the worker that enciphers it and the calling thread.
struct FileSlot {
    enum class Stage { Waiting, Running, Written, Failed, Alone };
    Stage stage = Stage::Waiting;
    std::uint64_t framed = 0;             // from Running on
    std::uint64_t done = 0;               // bytes enciphered and written
    std::optional<TempFileBeside> output; // Written: complete, renamed by the calling thread
    bool syncing = false;                 // a flusher commits it to disk ahead of the rename
    std::exception_ptr error;             // Failed
};

struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<FileSlot> slots;
    std::size_t next = 0;  // the next file a lane takes
    std::size_t head = 0;  // the file the calling thread waits for
    std::size_t limit = 0; // no file from here on is started (a failure moves it down)
    std::size_t window = 0;
    unsigned workers = 0; // running
    std::size_t nextSync = 0;
};

// A file in a lane: its source, its temporary output and where its chain stands.
struct LaneFile {
    std::size_t index = 0;
    std::optional<tea::FramedPlaintext> plain;
    std::optional<TempFileBeside> output;
    std::uint64_t pos = 0; // framed bytes enciphered and written so far
    tea::Chain chain;
};

// The lanes of all workers together hold at most kLaneMemory, however many cores and lanes.
constexpr std::size_t kLaneMemory = std::size_t{8} << 20;
constexpr std::size_t kMinLaneBuffer = std::size_t{4} << 10;

unsigned WorkerThreads(const ManyFilesSetup& setup) {
    constexpr unsigned kMaxWorkers = 64; // with 32 lanes of kMinLaneBuffer each: kLaneMemory
    return std::min(setup.threads != 0 ? setup.threads : std::max(1u, std::thread::hardware_concurrency()),
                    kMaxWorkers);
}

std::size_t LaneBufferBytes(const ManyFilesSetup& setup, std::size_t lanesPerWorker) {
    const std::size_t threads = WorkerThreads(setup);
    const std::size_t share = std::max(kLaneMemory / (threads * lanesPerWorker), kMinLaneBuffer);
    return std::max(std::min(setup.laneBuffer, share) / kBlockSize * kBlockSize, kBlockSize);
}

struct Lane {
    std::optional<LaneFile> file;
    SecretBuffer buffer;    // holds plaintext, so it is wiped when it goes
    std::size_t filled = 0; // the chunk in the buffer
    std::size_t at = 0;     // enciphered part of it
};

class Worker {
public:
    Worker(Shared& shared, const std::vector<EncryptionJob>& jobs, const ManyFilesSetup& setup,
           const tea::KeyWords& key, tea::DecryptKernel kernel)
        : shared_(shared), jobs_(jobs), setup_(setup), key_(key), kernel_(kernel), lanes_(tea::LaneCount(kernel)) {}

    void Run(const std::stop_token& stop) {
        try {
            Loop(stop);
        } catch (...) {
            // Out of memory or the like: this worker's files fail with it; the others go on.
            for (Lane& lane : lanes_)
                if (lane.file) Fail(lane, std::current_exception());
        }
        std::lock_guard lock(shared_.mutex);
        --shared_.workers;
        shared_.changed.notify_all();
    }

private:
    void Loop(const std::stop_token& stop) {
        const std::size_t bufferBytes = LaneBufferBytes(setup_, lanes_.size());
        for (Lane& lane : lanes_)
            lane.buffer = SecretBuffer(bufferBytes);
        SecretBuffer idle(bufferBytes); // what idle lanes encipher
        std::vector<std::uint8_t*> data(lanes_.size());
        std::vector<tea::Chain> chains(lanes_.size());
        for (;;) {
            if (!TakeFiles(stop)) return;
            for (Lane& lane : lanes_)
                if (lane.file && lane.at == lane.filled) Guarded(lane, [&] { Produce(lane); });
            std::size_t active = 0, blocks = SIZE_MAX;
            for (Lane& lane : lanes_)
                if (lane.file) {
                    ++active;
                    blocks = std::min(blocks, (lane.filled - lane.at) / kBlockSize);
                }
            if (active == 0) continue;
            if (active == 1) { // one chain: the scalar kernel is faster than one lane of a vector
                Lane& lane = *std::ranges::find_if(lanes_, [](const Lane& l) { return l.file.has_value(); });
                tea::CbcEncrypt(lane.buffer.data() + lane.at, lane.filled - lane.at, key_, lane.file->chain);
                lane.at = lane.filled;
            } else {
                for (std::size_t i = 0; i < lanes_.size(); ++i) {
                    Lane& lane = lanes_[i];
                    data[i] = lane.file ? lane.buffer.data() + lane.at : idle.data();
                    chains[i] = lane.file ? lane.file->chain : tea::Chain{};
                }
                tea::CbcEncryptLanes(kernel_, data.data(), chains.data(), blocks, key_);
                for (std::size_t i = 0; i < lanes_.size(); ++i)
                    if (lanes_[i].file) {
                        lanes_[i].file->chain = chains[i];
                        lanes_[i].at += blocks * kBlockSize;
                    }
            }
            for (Lane& lane : lanes_)
                if (lane.file && lane.at == lane.filled) Guarded(lane, [&] { Consume(lane); });
        }
    }

    // Gives idle lanes the next files; waits while no lane has work and the window is full.
    // False when there is nothing left to do or the run stopped.
    bool TakeFiles(const std::stop_token& stop) {
        if (stop.stop_requested()) return false; // a cancelled run must not wait for a long file
        for (Lane& lane : lanes_) {
            if (lane.file) continue;
            std::size_t index = 0;
            {
                std::unique_lock lock(shared_.mutex);
                const auto mayStart = [&] {
                    return shared_.next < shared_.limit && shared_.next < shared_.head + shared_.window;
                };
                const bool busy = std::ranges::any_of(lanes_, [](const Lane& l) { return l.file.has_value(); });
                if (!busy)
                    shared_.changed.wait(
                        lock, [&] { return stop.stop_requested() || shared_.next >= shared_.limit || mayStart(); });
                if (stop.stop_requested()) return false;
                if (!mayStart()) return busy;
                index = shared_.next++;
                if (shared_.slots[index].stage == FileSlot::Stage::Alone) continue;
            }
            lane.file.emplace();
            lane.file->index = index;
            lane.filled = lane.at = 0;
            Guarded(lane, [&] {
                if (!Start(*lane.file)) lane.file.reset();
            });
        }
        return true;
    }

    // The checks and opening steps of Cipher::EncryptFile, in its order. False when the file is
    // left to the calling thread to encrypt alone.
    bool Start(LaneFile& file) {
        const EncryptionJob& job = jobs_[file.index];
        if (tea::FramedPlaintext::CheckedSize(job.source) >= setup_.largeFrom) {
            Publish(file.index, [](FileSlot& slot) { slot.stage = FileSlot::Stage::Alone; });
            return false;
        }
        tea::RefuseExistingDestination(job.destination, kOperation);
        try {
            file.plain.emplace(job.source, [&] {
                return setup_.randomValues ? setup_.randomValues(file.index) : tea::DrawRandomValues();
            });
            file.output.emplace(tea::CreateOutput(job.destination, job.source, kOperation));
        } catch (const CipherFailure& failure) {
            if (!tea::OutOfDescriptors(failure)) throw;
            return LeaveAlone(file.index); // what the file opened closes with the lane's file
        }
        const std::uint64_t framed = file.plain->FramedLength();
        Publish(file.index, [framed](FileSlot& slot) {
            slot.stage = FileSlot::Stage::Running;
            slot.framed = framed;
        });
        return true;
    }

    // The descriptor limit is reached: the file waits for the head (by then the files before it
    // have closed theirs) and fewer files are started from now on, rather than the file failing.
    bool LeaveAlone(std::size_t index) {
        Publish(index, [&](FileSlot& slot) {
            slot.stage = FileSlot::Stage::Alone;
            shared_.window = std::max<std::size_t>(1, std::min(shared_.window, (index - shared_.head) / 2));
        });
        return false;
    }

    // The next chunk of the framed plaintext.
    void Produce(Lane& lane) {
        LaneFile& file = *lane.file;
        const auto size = static_cast<std::size_t>(
            std::min<std::uint64_t>(lane.buffer.size(), file.plain->FramedLength() - file.pos));
        file.plain->Next(lane.buffer.data(), size);
        lane.filled = size;
        lane.at = 0;
    }

    // Writes the enciphered chunk; a finished file is handed to the calling thread.
    void Consume(Lane& lane) {
        LaneFile& file = *lane.file;
        tea::AsFileStep(kOperation, [&] { file.output->Write(lane.buffer.data(), lane.filled); });
        file.pos += lane.filled;
        const std::uint64_t done = file.pos;
        if (done < file.plain->FramedLength()) {
            Publish(file.index, [done](FileSlot& slot) { slot.done = done; });
            return;
        }
        file.plain->Close();
        Publish(file.index, [&](FileSlot& slot) {
            slot.done = done;
            slot.output.emplace(std::move(*file.output));
            slot.stage = FileSlot::Stage::Written;
        });
        lane.file.reset();
    }

    template <class Step> void Guarded(Lane& lane, Step&& step) {
        try {
            step();
        } catch (...) {
            Fail(lane, std::current_exception());
        }
    }

    // The file fails (its temporary output goes with the lane's file) and no later one starts.
    void Fail(Lane& lane, std::exception_ptr error) {
        const std::size_t index = lane.file->index;
        lane.file.reset();
        std::lock_guard lock(shared_.mutex);
        shared_.slots[index].stage = FileSlot::Stage::Failed;
        shared_.slots[index].error = std::move(error);
        shared_.limit = std::min(shared_.limit, index + 1);
        shared_.changed.notify_all();
    }

    template <class Change> void Publish(std::size_t index, Change&& change) {
        std::lock_guard lock(shared_.mutex);
        change(shared_.slots[index]);
        shared_.changed.notify_all();
    }

    Shared& shared_;
    const std::vector<EncryptionJob>& jobs_;
    const ManyFilesSetup& setup_;
    const tea::KeyWords& key_;
    tea::DecryptKernel kernel_;
    std::vector<Lane> lanes_;
};

// Commits written files to disk in list order ahead of the calling thread, which then finds
// little left to flush when it renames them: several files are flushed at once, and while the
// head's folder entry is committed. A failure here needs no report: the final flush fails too.
void FlushAhead(Shared& shared, const std::stop_token& stop) {
    using Stage = FileSlot::Stage;
    std::unique_lock lock(shared.mutex);
    for (;;) {
        const std::size_t index = shared.nextSync;
        if (stop.stop_requested() || index >= shared.limit) return;
        FileSlot& slot = shared.slots[index];
        if (slot.stage == Stage::Waiting || slot.stage == Stage::Running) {
            shared.changed.wait(lock, [&] {
                return stop.stop_requested() || shared.nextSync != index || index >= shared.limit ||
                       (slot.stage != Stage::Waiting && slot.stage != Stage::Running);
            });
            continue;
        }
        ++shared.nextSync;
        if (slot.stage != Stage::Written) continue;
        slot.syncing = true;
        lock.unlock();
        try {
            slot.output->Sync();
        } catch (const std::system_error&) {
        }
        lock.lock();
        slot.syncing = false;
        shared.changed.notify_all();
    }
}

// Raises the progress events of the blocks up to `done`, as the pass of one file would.
void RaiseUpTo(tea::ProgressCounter& progress, std::uint64_t done) {
    for (std::uint64_t due = progress.NextEventBlock(0); due < done; due = progress.NextEventBlock(0))
        progress.Raise(due);
}

// The slots of a run's files, and how many files may be started ahead of the head: as many as
// the descriptor limit leaves room for (two descriptors a file, the calling thread's reserve kept
// free). A file whose open still finds none left is encrypted alone.
void PrepareSlots(Shared& shared, const std::vector<EncryptionJob>& jobs, std::size_t lanes, unsigned threads) {
    shared.slots.resize(jobs.size());
    shared.limit = jobs.size();
    const std::size_t wanted = std::min(kMaxWindow, std::max<std::size_t>(4 * lanes * threads, 8));
    const std::size_t free = platform::FreeFileDescriptors();
    shared.window =
        std::clamp<std::size_t>(free > kReservedDescriptors ? (free - kReservedDescriptors) / 2 : 0, 1, wanted);
    // A source named twice is read again only after the earlier output is in place (and the
    // source perhaps destroyed), exactly as one file after the other would.
    std::set<std::string> named;
    for (std::size_t i = 0; i < jobs.size(); ++i)
        if (!named.insert(jobs[i].source).second) shared.slots[i].stage = FileSlot::Stage::Alone;
}

// The threads of a run. However the run is left, all of them are told to stop first, then each
// is joined as it goes, before the slots (and with them every temporary output not yet renamed).
struct RunThreads {
    explicit RunThreads(Shared& run) : shared(run) {}
    RunThreads(const RunThreads&) = delete;
    RunThreads& operator=(const RunThreads&) = delete;
    ~RunThreads() { StopAndWake(threads, shared.mutex, shared.changed); }

    Shared& shared;
    std::vector<std::unique_ptr<Worker>> workers;
    std::vector<std::jthread> threads;

    // Fewer threads than asked when the system has none left; with no worker, every file is
    // encrypted alone by the calling thread, and with no flusher it flushes each file as it
    // renames it.
    void Start(unsigned count, const std::function<std::unique_ptr<Worker>()>& makeWorker) {
        for (unsigned t = 0; t < count; ++t) {
            workers.push_back(makeWorker());
            std::lock_guard lock(shared.mutex);
            try {
                threads.emplace_back(
                    [worker = workers.back().get()](const std::stop_token& stop) { worker->Run(stop); });
                ++shared.workers;
            } catch (const std::system_error&) {
                break;
            }
        }
        for (unsigned t = 0; t < kFlushers; ++t) {
            try {
                threads.emplace_back([&run = shared](const std::stop_token& stop) { FlushAhead(run, stop); });
            } catch (const std::system_error&) {
                break;
            }
        }
    }
};

// Waits for file `k`, the head of the list, raising its progress events as its lane gets on,
// and renames its output into place; or encrypts it alone when no lane took it.
void FinishHead(Shared& shared, std::size_t k, const EncryptionJob& job, std::string_view password, Cipher& cipher) {
    using Stage = FileSlot::Stage;
    std::unique_lock lock(shared.mutex);
    FileSlot& slot = shared.slots[k];
    std::optional<tea::ProgressCounter> progress;
    std::uint64_t seen = 0;
    for (;;) {
        shared.changed.wait(lock, [&] {
            return (slot.stage == Stage::Waiting && shared.workers == 0) ||
                   (slot.stage != Stage::Waiting && slot.stage != Stage::Running) ||
                   (slot.stage == Stage::Running && (!progress || slot.done != seen));
        });
        if (slot.stage == Stage::Waiting) slot.stage = Stage::Alone;
        if (slot.stage == Stage::Failed) std::rethrow_exception(slot.error);
        if (slot.stage == Stage::Alone) {
            lock.unlock();
            cipher.EncryptFile(job.source, job.destination, password);
            return;
        }
        if (!progress) progress.emplace(slot.framed, cipher.Progress);
        seen = slot.done;
        const bool written = slot.stage == Stage::Written;
        lock.unlock();
        RaiseUpTo(*progress, seen);
        if (written) break;
        lock.lock();
    }
    progress->Finish();
    lock.lock();
    shared.changed.wait(lock, [&] { return !slot.syncing; });
    shared.nextSync = std::max(shared.nextSync, k + 1); // no flusher takes it now
    lock.unlock();
    tea::AsFileStep(kOperation, [&] { slot.output->Commit(); });
}

} // namespace

ManyFilesEncryption::ManyFilesEncryption(Cipher& cipher, ManyFilesSetup setup)
    : cipher_(cipher), setup_(std::move(setup)) {}

void ManyFilesEncryption::Run(const std::vector<EncryptionJob>& jobs, std::string_view password,
                              const std::function<void(std::size_t)>& begin,
                              const std::function<bool(std::size_t)>& done) {
    const tea::KeyWords key = tea::KeyFromPassword(password);
    const tea::DecryptKernel kernel = setup_.kernel.value_or(tea::BestKernel());
    const unsigned threads = WorkerThreads(setup_);

    Shared shared;
    PrepareSlots(shared, jobs, tea::LaneCount(kernel), threads);
    RunThreads running(shared); // after `shared`: stopped and joined before it goes
    running.Start(threads, [&] { return std::make_unique<Worker>(shared, jobs, setup_, key, kernel); });

    for (std::size_t k = 0; k < jobs.size(); ++k) {
        begin(k);
        FinishHead(shared, k, jobs[k], password, cipher_);
        if (!done(k)) return;
        std::lock_guard lock(shared.mutex);
        shared.slots[k].output.reset();
        shared.head = k + 1;
        shared.changed.notify_all();
    }
}

} // namespace vaultwing
