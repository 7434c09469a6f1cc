// Byte sum and XOR cipher over a 100 MB buffer on one core, in bytes per second.
// Goal: 4 GB/s or more each.

#include "splitjoin/ByteSum.h"
#include "splitjoin/CCode.h"
#include "splitjoin/XorCipher.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr std::size_t kBufferSize = 100'000'000;

std::vector<std::uint8_t>& buffer() {
    static std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> filled(kBufferSize);
        for (std::size_t i = 0; i < filled.size(); ++i) filled[i] = static_cast<std::uint8_t>(i * 131);
        return filled;
    }();
    return bytes;
}

void byteSum(benchmark::State& state) {
    auto& bytes = buffer();
    for (auto _ : state) benchmark::DoNotOptimize(ByteSum::add(0, bytes.data(), bytes.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void xorCipher(benchmark::State& state) {
    auto& bytes = buffer();
    const XorCipher cipher(std::string(CCode::KeyPrefix) + "userkey"); // 29 characters
    for (auto _ : state) {
        cipher.apply(bytes.data(), bytes.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

} // namespace

BENCHMARK(byteSum)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(xorCipher)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_MAIN();
