#include "cli/analyze/command_line.hpp"

#include <CLI/CLI.hpp>

#include "analyzer/analysis.hpp"
#include "analyzer/report_text.hpp"
#include "app/waveform_files/recording_reader.hpp"
#include "cli/analyze/analyze_options.hpp"
#include "cli/analyze/json_report.hpp"
#include "cli/analyze/psdu_files.hpp"
#include "common/errors.hpp"

namespace dot11b::cli {
namespace {

constexpr int kPassed = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

int analyze(const AnalyzeOptions& options, std::ostream& out, std::ostream& err) {
    const waveform_files::Recording recording =
        waveform_files::read_recording(options.file, waveform_files::ReadOptions{options.sample_rate});
    const analyzer::Analysis analysis = analyzer::analyse(recording.samples, recording.sample_rate_hz,
                                                          options.analysis_options(recording.center_frequency_hz));
    if (options.json) {
        for (std::size_t k = 0; k < analysis.bursts.size(); ++k) out << burst_json(analysis, k).dump() << '\n';
        if (analysis.bursts.empty()) out << no_burst_json(analysis).dump() << '\n';
    } else {
        out << analyzer::report_text(options.file, analysis);
    }
    if (options.psdu) {
        for (const auto& path : write_psdu_files(*options.psdu, analysis)) err << "wrote: " << path.string() << '\n';
    }
    return analysis.passed() ? kPassed : kFailed;
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
    } catch (const std::exception& e) {
        err << "dot11b-analyze: " << e.what() << '\n';
        return kUsageError;
    }
}

}  // namespace dot11b::cli
