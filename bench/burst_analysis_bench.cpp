// The analyser's cost per burst: one 1500-octet 11 Mbit/s burst at 22 Msps
// (oversampling 2, Gaussian filter), alone and as a recording of such bursts
// back to back analysed on one or two threads.

#include <benchmark/benchmark.h>

#include "analyzer/analysis.hpp"
#include "analyzer/burst_detection.hpp"
#include "analyzer/reference_filter.hpp"
#include "app/calculation.hpp"

namespace {

using namespace dot11b;

constexpr double kSampleRate = 22e6;

Samples burst_period() {
    app::FormatParameters parameters;
    parameters.rate = phy::DataRate::Mbps11;
    parameters.data_source = mac::PayloadSource::Pn9;
    parameters.data_length = 1500 - 28;  // with the 24-octet MAC header and the FCS
    parameters.mac_header.active = true;
    parameters.fcs.active = true;
    parameters.oversampling = 2;
    app::refresh_derived_fields(parameters);
    return app::calculate(parameters).frame.samples;
}

// As the command line analyses: no spectrum where the sample rate keeps the mask out of reach.
analyzer::AnalysisOptions report_options() {
    analyzer::AnalysisOptions options;
    options.keep_views = false;
    return options;
}

void BM_AnalyseOneBurst(benchmark::State& state) {
    const Samples samples = burst_period();
    for (auto _ : state) {
        const analyzer::Analysis analysis = analyzer::analyse(samples, kSampleRate, report_options());
        benchmark::DoNotOptimize(analysis.bursts.data());
    }
    state.counters["bursts/s"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_AnalyseOneBurst)->Unit(benchmark::kMillisecond);

// The same burst measured against its named filter: no candidates to fit.
void BM_AnalyseOneBurstNamedFilter(benchmark::State& state) {
    const Samples samples = burst_period();
    analyzer::AnalysisOptions options = report_options();
    options.reference_filter = analyzer::parse_reference_filter("gaussian:0.5");
    for (auto _ : state) {
        const analyzer::Analysis analysis = analyzer::analyse(samples, kSampleRate, options);
        benchmark::DoNotOptimize(analysis.bursts.data());
    }
    state.counters["bursts/s"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_AnalyseOneBurstNamedFilter)->Unit(benchmark::kMillisecond);

// Wall-clock time: the threads are the point.
void BM_AnalyseBurstsOnThreads(benchmark::State& state) {
    constexpr std::size_t kBursts = 16;
    const Samples period = burst_period();
    Samples recording;
    for (std::size_t k = 0; k < kBursts; ++k) recording.insert(recording.end(), period.begin(), period.end());
    analyzer::StreamSelection selection;
    selection.threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        std::size_t bursts = 0;
        analyzer::analyse_stream(analyzer::reader_of(recording), recording.size(), kSampleRate, report_options(), selection,
                                 [&](const analyzer::Analysis&, std::size_t, analyzer::BurstAnalysis&&) { ++bursts; });
        benchmark::DoNotOptimize(bursts);
    }
    state.counters["bursts/s"] = benchmark::Counter(kBursts, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["x_real_time"] = benchmark::Counter(static_cast<double>(recording.size()) / kSampleRate,
                                                       benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_AnalyseBurstsOnThreads)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// The search for the bursts of a recording before any is analysed (its two
// halves on two threads: wall-clock time).
void BM_BurstSearch(benchmark::State& state) {
    constexpr std::size_t kBursts = 64;
    const Samples period = burst_period();
    Samples recording;
    for (std::size_t k = 0; k < kBursts; ++k) recording.insert(recording.end(), period.begin(), period.end());
    for (auto _ : state) {
        const analyzer::BurstSearch search = analyzer::find_bursts(recording, kSampleRate);
        benchmark::DoNotOptimize(search.bursts.data());
    }
    state.counters["x_real_time"] = benchmark::Counter(static_cast<double>(recording.size()) / kSampleRate,
                                                       benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_BurstSearch)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
