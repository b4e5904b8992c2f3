// The analyser's heaviest stages alone, on the scale of one 1500-octet
// 11 Mbit/s burst at 22 Msps (about 14 000 chips, 28 000 samples): the pulse
// laid under every chip for the EVM's ideal reference, the sinc interpolation
// at every chip instant, and the CCK decisions.

#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "analyzer/cck_demodulator.hpp"
#include "analyzer/reference_filter.hpp"
#include "analyzer/sinc_interpolator.hpp"

namespace {

using namespace dot11b;

constexpr std::size_t kChips = 14000;
constexpr double kSamplesPerChip = 2;

// QPSK chips with a little noise, as a receiver hands them over.
Samples noisy_chips(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> quarter(0, 3);
    std::normal_distribution<double> noise(0, 0.05);
    Samples chips(count);
    for (Complex& c : chips) {
        c = std::polar(1.0, quarter(generator) * std::acos(0.0)) + Complex(noise(generator), noise(generator));
    }
    return chips;
}

void BM_ReferencePulses(benchmark::State& state) {
    const analyzer::PulseTable pulse(analyzer::parse_reference_filter("gaussian:0.5"), 0);
    const Samples chips = noisy_chips(kChips, 1);
    Samples signal(static_cast<std::size_t>(kChips * kSamplesPerChip));
    for (auto _ : state) {
        pulse.render(chips, 0.3, kSamplesPerChip * (1 + 5e-6), 0, signal);
        benchmark::DoNotOptimize(signal.data());
    }
    state.counters["samples/s"] =
        benchmark::Counter(static_cast<double>(signal.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReferencePulses)->Unit(benchmark::kMicrosecond);

void BM_SincInterpolationAtChips(benchmark::State& state) {
    const Samples samples = noisy_chips(static_cast<std::size_t>(kChips * kSamplesPerChip), 2);
    const analyzer::SincInterpolator interpolator(samples);
    std::vector<double> positions(kChips);
    for (std::size_t k = 0; k < kChips; ++k) positions[k] = 0.37 + kSamplesPerChip * (1 - 3e-6) * static_cast<double>(k);
    for (auto _ : state) {
        Complex sum = 0;
        for (const double t : positions) sum += interpolator.at(t);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["chips/s"] =
        benchmark::Counter(static_cast<double>(kChips), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SincInterpolationAtChips)->Unit(benchmark::kMicrosecond);

void BM_CckDecisions11(benchmark::State& state) {
    const Samples chips = noisy_chips(12000, 3);
    for (auto _ : state) {
        const analyzer::CckSymbols symbols = analyzer::demodulate_cck(chips, true, 1.0, 1.0);
        benchmark::DoNotOptimize(symbols.bits.data());
    }
    state.counters["symbols/s"] = benchmark::Counter(1500, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CckDecisions11)->Unit(benchmark::kMicrosecond);

}  // namespace
