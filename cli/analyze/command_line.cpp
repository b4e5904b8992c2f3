#include "cli/analyze/command_line.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <thread>

#include "analyzer/analysis.hpp"
#include "analyzer/frame_tally.hpp"
#include "analyzer/report_text.hpp"
#include "app/waveform_files/recording_reader.hpp"
#include "app/waveform_files/recording_stream.hpp"
#include "cli/analyze/analyze_options.hpp"
#include "cli/analyze/json_report.hpp"
#include "cli/analyze/psdu_files.hpp"
#include "cli/analyze/sdr_capture_options.hpp"
#include "cli/gen/usage_error.hpp"
#include "common/errors.hpp"
#include "common/number_text.hpp"

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

// The samples --start and --duration select, once the recording's length is known.
analyzer::StreamSelection selection_of(const AnalyzeOptions& options, std::size_t size, double sample_rate_hz) {
    analyzer::StreamSelection selection;
    const double length_s = static_cast<double>(size) / sample_rate_hz;
    selection.first_sample = static_cast<std::size_t>(std::llround(options.start * sample_rate_hz));
    if (selection.first_sample >= size) {
        throw UsageError("--start " + number_text(options.start) + ": the recording lasts " + number_text(length_s) +
                         " s; allowed: 0 to less than " + number_text(length_s) + " s");
    }
    if (options.duration) {
        const double wanted = std::max(1.0, std::round(*options.duration * sample_rate_hz));
        selection.sample_count =
            static_cast<std::size_t>(std::min(wanted, static_cast<double>(size - selection.first_sample)));
    }
    selection.max_bursts = options.max_bursts;
    selection.threads = std::max(1U, std::thread::hardware_concurrency());
    return selection;
}

// Writes each burst's report (and PSDU file) as soon as the burst is done,
// then the frame summary and the verdict.
int report_bursts(const AnalyzeOptions& options, const std::string& source, const analyzer::SampleReader& read,
                  std::size_t size, double rate, const analyzer::AnalysisOptions& analysis_options, std::ostream& out,
                  std::ostream& err) {
    const analyzer::StreamSelection selection = selection_of(options, size, rate);

    analyzer::Analysis heading;
    heading.sample_rate_hz = rate;
    heading.first_sample = selection.first_sample;
    heading.sample_count = selection.sample_count.value_or(size - selection.first_sample);
    if (!options.json) out << analyzer::report_heading(source, heading);

    analyzer::FrameTally tally;
    bool bursts_passed = true;
    analyzer::Analysis analysis;
    try {
        analysis = analyzer::analyse_stream(
            read, size, rate, analysis_options, selection,
            [&](const analyzer::Analysis& context, std::size_t k, analyzer::BurstAnalysis&& burst) {
                // The file first: a failed write must not follow a printed verdict.
                if (options.psdu) {
                    if (const auto file = write_psdu_file(*options.psdu, k + 1, burst)) {
                        err << "wrote: " << file->string() << '\n';
                    }
                }
                if (options.json) {
                    out << burst_json(context, burst, k).dump() << '\n';
                } else {
                    out << analyzer::burst_report_text(burst, k, context);
                }
                out.flush();
                bursts_passed = bursts_passed && burst.passed();
                tally.add(burst);
            });
    } catch (const std::exception&) {
        // A recording that fails part way still ends with a verdict.
        if (!options.json) out << "overall: FAIL\n";
        throw;
    }
    const analyzer::FrameSummary& frames = tally.summary();
    const std::size_t bursts = frames.bursts;
    // A single burst is no sequence to count, unless frames are expected.
    const bool counted = bursts > 1 || options.expect_frames;
    const bool passed = bursts > 0 && bursts_passed && frames.enough(options.expect_frames);
    if (options.json) {
        if (bursts == 0) out << no_burst_json(analysis).dump() << '\n';
        if (counted) out << frame_summary_json(frames, options.expect_frames).dump() << '\n';
    } else {
        if (counted) out << analyzer::frame_summary_text(frames, options.expect_frames);
        out << analyzer::report_ending(analysis, bursts, passed);
    }
    return passed ? kPassed : kFailed;
}

int analyze(const AnalyzeOptions& options, const SdrCaptureOptions& sdr, std::ostream& out, std::ostream& err) {
    if (sdr.requested()) {
        if (options.sample_rate) throw UsageError("--sample-rate: the capture's rate is the device's; use --sdr-rate");
        const sdr::Capture capture =
            sdr.capture(options.duration.value_or(SdrCaptureOptions::kDefaultDurationSeconds), err);
        return report_bursts(options, sdr.source_name(), analyzer::reader_of(capture.samples), capture.samples.size(),
                             capture.rate, options.analysis_options(capture.frequency), out, err);
    }
    if (options.file.empty()) throw UsageError("a recording FILE or --sdr ARGS is needed");
    check_usage(options);
    const waveform_files::RecordingStream recording(options.file, waveform_files::ReadOptions{options.sample_rate});
    const waveform_files::Recording& description = recording.description();
    return report_bursts(
        options, options.file, [&](std::size_t first, std::span<Complex> block) { recording.read(first, block); },
        recording.size(), description.sample_rate_hz,
        options.analysis_options(description.center_frequency_hz, description.pulse_filter), out, err);
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
