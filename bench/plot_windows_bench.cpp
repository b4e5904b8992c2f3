// Opening each plot window on the longest waveform and drawing it once, 800 x
// 600, offscreen: the time from the plot command to the first picture.

#include <benchmark/benchmark.h>

#include <memory>

#include <QApplication>

#include "bench/largest_frame.hpp"
#include "plots/gui/plot_commands.hpp"

namespace {

using namespace dot11b;
using bench::kLargestFrameRate;
using bench::longest_waveform;
using plot_windows::PlotWindow;

// Windows need an application; it lives until the process ends.
void ensure_application() {
    static int argc = 1;
    static char name[] = "dot11b-bench";
    static char* argv[] = {name, nullptr};
    static const bool started = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
        return true;
    }();
    benchmark::DoNotOptimize(started);
}

template <typename Open>
void open_and_draw(benchmark::State& state, Open open) {
    ensure_application();
    const Samples& wave = longest_waveform();
    const plots::SignalColumns columns = plots::iq_columns(wave);
    for (auto _ : state) {
        const std::unique_ptr<PlotWindow> window(open(wave, columns));
        benchmark::DoNotOptimize(window->canvas().toPixmap(800, 600).cacheKey());
    }
    state.counters["samples"] = static_cast<double>(wave.size());
}

void BM_SpectrumWindow(benchmark::State& state) {
    open_and_draw(state, [](SampleSpan wave, const plots::SignalColumns&) {
        return plot_windows::open_spectrum_window(nullptr, "bench", kLargestFrameRate, wave);
    });
}
BENCHMARK(BM_SpectrumWindow)->Unit(benchmark::kMillisecond);

void BM_CcdfWindow(benchmark::State& state) {
    open_and_draw(state, [](SampleSpan wave, const plots::SignalColumns&) {
        return plot_windows::open_ccdf_window(nullptr, "bench", wave);
    });
}
BENCHMARK(BM_CcdfWindow)->Unit(benchmark::kMillisecond);

void BM_IqTimeWindow(benchmark::State& state) {
    open_and_draw(state, [](SampleSpan wave, const plots::SignalColumns&) {
        return plot_windows::open_iq_time_window(nullptr, "bench", kLargestFrameRate, false, wave);
    });
}
BENCHMARK(BM_IqTimeWindow)->Unit(benchmark::kMillisecond);

void BM_EyeDiagramWindow(benchmark::State& state) {
    open_and_draw(state, [](SampleSpan, const plots::SignalColumns& columns) {
        return plot_windows::open_eye_diagram_window(nullptr, "bench", columns, 7, 2, 0);
    });
}
BENCHMARK(BM_EyeDiagramWindow)->Unit(benchmark::kMillisecond);

void BM_ScatterWindow(benchmark::State& state) {
    open_and_draw(state, [](SampleSpan, const plots::SignalColumns& columns) {
        return plot_windows::open_scatter_window(nullptr, "bench", columns, 7, 0, true);
    });
}
BENCHMARK(BM_ScatterWindow)->Unit(benchmark::kMillisecond);

void BM_WaterfallWindow(benchmark::State& state) {
    open_and_draw(state, [](SampleSpan wave, const plots::SignalColumns&) {
        return plot_windows::open_waterfall_window(nullptr, "bench", kLargestFrameRate, 256 / kLargestFrameRate, wave);
    });
}
BENCHMARK(BM_WaterfallWindow)->Unit(benchmark::kMillisecond);

void BM_AnalysisWindow(benchmark::State& state) {
    open_and_draw(state, [](SampleSpan wave, const plots::SignalColumns&) {
        return plot_windows::open_analysis_window(nullptr, "bench", kLargestFrameRate, wave, {});
    });
}
BENCHMARK(BM_AnalysisWindow)->Unit(benchmark::kMillisecond);

}  // namespace
