#pragma once
// The result of one dot11b-gen run: the records it used and what the
// calculation made of them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/calculation.hpp"
#include "app/records.hpp"

namespace dot11b::cli {

struct GeneratedWaveform {
    app::FormatParameters parameters;
    app::SigGenSettings settings;
    impairments::ImpairmentSettings impairments;
    app::Calculation calculation;
    std::optional<double> projected_length;  // absent at 22 and 33 Mbit/s
    std::vector<std::string> notes;          // entries that were rounded or not used

    const Samples& samples() const { return calculation.frame.samples; }
    // The PSDU as octets, each from its first transmitted bit up.
    std::vector<std::uint8_t> psdu_octets() const;
    // The rate the instrument plays the samples at (SigGenSettings.SamplingRate).
    double sample_rate() const { return settings.sampling_rate; }
};

// The waveform of the records, calculated as the window's Calculate does.
// Throws ConfigError when the frame builder refuses the configuration.
GeneratedWaveform build_waveform(const app::FormatParameters& parameters, const app::SigGenSettings& settings,
                                 const impairments::ImpairmentSettings& impairments,
                                 std::vector<std::string> notes = {});

// The projected length that --estimate prints. Throws UsageError at 22 and
// 33 Mbit/s, which the size estimate does not cover.
double estimated_length(const app::FormatParameters& parameters);

}  // namespace dot11b::cli
