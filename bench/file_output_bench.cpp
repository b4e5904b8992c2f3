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

template <typename Write>
void write_largest_frame(benchmark::State& state, std::size_t bytes_per_sample, Write write) {
    const Samples& samples = bench::largest_frame();
    for (auto _ : state) {
        DurableFile file(kTarget);
        write(file, samples);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * samples.size() * bytes_per_sample));
}

void BM_LargestFrameToWfm(benchmark::State& state) {
    write_largest_frame(state, 4, [](DurableFile& file, SampleSpan samples) { waveform_files::write_wfm(file, samples); });
}
BENCHMARK(BM_LargestFrameToWfm)->Unit(benchmark::kMillisecond);

void BM_LargestFrameToCf32(benchmark::State& state) {
    write_largest_frame(state, 8, [](DurableFile& file, SampleSpan samples) { waveform_files::write_cf32(file, samples); });
}
BENCHMARK(BM_LargestFrameToCf32)->Unit(benchmark::kMillisecond);

}  // namespace
