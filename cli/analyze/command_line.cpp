#include "cli/analyze/command_line.hpp"

#include <CLI/CLI.hpp>

#include "analyzer/analysis.hpp"
#include "analyzer/frame_tally.hpp"
#include "analyzer/report_text.hpp"
#include "app/waveform_files/recording_reader.hpp"
#include "cli/analyze/analyze_options.hpp"
#include "cli/analyze/json_report.hpp"
#include "cli/analyze/psdu_files.hpp"
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

int analyze(const AnalyzeOptions& options, std::ostream& out, std::ostream& err) {
    check_usage(options);
    const analyzer::Analysis analysis = analyse_file(options);
    // The files first: a failed write must not follow a printed verdict.
    if (options.psdu) {
        for (std::size_t k = 0; k < analysis.bursts.size(); ++k) {
            if (const auto file = write_psdu_file(*options.psdu, k + 1, analysis.bursts[k])) {
                err << "wrote: " << file->string() << '\n';
            }
        }
    }
    analyzer::FrameTally tally;
    for (const analyzer::BurstAnalysis& burst : analysis.bursts) tally.add(burst);
    const analyzer::FrameSummary& frames = tally.summary();
    // A single burst is no sequence to count, unless frames are expected.
    const bool counted = frames.bursts > 1 || options.expect_frames;
    const bool passed = analysis.passed() && frames.enough(options.expect_frames);
    if (options.json) {
        for (const auto& line : report_json(analysis)) out << line.dump() << '\n';
        if (counted) out << frame_summary_json(frames, options.expect_frames).dump() << '\n';
    } else {
        out << analyzer::report_heading(options.file, analysis);
        for (std::size_t k = 0; k < analysis.bursts.size(); ++k) {
            out << analyzer::burst_report_text(analysis.bursts[k], k, analysis);
        }
        if (counted) out << analyzer::frame_summary_text(frames, options.expect_frames);
        out << analyzer::report_ending(analysis, analysis.bursts.size(), passed);
    }
    return passed ? kPassed : kFailed;
}

}  // namespace

int run_dot11b_analyze(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Decodes and measures every IEEE 802.11b burst of a recording.", "dot11b-analyze"};
    AnalyzeOptions options;
    options.add_to(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err) == 0 ? kPassed : kUsageError;
    }
    try {
        return analyze(options, out, err);
    } catch (const UsageError& e) {
        err << "dot11b-analyze: " << e.what() << '\n';
        return kUsageError;
    } catch (const std::exception& e) {
        err << "dot11b-analyze: " << e.what() << '\n';
        return kFailed;
    }
}

}  // namespace dot11b::cli
