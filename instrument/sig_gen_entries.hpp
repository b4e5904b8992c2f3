#pragma once
// The generator settings panel's rules for its entries: what an entry is
// rounded and clamped to and how it is stored. An entry that is not a number
// is given as nullopt (NaN counts the same) and ends at the upper bound.

#include <optional>
#include <string>
#include <string_view>

namespace dot11b::instrument {

inline constexpr double kMinFrequency = 100000;      // Hz
inline constexpr double kMaxFrequency = 4000000000;  // Hz
inline constexpr double kMinSamplingRate = 1;        // Hz
inline constexpr double kMaxSamplingRate = 40000000; // Hz
inline constexpr double kMinAmplitude = -136;        // dBm
inline constexpr double kMaxAmplitude = 20;          // dBm

// Carrier in Hz, limited to 100 kHz to 4 GHz.
double frequency_entry(std::optional<double> hz);
// ARB sample clock in Hz, limited to 1 Hz to 40 MHz.
double sampling_rate_entry(std::optional<double> hz);
// Output level rounded to whole dBm, limited to -136 to 20.
double amplitude_entry(std::optional<double> dbm);
// Upper case; only A-Z, 0-9 and _ $ & # + - [ ] kept, in order; at most 20
// of them; "BLANK" when none remain.
std::string waveform_title_entry(std::string_view entry);
// Centre frequency of RF channel 1 to 14 in Hz: 2407 + 5n MHz, 2484 MHz for 14.
// Throws ConfigError for another channel.
double channel_frequency(int channel);

}  // namespace dot11b::instrument
