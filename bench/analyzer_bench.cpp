// The analyser on the largest frame the generator builds: 2312 PN9 payload
// octets with MAC header and FCS at 1 Mbit/s, long preamble, oversampling 3.5,
// Gaussian filter, the start-up ramps and idle time (733964 samples).

#include <benchmark/benchmark.h>

#include "analyzer/analysis.hpp"
#include "app/calculation.hpp"

namespace {

using namespace dot11b;

void BM_AnalyseLargestFrame(benchmark::State& state) {
    app::FormatParameters parameters;
    parameters.rate = phy::DataRate::Mbps1;
    parameters.data_source = mac::PayloadSource::Pn9;
    parameters.data_length = app::kMaxDataLength;
    parameters.mac_header.active = true;
    parameters.fcs.active = true;
    app::refresh_derived_fields(parameters);
    const Samples samples = app::calculate(parameters).frame.samples;
    const double sample_rate = app::kChipRate * parameters.oversampling;
    for (auto _ : state) {
        const analyzer::Analysis analysis = analyzer::analyse(samples, sample_rate);
        benchmark::DoNotOptimize(analysis.bursts.data());
    }
    state.counters["samples"] = static_cast<double>(samples.size());
    state.counters["samples/s"] =
        benchmark::Counter(static_cast<double>(samples.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_AnalyseLargestFrame)->Unit(benchmark::kMillisecond);

}  // namespace
