#pragma once
// The records a dot11b-gen run builds from: the parameter file when one is
// given, then the options as typed. A single run and every combination of a
// sweep are configured alike.

#include <string>
#include <vector>

#include "app/records.hpp"
#include "cli/gen/download_options.hpp"
#include "cli/gen/waveform_options.hpp"

namespace dot11b::cli {

struct RunConfiguration {
    app::FormatParameters parameters;
    app::SigGenSettings settings;
    impairments::ImpairmentSettings impairments;
    std::vector<std::string> notes;  // entries that were rounded or not used
};

// Throws UsageError for an option as typed, IoError (naming the file) for a
// parameter or payload file that cannot be used, ConfigError for a setting
// of a parameter file that the options cannot build.
RunConfiguration configure_run(const WaveformOptions& waveform, const DownloadOptions& download = {});

}  // namespace dot11b::cli
