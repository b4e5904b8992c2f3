// Frame-builder throughput for the default frame and the largest frame,
// reported in samples per second and as a multiple of the time it takes just
// to write the same number of complex samples into a fresh buffer (the
// memory-write limit).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "phy/frame_builder.hpp"

namespace {

using namespace dot11b;
using Clock = std::chrono::steady_clock;

Bits random_bits(std::size_t n) {
    std::mt19937 random(1);
    Bits bits(n);
    for (auto& bit : bits) bit = static_cast<std::uint8_t>(random() & 1U);
    return bits;
}

// Seconds to allocate and fill n complex samples, the best of several runs.
double write_limit_seconds(std::size_t n) {
    double best = 1e9;
    for (int run = 0; run < 20; ++run) {
        const auto start = Clock::now();
        Samples buffer(n, Complex(0.5, -0.5));
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void run_frame(benchmark::State& state, const phy::FrameConfig& config) {
    std::size_t samples = 0;
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const phy::FrameWaveform waveform = phy::build_frame(config);
        benchmark::DoNotOptimize(waveform.samples.data());
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
        samples = waveform.samples.size();
    }
    const double per_frame = total / static_cast<double>(state.iterations());
    state.counters["samples"] = static_cast<double>(samples);
    state.counters["samples/s"] = static_cast<double>(samples) / per_frame;
    state.counters["x_write_limit"] = per_frame / write_limit_seconds(samples);
}

// 1024 octets at 11 Mbit/s CCK with the start-up defaults: 40068 samples.
void BM_DefaultFrame(benchmark::State& state) {
    phy::FrameConfig config;
    config.data_bits = random_bits(1024 * 8);
    run_frame(state, config);
}
BENCHMARK(BM_DefaultFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

// The longest PSDU (2312 payload octets, 30-octet MAC header, 4-octet FCS) at
// 1 Mbit/s with the long preamble, oversampling 3.5 and the Gaussian filter.
void BM_LargestFrame(benchmark::State& state) {
    phy::FrameConfig config;
    config.data_bits = random_bits((2312 + 30 + 4) * 8);
    config.rate = phy::DataRate::Mbps1;
    run_frame(state, config);
}
BENCHMARK(BM_LargestFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

// The memory-write limit alone, for the largest frame's sample count.
void BM_WriteLimitLargest(benchmark::State& state) {
    const std::size_t n = 729638;
    for (auto _ : state) {
        Samples buffer(n, Complex(0.5, -0.5));
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.counters["samples/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * n), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WriteLimitLargest)->Unit(benchmark::kMillisecond);

}  // namespace
