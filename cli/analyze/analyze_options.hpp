#pragma once
// The options of dot11b-analyze.

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "analyzer/analysis.hpp"

namespace dot11b::cli {

struct AnalyzeOptions {
    std::string file;                         // the recording
    std::optional<double> sample_rate;        // Hz; needed by formats that do not hold it
    std::optional<double> carrier_frequency;  // Hz; overrides the recording's own
    bool mirror = false;
    bool fcs = false;
    bool mac_header = false;
    bool json = false;
    std::optional<std::string> psdu;  // where the PSDU octets go

    void add_to(CLI::App& app);
    // The analyser's options, with the recording's carrier frequency when no option gives one.
    analyzer::AnalysisOptions analysis_options(std::optional<double> recording_carrier_hz) const;
};

}  // namespace dot11b::cli
