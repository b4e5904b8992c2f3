// Writing the largest frame's file contents: the .wfm words (one pass for
// the largest magnitude, one to convert) and the .cf32 floats, each into a
// temporary file that is never committed, so the figures hold the conversion
// and the copy into the page cache but not the flush to disk.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/waveform_files/cf32_file.hpp"
#include "app/waveform_files/wfm_file.hpp"
#include "bench/largest_frame.hpp"
#include "common/durable_file.hpp"

namespace {

using namespace dot11b;

const std::filesystem::path kTarget = std::filesystem::temp_directory_path() / "dot11b-bench-output";

void report_bytes(benchmark::State& state, std::size_t bytes_per_sample) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bench::largest_frame().size() *
                                                      bytes_per_sample));
}

void BM_LargestFrameToWfm(benchmark::State& state) {
    const Samples& samples = bench::largest_frame();
    for (auto _ : state) {
        DurableFile file(kTarget);
        waveform_files::write_wfm(file, samples);
    }
    report_bytes(state, 4);
}
BENCHMARK(BM_LargestFrameToWfm)->Unit(benchmark::kMillisecond);

void BM_LargestFrameToCf32(benchmark::State& state) {
    const Samples& samples = bench::largest_frame();
    for (auto _ : state) {
        DurableFile file(kTarget);
        waveform_files::write_cf32(file, samples);
    }
    report_bytes(state, 8);
}
BENCHMARK(BM_LargestFrameToCf32)->Unit(benchmark::kMillisecond);

}  // namespace
