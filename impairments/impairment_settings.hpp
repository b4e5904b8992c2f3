#pragma once
// The transmitter and channel impairments of a waveform: each one is either
// off or holds its value; the command line, the Impairments window and the
// parameter file all keep them in this record.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dot11b::impairments {

struct ImpairmentSettings {
    std::optional<double> pa_backoff = std::nullopt;    // dB above the burst's RMS amplitude, 0 to 30
    std::optional<double> iq_gain = std::nullopt;       // dB, -6 to 6
    std::optional<double> iq_phase = std::nullopt;      // degrees, -20 to 20
    std::optional<double> dc_offset = std::nullopt;     // dBc, -60 to 0
    std::optional<double> clock_offset = std::nullopt;  // ppm, -1000 to 1000
    std::optional<double> cfo = std::nullopt;           // Hz, -500 000 to 500 000
    std::optional<double> snr = std::nullopt;           // dB, -10 to 60
    std::uint64_t seed = 1;              // of the noise

    bool any() const;
    // Throws ConfigError naming the option, its value and the range.
    void validate() const;
    bool operator==(const ImpairmentSettings&) const = default;
};

// One entry of the record: its option name (without dashes), unit, range,
// and the member that holds it.
struct ImpairmentField {
    std::string_view option;
    std::string_view unit;
    double min;
    double max;
    std::optional<double> ImpairmentSettings::*member;
};

// In the order in which they are applied.
inline constexpr std::array<ImpairmentField, 7> kImpairmentFields = {{
    {"pa-backoff", "dB", 0.0, 30.0, &ImpairmentSettings::pa_backoff},
    {"iq-gain", "dB", -6.0, 6.0, &ImpairmentSettings::iq_gain},
    {"iq-phase", "deg", -20.0, 20.0, &ImpairmentSettings::iq_phase},
    {"dc-offset", "dBc", -60.0, 0.0, &ImpairmentSettings::dc_offset},
    {"clock-offset", "ppm", -1000.0, 1000.0, &ImpairmentSettings::clock_offset},
    {"cfo", "Hz", -500e3, 500e3, &ImpairmentSettings::cfo},
    {"snr", "dB", -10.0, 60.0, &ImpairmentSettings::snr},
}};

// The field of an option name, or nullptr.
const ImpairmentField* impairment_field(std::string_view option);

// The impairments that are on, in their order, as "pa-backoff 6 dB, snr 20 dB
// (seed 1)"; the seed only with noise. Empty when none is on.
std::string describe_impairments(const ImpairmentSettings& settings);

// The period length after a clock offset: round(n / (1 + ppm 1e-6)) made
// even (the nearest even number).
std::size_t clock_offset_length(std::size_t n, double ppm);

}  // namespace dot11b::impairments
