#include "cli/gen/verify_option.hpp"

#include <ostream>
#include <string>
#include <vector>

#include "analyzer/analysis.hpp"
#include "cli/gen/usage_error.hpp"

namespace dot11b::cli {
namespace {

// What keeps the waveform from passing; empty when it passes.
std::vector<std::string> problems(const GeneratedWaveform& waveform) {
    const app::FormatParameters& p = waveform.parameters;
    analyzer::AnalysisOptions options;
    options.mirror = p.mirror_spectrum;
    options.expect_fcs = p.fcs.active;
    options.carrier_frequency_hz = waveform.settings.frequency;
    options.keep_views = false;
    const analyzer::Analysis analysis = analyzer::analyse(waveform.samples(), waveform.sample_rate(), options);
    if (analysis.bursts.size() != 1) {
        return {"the analyser found " + std::to_string(analysis.bursts.size()) + " bursts, not 1"};
    }
    const analyzer::BurstAnalysis& burst = analysis.bursts.front();
    std::vector<std::string> found = burst.failures();
    if (burst.status == analyzer::DecodeStatus::Decoded && burst.psdu != waveform.psdu_octets()) {
        found.insert(found.begin(), "the decoded PSDU differs from the PSDU built");
    }
    return found;
}

}  // namespace

void VerifyOption::add_to(CLI::App& app) {
    auto* flag = app.add_flag("--verify", requested_,
                              "decode and measure the waveform with the analyser; fail unless it decodes to the "
                              "PSDU built and passes every transmitter check");
    // --estimate builds no waveform to verify.
    if (auto* estimate = app.get_option_no_throw("--estimate")) flag->excludes(estimate);
}

void VerifyOption::check(const app::FormatParameters& parameters) const {
    if (requested_ && !parameters.framed) {
        throw UsageError("--verify: an unframed waveform has no preamble to decode; allowed: framed waveforms only");
    }
}

bool VerifyOption::passes(const GeneratedWaveform& waveform, std::ostream& err) const {
    const std::vector<std::string> found = problems(waveform);
    if (found.empty()) {
        err << "verify:           PASS: the analyser decodes the PSDU built and every measurement passes\n";
        return true;
    }
    err << "verify:           FAIL";
    for (std::size_t k = 0; k < found.size(); ++k) err << (k ? "; " : ": ") << found[k];
    err << '\n';
    return false;
}

}  // namespace dot11b::cli
