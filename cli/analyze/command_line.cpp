#include "cli/analyze/command_line.hpp"

#include <CLI/CLI.hpp>

#include "analyzer/analysis.hpp"
#include "analyzer/report_text.hpp"
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
    const analyzer::Analysis analysis = analyse_file(options);
    if (options.json) {
        for (const auto& line : report_json(analysis)) out << line.dump() << '\n';
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
