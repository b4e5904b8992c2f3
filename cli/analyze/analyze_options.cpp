#include "cli/analyze/analyze_options.hpp"

#include <cmath>
#include <limits>

#include "analyzer/constants.hpp"
#include "app/waveform_files/recording_reader.hpp"
#include "cli/common/sample_rate_option.hpp"
#include "common/errors.hpp"

namespace dot11b::cli {
namespace {

// A frequency in Hz from `min` up; the message shows the value as entered.
CLI::Validator at_least(double min, const std::string& what) {
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            double value = 0;
            if (!CLI::detail::lexical_cast(text, value)) return text + " is not a number";
            if (value >= min && std::isfinite(value)) return {};
            return text + " is not allowed; allowed: " + what;
        },
        "HZ");
}

CLI::Validator reference_filter_text() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            try {
                analyzer::parse_reference_filter(text);
            } catch (const ConfigError& e) {
                return e.what();
            }
            return {};
        },
        "none|gaussian[:BT[:SPAN]]|root-cosine[:ALPHA[:SPAN]]");
}

}  // namespace

void AnalyzeOptions::add_to(CLI::App& app) {
    app.add_option("FILE", file, "recording: .wfm, .cf32, .sigmf-meta/.sigmf-data (cf32_le, ci16_le, ci8) or .mat");
    add_recording_options_to(app);
    add_analysis_options_to(app);
    app.add_flag("--json", json, "print one JSON object per burst instead of the report");
    app.add_option("--expect-frames", expect_frames,
                   "the number of frames sent: fail when fewer distinct frames decode, and print the packet error rate")
        ->check(CLI::Range(std::size_t{1}, std::numeric_limits<std::size_t>::max()));
    app.add_option("--start", start, "analyse from this many seconds into the recording (default 0)")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--duration", duration, "analyse this many seconds of the recording (default: to its end), or capture them with --sdr (default 0.1)")
        ->check(CLI::PositiveNumber);
    app.add_option("--max-bursts", max_bursts, "analyse the first N bursts only")
        ->check(CLI::Range(std::size_t{1}, std::numeric_limits<std::size_t>::max()));
    app.add_option("--psdu", psdu, "write the PSDU octets (FILE for the first burst, FILE-2, FILE-3 ... for the next)");
}

void AnalyzeOptions::add_recording_options_to(CLI::App& app) {
    add_sample_rate_option(app, sample_rate, "sample rate in Hz, for files that do not hold it (.wfm, .cf32)",
                           analyzer::kChipRateHz, "the chip rate");
}

void AnalyzeOptions::add_analysis_options_to(CLI::App& app) {
    app.add_option("--carrier-frequency", carrier_frequency,
                   "carrier frequency in Hz for the offset in ppm (default: the recording's, else 2412 MHz)")
        ->check(at_least(1, "a frequency above 0 Hz"));
    app.add_flag("--mirror", mirror, "the recording holds a mirrored (conjugated) waveform");
    app.add_flag("--fcs", fcs, "every PSDU ends in an FCS: fail a burst without a valid one");
    app.add_flag("--mac-header", mac_header, "read a MAC header even from a PSDU without a valid FCS");
    app.add_option("--reference-filter", reference_filter,
                   "the transmitter's pulse the EVM is measured against (default: the one the recording names, "
                   "else the best fit of each burst)")
        ->check(reference_filter_text());
}

analyzer::AnalysisOptions AnalyzeOptions::analysis_options(
    std::optional<double> recording_carrier_hz, const std::optional<waveform_files::PulseFilter>& recording_filter) const {
    analyzer::AnalysisOptions options;
    options.mirror = mirror;
    options.expect_fcs = fcs;
    options.mac_header = mac_header;
    options.keep_views = false;  // the reports show the mask's verdict and the EVM, not the views
    options.carrier_frequency_hz = carrier_frequency ? carrier_frequency : recording_carrier_hz;
    if (reference_filter) {
        options.reference_filter = analyzer::parse_reference_filter(*reference_filter);
        options.reference_filter_source = analyzer::FilterSource::Option;
    } else if (recording_filter) {
        options.reference_filter =
            analyzer::described_filter(recording_filter->type, recording_filter->factor, recording_filter->length_symbols);
        options.reference_filter_source = analyzer::FilterSource::Recording;
    }
    return options;
}

AnalyzeOptions parse_analyze_options(std::span<const NamedOption> named, bool with_recording_options) {
    CLI::App app;
    AnalyzeOptions options;
    if (with_recording_options) options.add_recording_options_to(app);
    options.add_analysis_options_to(app);
    parse_named_options(app, named);
    return options;
}

analyzer::Analysis analyse_file(const AnalyzeOptions& options) {
    const waveform_files::Recording recording =
        waveform_files::read_recording(options.file, waveform_files::ReadOptions{options.sample_rate});
    return analyzer::analyse(recording.samples, recording.sample_rate_hz,
                             options.analysis_options(recording.center_frequency_hz, recording.pulse_filter));
}

}  // namespace dot11b::cli
