#include "cli/gen/generated_waveform.hpp"

#include <utility>

namespace dot11b::cli {

GeneratedWaveform build_waveform(const app::FormatParameters& parameters, const app::SigGenSettings& settings,
                                 const impairments::ImpairmentSettings& impairments,
                                 std::vector<std::string> notes) {
    return {parameters, settings, impairments, app::calculate(parameters, impairments), parameters.projected_length,
            std::move(notes)};
}

}  // namespace dot11b::cli
