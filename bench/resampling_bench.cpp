// Periodic resampling of the largest frame: a clock offset of 100 ppm (step
// near one, the impairment's case) and a decimation to a radio's rate (the
// SDR player's case), with the filter designed once outside the loop.

#include <benchmark/benchmark.h>

#include "largest_frame.hpp"
#include "resampling/periodic_resampler.hpp"

namespace {

using namespace dot11b;

void run_resampling(benchmark::State& state, double step, resampling::ResamplerOptions options = {}) {
    const Samples& period = bench::largest_frame();
    const resampling::PeriodicResampler resampler(step, options);
    Samples out(static_cast<std::size_t>(static_cast<double>(period.size()) / step));
    for (auto _ : state) {
        resampler.resample(period, 0.0, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["taps"] = static_cast<double>(resampler.taps_per_phase());
    state.counters["outputs/s"] =
        benchmark::Counter(static_cast<double>(out.size()), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ClockOffset100ppm(benchmark::State& state) { run_resampling(state, 1.0 + 100e-6); }
BENCHMARK(BM_ClockOffset100ppm)->Unit(benchmark::kMillisecond);

// The clock offset's own filter at 3.5 samples a chip: flat to 13 MHz, the
// skirts above left to fold onto themselves.
void BM_ClockOffset100ppmChipBand(benchmark::State& state) {
    const double passband = 13.0 / 19.25;
    run_resampling(state, 1.0 + 100e-6, {.passband = passband, .stopband = 2.0 - passband});
}
BENCHMARK(BM_ClockOffset100ppmChipBand)->Unit(benchmark::kMillisecond);

// 38.5 MHz to 20 MHz.
void BM_DecimateToRadioRate(benchmark::State& state) { run_resampling(state, 38.5 / 20.0); }
BENCHMARK(BM_DecimateToRadioRate)->Unit(benchmark::kMillisecond);

}  // namespace
