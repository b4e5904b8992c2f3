// Opening each plot view on the longest waveform, without drawing: the curve
// computation and the drawing data a window hands to QCustomPlot (min/max
// columns of an 800-pixel-wide line plot, density images of the eye and
// scatter views). The plot windows' benchmark adds the drawing itself.

#include <benchmark/benchmark.h>

#include "bench/largest_frame.hpp"
#include "plots/ccdf.hpp"
#include "plots/density_image.hpp"
#include "plots/eye_diagram.hpp"
#include "plots/iq_time.hpp"
#include "plots/min_max_columns.hpp"
#include "plots/scatter_plot.hpp"
#include "plots/spectrum.hpp"
#include "plots/waterfall.hpp"

namespace {

using namespace dot11b;
using bench::kLargestFrameRate;
using bench::longest_waveform;

constexpr std::size_t kColumns = 800;
constexpr double kSamplesPerSymbol = 7;  // two chips at oversampling 3.5

void report_samples(benchmark::State& state) {
    state.counters["samples"] = static_cast<double>(longest_waveform().size());
}

void BM_SpectrumView(benchmark::State& state) {
    const Samples& wave = longest_waveform();  // built before the timed loop
    for (auto _ : state) {
        const plots::Spectrum s = plots::magnitude_spectrum(wave, kLargestFrameRate);
        benchmark::DoNotOptimize(plots::min_max_columns(s.frequency, s.magnitude_db, s.x, kColumns).keys.data());
    }
    report_samples(state);
}
BENCHMARK(BM_SpectrumView)->Unit(benchmark::kMillisecond);

void BM_CcdfView(benchmark::State& state) {
    const Samples& wave = longest_waveform();
    for (auto _ : state) benchmark::DoNotOptimize(plots::ccdf(wave).percent.data());
    report_samples(state);
}
BENCHMARK(BM_CcdfView)->Unit(benchmark::kMillisecond);

void BM_IqTimeView(benchmark::State& state) {
    const Samples& wave = longest_waveform();
    for (auto _ : state) {
        const plots::IqTime view = plots::iq_time(wave, kLargestFrameRate);
        for (const auto* values : {&view.in_phase, &view.quadrature}) {
            benchmark::DoNotOptimize(plots::min_max_columns(view.time, *values, view.x, kColumns).keys.data());
        }
    }
    report_samples(state);
}
BENCHMARK(BM_IqTimeView)->Unit(benchmark::kMillisecond);

void BM_EyeDiagramView(benchmark::State& state) {
    const Samples& wave = longest_waveform();
    for (auto _ : state) {
        const plots::EyeDiagram eye = plots::eye_diagram(plots::iq_columns(wave), kSamplesPerSymbol, 2, 0);
        for (const auto& trace : eye.traces) {
            benchmark::DoNotOptimize(plots::line_density(eye.time, trace, eye.x, eye.y, 400, 300).counts.data());
        }
    }
    report_samples(state);
}
BENCHMARK(BM_EyeDiagramView)->Unit(benchmark::kMillisecond);

// Points over the trajectory, the heavier of the two scatter views.
void BM_ScatterView(benchmark::State& state) {
    const Samples& wave = longest_waveform();
    for (auto _ : state) {
        const plots::SignalColumns columns = plots::iq_columns(wave);
        const plots::ScatterPoints trajectory = plots::scatter_points(columns, 1, 0);
        const plots::AxisRange square{-trajectory.limit, trajectory.limit};
        benchmark::DoNotOptimize(
            plots::line_density(trajectory.in_phase, trajectory.quadrature, square, square, 300, 300).counts.data());
        const plots::ScatterPoints points = plots::scatter_points(columns, kSamplesPerSymbol, 0, trajectory.limit);
        benchmark::DoNotOptimize(
            plots::point_density(points.in_phase, points.quadrature, square, square, 300, 300).counts.data());
    }
    report_samples(state);
}
BENCHMARK(BM_ScatterView)->Unit(benchmark::kMillisecond);

void BM_WaterfallView(benchmark::State& state) {
    const Samples& wave = longest_waveform();
    for (auto _ : state) {
        benchmark::DoNotOptimize(plots::waterfall(wave, kLargestFrameRate, 256 / kLargestFrameRate).magnitude_db.data());
    }
    report_samples(state);
}
BENCHMARK(BM_WaterfallView)->Unit(benchmark::kMillisecond);

}  // namespace
