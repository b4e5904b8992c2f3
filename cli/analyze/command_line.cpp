#include "cli/analyze/command_line.hpp"

#include <CLI/CLI.hpp>

#include "analyzer/analysis.hpp"
#include "analyzer/report_text.hpp"
#include "app/waveform_files/recording_reader.hpp"
#include "cli/analyze/analyze_options.hpp"
#include "cli/analyze/json_report.hpp"
#include "cli/analyze/psdu_files.hpp"
#include "cli/analyze/sdr_capture_options.hpp"
#include "cli/gen/usage_error.hpp"
#include "common/errors.hpp"

namespace dot11b::cli {
namespace {

constexpr int kPassed = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

// What the command line itself gets wrong, found before anything is read.
void check_usage(const AnalyzeOptions& options) {
    std::vector<std::filesystem::path> inputs;
    try {
        inputs = waveform_files::recording_files(options.file);
    } catch (const ConfigError& e) {
        throw UsageError(e.what());
    }
    const waveform_files::Format format = waveform_files::format_of(options.file);
    if ((format == waveform_files::Format::wfm || format == waveform_files::Format::cf32) && !options.sample_rate) {
        throw UsageError(options.file + " holds no sample rate: it needs --sample-rate HZ");
    }
    if (options.psdu) refuse_psdu_over_inputs(*options.psdu, inputs);
}

analyzer::Analysis analyse_capture(const AnalyzeOptions& options, const SdrCaptureOptions& sdr, std::ostream& err) {
    if (options.sample_rate) throw UsageError("--sample-rate: the capture's rate is the device's; use --sdr-rate");
    const sdr::Capture capture = sdr.capture(err);
    return analyzer::analyse(capture.samples, capture.rate, options.analysis_options(capture.frequency));
}

int analyze(const AnalyzeOptions& options, const SdrCaptureOptions& sdr, std::ostream& out, std::ostream& err) {
    analyzer::Analysis analysis;
    if (sdr.requested()) {
        analysis = analyse_capture(options, sdr, err);
    } else {
        if (options.file.empty()) throw UsageError("a recording FILE or --sdr ARGS is needed");
        check_usage(options);
        analysis = analyse_file(options);
    }
    // The files first: a failed write must not follow a printed verdict.
    if (options.psdu) {
        for (std::size_t k = 0; k < analysis.bursts.size(); ++k) {
            if (const auto file = write_psdu_file(*options.psdu, k + 1, analysis.bursts[k])) {
                err << "wrote: " << file->string() << '\n';
            }
        }
    }
    if (options.json) {
        for (const auto& line : report_json(analysis)) out << line.dump() << '\n';
    } else {
        out << analyzer::report_text(sdr.requested() ? sdr.source_name() : options.file, analysis);
    }
    return analysis.passed() ? kPassed : kFailed;
}

}  // namespace

int run_dot11b_analyze(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Decodes and measures every IEEE 802.11b burst of a recording.", "dot11b-analyze"};
    AnalyzeOptions options;
    options.add_to(app);
    SdrCaptureOptions sdr;
    sdr.add_to(app, app.get_option("FILE"));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err) == 0 ? kPassed : kUsageError;
    }
    try {
        return analyze(options, sdr, out, err);
    } catch (const UsageError& e) {
        err << "dot11b-analyze: " << e.what() << '\n';
        return kUsageError;
    } catch (const std::exception& e) {
        err << "dot11b-analyze: " << e.what() << '\n';
        return kFailed;
    }
}

}  // namespace dot11b::cli
