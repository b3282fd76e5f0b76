// Throughput of the TEA-CBC kernels against Crypto++'s CBC_Mode<TEA> in the same binary (16 MiB
// buffers), of encryption with independent chains in vector lanes (many files at once), of every
// decryption kernel on one thread and on all cores, and of the file operations on a 256 MiB file
// next to the same work in memory (EncryptBytes/DecryptBytes).
//
//   cmake --preset release && cmake --build --preset release -j2 --target bench_cipher
//   build/release/bin/bench_cipher --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
//
// Kernel rows use real time (the all-cores rows need it); the file rows report process CPU time
// (every thread) beside real time, which shows the cost of the I/O thread on a busy machine.
#include <benchmark/benchmark.h>

#include <cryptopp/modes.h>
#include <cryptopp/tea.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "cipher/Cbc.h"
#include "cipher/Cipher.h"

namespace {

using namespace vaultwing;
namespace fs = std::filesystem;

constexpr std::size_t kMemoryBytes = std::size_t{16} << 20;
constexpr std::size_t kFileBytes = std::size_t{256} << 20;

std::vector<std::uint8_t> RandomBuffer(std::size_t size) {
    std::mt19937_64 gen(1234);
    std::vector<std::uint8_t> data(size);
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        const std::uint64_t v = gen();
        for (int b = 0; b < 8; ++b)
            data[i + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(v >> (8 * b));
    }
    return data;
}

const tea::KeyWords kKey = tea::KeyFromPassword("benchmark password");
const std::uint8_t kKeyBytes[16] = {'b', 'e', 'n', 'c', 'h', 'm', 'a', 'r', 'k', ' ', 'p', 'a', 's', 's', 'w', 'o'};
const std::uint8_t kIv[8] = {};

void SetBytes(benchmark::State& state, std::size_t perIteration) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(perIteration));
}

// ---------------------------------------------------------------------------------------------
// In memory
// ---------------------------------------------------------------------------------------------

void BM_CbcEncrypt_Vaultwing(benchmark::State& state) {
    auto data = RandomBuffer(kMemoryBytes);
    for (auto _ : state) {
        tea::Chain chain;
        tea::CbcEncrypt(data.data(), data.size(), kKey, chain);
        benchmark::DoNotOptimize(data.data());
    }
    SetBytes(state, data.size());
}

void BM_CbcDecrypt_Vaultwing(benchmark::State& state) {
    auto data = RandomBuffer(kMemoryBytes);
    for (auto _ : state) {
        tea::Chain chain;
        tea::CbcDecrypt(data.data(), data.size(), kKey, chain);
        benchmark::DoNotOptimize(data.data());
    }
    SetBytes(state, data.size());
}

void BM_CbcEncrypt_Scalar(benchmark::State& state) {
    auto data = RandomBuffer(kMemoryBytes);
    for (auto _ : state) {
        tea::Chain chain;
        tea::CbcEncryptScalar(data.data(), data.size(), kKey, chain);
        benchmark::DoNotOptimize(data.data());
    }
    SetBytes(state, data.size());
}

// One decryption kernel: range(0) the kernel, range(1) threads (0 = every hardware thread).
void BM_CbcDecrypt_Kernel(benchmark::State& state) {
    const auto kernel = static_cast<tea::DecryptKernel>(state.range(0));
    if (!tea::KernelAvailable(kernel)) {
        state.SkipWithError("kernel not available on this CPU");
        return;
    }
    const auto threads = static_cast<unsigned>(state.range(1));
    state.SetLabel(std::string(tea::KernelName(kernel)) + (threads == 1 ? ", 1 thread" : ", all cores"));
    const tea::DecryptSetup setup{kernel, threads};
    auto data = RandomBuffer(kMemoryBytes);
    for (auto _ : state) {
        tea::Chain chain;
        tea::CbcDecrypt(data.data(), data.size(), kKey, chain, setup);
        benchmark::DoNotOptimize(data.data());
    }
    SetBytes(state, data.size());
}

void KernelArgs(benchmark::internal::Benchmark* b) {
    for (const auto kernel :
         {tea::DecryptKernel::Scalar, tea::DecryptKernel::Sse2, tea::DecryptKernel::Avx2, tea::DecryptKernel::Avx512})
        for (const int threads : {1, 0})
            b->Args({static_cast<int>(kernel), threads});
}

