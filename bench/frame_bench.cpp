// Frame-builder throughput for the default frame and the largest frame,
// reported in samples per second and as a multiple of the time it takes just
// to write the same number of complex samples into a fresh buffer (the
// memory-write limit).
//
// The frame and the write limit are timed in the same loop, one after the
// other, and the ratio is that of their medians: timed apart, a change in
// the machine's load between the two runs moves the ratio by a factor of two.
// Both are timed in the thread's CPU time, so that time spent descheduled on
// a shared machine counts for neither; page faults are counted, as the
// kernel spends them on the thread.

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <random>
#include <vector>

#include "phy/frame_builder.hpp"

namespace {

using namespace dot11b;

Bits random_bits(std::size_t n) {
    std::mt19937 random(1);
    Bits bits(n);
    for (auto& bit : bits) bit = static_cast<std::uint8_t>(random() & 1U);
    return bits;
}

double thread_seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// Seconds to allocate and fill n complex samples.
double write_limit_seconds(std::size_t n) {
    const double start = thread_seconds();
    Samples buffer(n, Complex(0.5, -0.5));
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
    return thread_seconds() - start;
}

void run_frame(benchmark::State& state, const phy::FrameConfig& config) {
    std::size_t samples = 0;
    std::vector<double> frame_times;
    std::vector<double> write_times;
    for (auto _ : state) {
        const double start = thread_seconds();
        {
            const phy::FrameWaveform waveform = phy::build_frame(config);
            benchmark::DoNotOptimize(waveform.samples.data());
            samples = waveform.samples.size();
        }
        const double seconds = thread_seconds() - start;
        state.SetIterationTime(seconds);
        frame_times.push_back(seconds);
        write_times.push_back(write_limit_seconds(samples));
    }
    const double frame = median(frame_times);
    const double write = median(write_times);
    state.counters["samples"] = static_cast<double>(samples);
    state.counters["samples/s"] = static_cast<double>(samples) / frame;
    state.counters["median_ms"] = 1e3 * frame;
    state.counters["write_limit_ms"] = 1e3 * write;
    state.counters["x_write_limit"] = frame / write;
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

}  // namespace
