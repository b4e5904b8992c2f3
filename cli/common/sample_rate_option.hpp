#pragma once
// The --sample-rate option of the tools that read recordings.

#include <optional>
#include <string>

#include <CLI/CLI.hpp>

namespace dot11b::cli {

// Adds --sample-rate HZ, refusing rates outside sample_rate_allowed(rate,
// min_hz) with the value as typed and the allowed range.
CLI::Option* add_sample_rate_option(CLI::App& app, std::optional<double>& rate, const std::string& help,
                                    double min_hz = 0, const std::string& min_name = "");

}  // namespace dot11b::cli
