#pragma once
// dot11b-gen --sweep FIELD=V1,V2,... (repeatable) and --manifest FILE.csv:
// one waveform per combination of the swept values, the output names
// templated from them.

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/gen/download_options.hpp"
#include "cli/gen/output_options.hpp"

namespace dot11b::cli {

struct SweepOptions {
    std::vector<std::string> sweeps;      // FIELD=V1,V2,...
    std::optional<std::string> manifest;  // CSV of every file written

    void add_to(CLI::App& app);
    bool requested() const { return !sweeps.empty(); }
};

// Runs the sweep of a command line whose arguments (without the program
// name) are `args`. Every combination is configured as a run with the swept
// options added would be; combinations the options refuse (a short preamble
// at 1 Mbit/s, say) are skipped and listed. Nothing is written when a swept
// field, a value or the output names are wrong, or when two combinations
// would write the same file: those throw ConfigError. A combination that
// fails while building or writing is reported with its reason, the others
// are still written, and the exit status is then 1.
int run_sweep(const SweepOptions& sweep, const OutputOptions& options, const DownloadOptions& download,
              std::span<const std::string> args, std::ostream& err);

}  // namespace dot11b::cli
