#include "cli/gen/generated_waveform.hpp"

#include <utility>

#include "cli/gen/usage_error.hpp"
#include "common/octets.hpp"

namespace dot11b::cli {

GeneratedWaveform build_waveform(const app::FormatParameters& parameters, const app::SigGenSettings& settings,
                                 const impairments::ImpairmentSettings& impairments,
                                 std::vector<std::string> notes) {
    return {parameters, settings, impairments, app::calculate(parameters, impairments), parameters.projected_length,
            std::move(notes)};
}

std::vector<std::uint8_t> GeneratedWaveform::psdu_octets() const {
    return octets_of(calculation.psdu);
}

double estimated_length(const app::FormatParameters& parameters) {
    if (!parameters.projected_length) {
        throw UsageError("--estimate: the size estimate covers 1, 2, 5.5 and 11 Mbit/s, not --rate 22 or 33");
    }
    return *parameters.projected_length;
}

}  // namespace dot11b::cli
