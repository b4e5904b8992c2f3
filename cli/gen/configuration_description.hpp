#pragma once
// The configuration of a generated waveform in one line of text, recorded as
// the description of a SigMF recording.

#include <cstddef>
#include <string>

#include "app/records.hpp"
#include "impairments/impairment_settings.hpp"

namespace dot11b::cli {

std::string describe_configuration(const app::FormatParameters& parameters, std::size_t psdu_bits,
                                   const impairments::ImpairmentSettings& impairments = {});

}  // namespace dot11b::cli
