#pragma once
// The manifest of a sweep (--manifest FILE.csv): one row per file written,
// with the full configuration that made it, its projected length and its
// sample rate.

#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "app/records.hpp"

namespace dot11b::cli {

struct ManifestRow {
    std::filesystem::path file;
    const app::FormatParameters* parameters;
    double sample_rate;                     // Hz
    std::size_t samples;                    // of the waveform written
    std::optional<double> projected_length;  // absent at 22 and 33 Mbit/s
};

// Comma-separated values with a header line: file, the option_values()
// columns, samples, projected_length, sample_rate. Fields holding a comma, a
// quote or a line break are quoted.
std::string manifest_csv(std::span<const ManifestRow> rows);

}  // namespace dot11b::cli
