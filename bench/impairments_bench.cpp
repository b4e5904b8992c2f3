// Impairments on the largest frame against the frame's own build time: the
// build and the impairments are timed in the same loop, one after the other,
// in the thread's CPU time, and `x_frame_build` is the ratio of their medians.
// One entry per impairment and one with all of them. Freed blocks stay with
// the process, so that neither side pays page faults in the loop (with the C
// library's defaults, a new block the impairments allocate, as a negative
// clock offset does, makes the next build fault on all of its pages).

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <vector>

#include "common/testing/random_bits.hpp"
#include "impairments/apply_impairments.hpp"

namespace {

using namespace dot11b;
using impairments::ImpairmentSettings;

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

void run_impairments(benchmark::State& state, const ImpairmentSettings& settings) {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest the C library allows
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    phy::FrameConfig config;
    config.data_bits = test::random_bits((2312 + 30 + 4) * 8, 1);
    config.rate = phy::DataRate::Mbps1;
    std::vector<double> build_times;
    std::vector<double> impairment_times;
    for (auto _ : state) {
        const double start = thread_seconds();
        phy::FrameWaveform frame = phy::build_frame(config);
        const double built = thread_seconds();
        frame = impairments::apply_impairments(settings, std::move(frame), 38.5e6);
        benchmark::DoNotOptimize(frame.samples.data());
        const double impaired = thread_seconds();
        build_times.push_back(built - start);
        impairment_times.push_back(impaired - built);
        state.SetIterationTime(impaired - built);
    }
    const double build = median(build_times);
    const double impair = median(impairment_times);
    state.counters["build_ms"] = 1e3 * build;
    state.counters["impairments_ms"] = 1e3 * impair;
    state.counters["x_frame_build"] = impair / build;
}

void BM_LargestFrameImpaired(benchmark::State& state, const ImpairmentSettings& settings) {
    run_impairments(state, settings);
}
BENCHMARK_CAPTURE(BM_LargestFrameImpaired, amplifier, ImpairmentSettings{.pa_backoff = 6.0})
    ->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargestFrameImpaired, iq_imbalance, ImpairmentSettings{.iq_gain = 0.5, .iq_phase = 2.0})
    ->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargestFrameImpaired, carrier_leakage, ImpairmentSettings{.dc_offset = -30.0})
    ->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargestFrameImpaired, clock_offset, ImpairmentSettings{.clock_offset = 20.0})
    ->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargestFrameImpaired, clock_offset_negative, ImpairmentSettings{.clock_offset = -20.0})
    ->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargestFrameImpaired, carrier_offset, ImpairmentSettings{.cfo = 25e3})
    ->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargestFrameImpaired, noise, ImpairmentSettings{.snr = 20.0})
    ->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargestFrameImpaired, all,
                  ImpairmentSettings{.pa_backoff = 6.0, .iq_gain = 0.5, .iq_phase = 2.0, .dc_offset = -30.0,
                                     .clock_offset = 20.0, .cfo = 25e3, .snr = 20.0})
    ->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
