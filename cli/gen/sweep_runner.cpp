#include "cli/gen/sweep_runner.hpp"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

#include "cli/gen/generated_waveform.hpp"
#include "cli/gen/outputs.hpp"

namespace dot11b::cli {
namespace {

void run_job(const SweepJob& job, SweepResult& result) {
    try {
        const GeneratedWaveform waveform = build_waveform(job.parameters, job.settings, job.impairments);
        result.samples = waveform.samples().size();
        OutputOptions files;
        for (const auto& path : job.outputs) files.outputs.push_back(path.string());
        if (job.markers) files.markers = job.markers->string();
        result.written = write_outputs(files, waveform);
    } catch (const std::exception& e) {
        result.failure = e.what();
    }
}

}  // namespace

std::vector<SweepResult> run_sweep_jobs(std::span<const SweepJob> jobs, unsigned threads) {
    std::vector<SweepResult> results(jobs.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) run_job(jobs[i], results[i]);
    };
    const auto count = static_cast<std::size_t>(std::max(1U, threads));
    std::vector<std::jthread> workers;
    for (std::size_t t = 1; t < std::min(count, jobs.size()); ++t) workers.emplace_back(work);
    work();
    workers.clear();  // joins them before the results leave
    return results;
}

}  // namespace dot11b::cli
