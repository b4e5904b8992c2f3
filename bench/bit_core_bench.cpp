// Throughput of the bit-level stages for a 1024-octet PSDU: FCS, scrambling
// and DSSS modulation.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "mac/crc32.hpp"
#include "phy/dsss.hpp"
#include "phy/scrambler.hpp"

namespace {

using namespace dot11b;

Bits random_bits(std::size_t n) {
    std::mt19937 random(1);
    Bits bits(n);
    for (auto& bit : bits) bit = static_cast<std::uint8_t>(random() & 1U);
    return bits;
}

void report_bits(benchmark::State& state, std::size_t bits) {
    state.counters["bits/s"] = benchmark::Counter(static_cast<double>(state.iterations() * bits),
                                                  benchmark::Counter::kIsRate);
}

void BM_Crc32(benchmark::State& state) {
    const Bits bits = random_bits(8192);
    for (auto _ : state) benchmark::DoNotOptimize(mac::crc32(bits));
    report_bits(state, bits.size());
}
BENCHMARK(BM_Crc32);

void BM_Scrambler(benchmark::State& state) {
    const Bits bits = random_bits(8192 + 192);
    for (auto _ : state) {
        benchmark::DoNotOptimize(phy::scramble_frame(phy::ScramblerMode::On, phy::PreambleType::Long, bits));
    }
    report_bits(state, bits.size());
}
BENCHMARK(BM_Scrambler);

void BM_Dbpsk1Mbps(benchmark::State& state) {
    const Bits bits = random_bits(8192);
    const Complex start = Complex(1, 1) / std::sqrt(2.0);
    for (auto _ : state) benchmark::DoNotOptimize(phy::modulate_1mbps(bits, start));
    report_bits(state, bits.size());
}
BENCHMARK(BM_Dbpsk1Mbps);

}  // namespace
