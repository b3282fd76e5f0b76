#pragma once
// Encrypting a list of files with several of them in flight. Each file is its own CBC chain, so
// files are enciphered side by side: one per lane of the vector unit (CbcEncryptLanes), on worker
// threads up to the number of cores. A lane that finishes its file takes the next one of the list.
//
// Seen from outside, the run is the one of Cipher::EncryptFile called for one file after the
// other: outputs appear under their names in list order, progress is that of the file at the
// head of the list, and when a file fails, the files before it are complete and no later one has
// an output or a temporary file left, however far it had got.
//
// Memory is bounded whatever the files: one buffer per lane, and at most a window of files ahead
// of the head is started (each holds its open source and temporary output, no data). The window
// leaves room under the descriptor limit for what the run opens besides; when an open still finds
// no descriptor, that file waits for the head and is encrypted alone, and the window shrinks.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cipher/Cbc.h"
#include "cipher/Frame.h"

namespace vaultwing {

class Cipher;

struct EncryptionJob {
    std::string source;
    std::string destination;
};

// How the work is spread; the defaults take what the machine offers. Tests and benchmarks set it.
struct ManyFilesSetup {
    unsigned threads = 0;                           // worker threads; 0: one per hardware thread
    std::optional<tea::DecryptKernel> kernel;       // vector unit of the lanes; none: tea::BestKernel()
    std::size_t laneBuffer = std::size_t{64} << 10; // bytes per lane, rounded down to whole blocks
    // Sources of at least this many bytes are encrypted alone by Cipher::EncryptFile when they
    // reach the head of the list: one chain that long gains nothing from a lane.
    std::int64_t largeFrom = std::int64_t{32} << 20;
    // The two random values of file `index`; none: tea::DrawRandomValues (tests inject them).
    std::function<tea::RandomPair(std::size_t index)> randomValues;
};

class ManyFilesEncryption {
public:
    // `cipher` encrypts the large files and raises the progress events (its Progress member).
    explicit ManyFilesEncryption(Cipher& cipher, ManyFilesSetup setup = {});

    // Encrypts every job with `password`. For each file in list order: begin(index), its
    // progress events on this thread, its output renamed into place, then done(index); when
    // done returns false the run ends there. A failure of a file raises here exactly what
    // Cipher::EncryptFile raises for it (exceptions from the progress receiver too), after every
    // earlier file is done.
    void Run(const std::vector<EncryptionJob>& jobs, std::string_view password,
             const std::function<void(std::size_t index)>& begin, const std::function<bool(std::size_t index)>& done);

private:
    Cipher& cipher_;
    ManyFilesSetup setup_;
};

} // namespace vaultwing