// Independent chains side by side (many files at once): range(0) the kernel; 16 MiB in all,
// split evenly across its lanes, on one thread.
void BM_CbcEncrypt_Lanes(benchmark::State& state) {
    const auto kernel = static_cast<tea::DecryptKernel>(state.range(0));
    if (!tea::KernelAvailable(kernel)) {
        state.SkipWithError("kernel not available on this CPU");
        return;
    }
    const std::size_t lanes = tea::LaneCount(kernel), laneBytes = kMemoryBytes / lanes;
    state.SetLabel(std::string(tea::KernelName(kernel)) + ", " + std::to_string(lanes) + " chains");
    auto data = RandomBuffer(kMemoryBytes);
    std::vector<std::uint8_t*> starts;
    for (std::size_t i = 0; i < lanes; ++i)
        starts.push_back(data.data() + i * laneBytes);
    for (auto _ : state) {
        std::vector<tea::Chain> chains(lanes);
        tea::CbcEncryptLanes(kernel, starts.data(), chains.data(), laneBytes / tea::kBlockSize, kKey);
        benchmark::DoNotOptimize(data.data());
    }
    SetBytes(state, data.size());
}

void BM_CbcEncrypt_Cryptopp(benchmark::State& state) {
    auto data = RandomBuffer(kMemoryBytes);
    for (auto _ : state) {
        CryptoPP::CBC_Mode<CryptoPP::TEA>::Encryption mode(kKeyBytes, sizeof kKeyBytes, kIv);
        mode.ProcessData(data.data(), data.data(), data.size());
        benchmark::DoNotOptimize(data.data());
    }
    SetBytes(state, data.size());
}

void BM_CbcDecrypt_Cryptopp(benchmark::State& state) {
    auto data = RandomBuffer(kMemoryBytes);
    for (auto _ : state) {
        CryptoPP::CBC_Mode<CryptoPP::TEA>::Decryption mode(kKeyBytes, sizeof kKeyBytes, kIv);
        mode.ProcessData(data.data(), data.data(), data.size());
        benchmark::DoNotOptimize(data.data());
    }
    SetBytes(state, data.size());
}

BENCHMARK(BM_CbcEncrypt_Vaultwing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CbcEncrypt_Scalar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CbcEncrypt_Lanes)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CbcEncrypt_Cryptopp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CbcDecrypt_Vaultwing)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CbcDecrypt_Kernel)->Apply(KernelArgs)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CbcDecrypt_Cryptopp)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------------------------
// Files: a 256 MiB plaintext and its encrypted form in a temporary folder
// ---------------------------------------------------------------------------------------------

class BenchFiles {
public:
    BenchFiles() {
        folder_ = fs::temp_directory_path() / ("vaultwing-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
        const auto data = RandomBuffer(kFileBytes);
        std::ofstream(Plain(), std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        Cipher tea;
        tea.EncryptFile(Plain(), Encrypted(), "benchmark password");
    }
    ~BenchFiles() {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    std::string Plain() const { return (folder_ / "plain.bin").string(); }
    std::string Encrypted() const { return (folder_ / "plain.bin.vwx").string(); }
    std::string Output() const { return (folder_ / "output").string(); }

private:
    fs::path folder_;
};

BenchFiles& Files() {
    static BenchFiles files;
    return files;
}

void BM_EncryptFile(benchmark::State& state) {
    auto& files = Files();
    Cipher tea;
    tea.Key("benchmark password");
    for (auto _ : state)
        tea.EncryptFile(files.Plain(), files.Output());
    SetBytes(state, kFileBytes);
}

void BM_DecryptFile(benchmark::State& state) {
    auto& files = Files();
    Cipher tea;
    tea.Key("benchmark password");
    for (auto _ : state)
        tea.DecryptFile(files.Encrypted(), files.Output());
    SetBytes(state, kFileBytes);
}

// The same work in memory: the whole-buffer operations on a 256 MiB array.
void BM_EncryptBytes(benchmark::State& state) {
    const auto plain = RandomBuffer(kFileBytes);
    Cipher tea;
    tea.Key("benchmark password");
    std::vector<std::uint8_t> data;
    data.reserve(kFileBytes + 32);
    for (auto _ : state) {
        state.PauseTiming();
        data.assign(plain.begin(), plain.end());
        state.ResumeTiming();
        tea.EncryptBytes(data);
        benchmark::DoNotOptimize(data.data());
    }
    SetBytes(state, kFileBytes);
}

void BM_DecryptBytes(benchmark::State& state) {
    auto cipher = RandomBuffer(kFileBytes);
    Cipher tea;
    tea.Key("benchmark password");
    tea.EncryptBytes(cipher);
    std::vector<std::uint8_t> data;
    data.reserve(cipher.size());
    for (auto _ : state) {
        state.PauseTiming();
        data.assign(cipher.begin(), cipher.end());
        state.ResumeTiming();
        tea.DecryptBytes(data);
        benchmark::DoNotOptimize(data.data());
    }
    SetBytes(state, kFileBytes);
}

BENCHMARK(BM_EncryptBytes)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_DecryptBytes)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_EncryptFile)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_DecryptFile)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime()->UseRealTime();

} // namespace

BENCHMARK_MAIN();
