#pragma once
// Builds and writes the configurations of a sweep on every core.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/records.hpp"
#include "impairments/impairment_settings.hpp"

namespace dot11b::cli {

struct SweepJob {
    app::FormatParameters parameters;
    app::SigGenSettings settings;
    impairments::ImpairmentSettings impairments;
    std::vector<std::filesystem::path> outputs;     // waveform files, format by extension
    std::optional<std::filesystem::path> markers;  // one byte per sample
};

struct SweepResult {
    std::vector<std::filesystem::path> written;
    std::size_t samples = 0;
    std::string failure;  // empty on success: the reason otherwise
};

// Runs the jobs on up to `threads` threads, each job's files written as a
// single run writes them, all or nothing. A job that fails records its reason; the others go on.
std::vector<SweepResult> run_sweep_jobs(std::span<const SweepJob> jobs, unsigned threads);

}  // namespace dot11b::cli
