#include "cipher/StreamPass.h"

#include <algorithm>
#include <vector>

#include "app/SecureWipe.h"

namespace vaultwing {

void RunStreamPass(const StreamPass& pass, const std::function<void(int)>& progress) {
    const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(pass.bufferBytes, pass.total));
    std::vector<std::uint8_t> buffer(chunk);
    // The buffer holds plaintext at some point in either direction.
    struct Wipe {
        std::vector<std::uint8_t>& b;
        ~Wipe() { SecureWipe(b.data(), b.size()); }
    } wipe{buffer};

    modTEA::ProgressCounter counter(pass.total, progress);
    modTEA::Chain chain;
    for (std::uint64_t pos = 0; pos < pass.total;) {
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, pass.total - pos));
        pass.produce(buffer.data(), pos, size);
        modTEA::PassWithProgress(buffer.data(), size, pos, counter,
                                 [&](std::uint8_t* data, std::size_t n) { pass.transform(data, n, chain); });
        pass.consume(buffer.data(), pos, size);
        pos += size;
    }
    counter.Finish();
}

} // namespace vaultwing
