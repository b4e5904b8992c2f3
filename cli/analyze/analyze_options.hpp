#pragma once
// The options of dot11b-analyze.

#include <CLI/CLI.hpp>
#include <optional>
#include <span>
#include <string>

#include "analyzer/analysis.hpp"
#include "app/waveform_files/pulse_filter.hpp"
#include "cli/named_options/named_options.hpp"

namespace dot11b::cli {

struct AnalyzeOptions {
    std::string file;                         // the recording
    std::optional<double> sample_rate;        // Hz; needed by formats that do not hold it
    std::optional<double> carrier_frequency;  // Hz; overrides the recording's own
    bool mirror = false;
    bool fcs = false;
    bool mac_header = false;
    std::optional<std::string> reference_filter;  // none|gaussian[:BT[:SPAN]]|root-cosine[:ALPHA[:SPAN]]
    bool json = false;
    std::optional<std::string> psdu;  // where the PSDU octets go
    // The frames sent: fewer distinct frames decoded fail the run.
    std::optional<std::size_t> expect_frames;
    // The part of a long capture analysed: seconds from its start, and the first bursts only.
    double start = 0;
    std::optional<double> duration;
    std::optional<std::size_t> max_bursts;

    void add_to(CLI::App& app);
    // The options of the recording (what its file does not hold): --sample-rate.
    void add_recording_options_to(CLI::App& app);
    // The options that change the analysis or what it assumes.
    void add_analysis_options_to(CLI::App& app);

    // The analyser's options, with the recording's carrier frequency and
    // transmit filter when no option gives them.
    analyzer::AnalysisOptions analysis_options(
        std::optional<double> recording_carrier_hz,
        const std::optional<waveform_files::PulseFilter>& recording_filter = std::nullopt) const;
};

// The options of a recording handed over by a program rather than named by
// FILE (the Python module's keyword arguments): the analysis options, and the
// recording options when `with_recording_options`. The report's form (--json,
// --psdu) is the program's own. Throws UnknownOption for a name that is not
// among them, ConfigError with the command line's message for a value refused.
AnalyzeOptions parse_analyze_options(std::span<const NamedOption> options, bool with_recording_options);

// The recording options.file names, read with options.sample_rate and analysed.
// Throws ConfigError or IoError naming the file.
analyzer::Analysis analyse_file(const AnalyzeOptions& options);

}  // namespace dot11b::cli
