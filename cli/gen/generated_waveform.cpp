#include "cli/gen/generated_waveform.hpp"

#include <utility>

namespace dot11b::cli {

GeneratedWaveform build_waveform(const app::FormatParameters& parameters, const app::SigGenSettings& settings,
                                 std::vector<std::string> notes) {
    return {parameters, settings, app::calculate(parameters), parameters.projected_length, std::move(notes)};
}

}  // namespace dot11b::cli
