#pragma once
// The main window's rules for its edit fields: what an entry is rounded and
// clamped to and how it is stored. An entry that is not a number is given as
// nullopt (NaN counts the same); it ends at the bound the rule names. The
// command line uses the same rules after refusing entries outside the ranges.

#include <cstddef>
#include <optional>
#include <string_view>

#include "phy/frame_config.hpp"

namespace dot11b::app {

inline constexpr double kMaxRampTimeUs = 1000;
inline constexpr double kMaxIdleTimeUs = 100000;
inline constexpr double kMinFilterTaps = 1;     // symbols
inline constexpr double kMaxFilterTaps = 1000;  // symbols
inline constexpr double kMaxFilterFactor = 1;

// An edit field's text read as one decimal number (blanks around it and a
// leading + allowed, "Inf" too); nullopt when it is anything else.
std::optional<double> entry_number(std::string_view text);

// Output samples per microsecond at the oversampling ratio (11 Mchip/s).
double samples_per_microsecond(double oversampling);

// Microseconds, 0 to 1000, to ramp samples: round(t * 11 * oversampling). Unreadable: 0.
std::size_t ramp_time_entry(std::optional<double> microseconds, double oversampling);
// Microseconds, 0 to 100000, to idle samples. Unreadable: 0.
std::size_t idle_time_entry(std::optional<double> microseconds, double oversampling);
// Samples shown back as microseconds.
double samples_to_microseconds(std::size_t samples, double oversampling);

// The lowest filter factor of the filter type: 0.1 Gaussian, 0.05 root cosine,
// none (minus infinity) without a filter.
double min_filter_factor(phy::FilterType filter);
// Limited to 1, then to the filter type's lowest value. Unreadable: 1.
double filter_factor_entry(std::optional<double> factor, phy::FilterType filter);

// Symbols rounded to a whole number of samples at the oversampling ratio,
// round(n / r) * r, then limited to 1 to 1000. Unreadable: 1000.
double filter_taps_entry(std::optional<double> symbols, double oversampling);

// Frames per period rounded and limited to 1 to 1000. Unreadable: 1.
std::size_t frames_entry(std::optional<double> frames);

// Payload octets rounded and limited to 0 to 2312. Unreadable: 2312.
std::size_t data_length_entry(std::optional<double> octets);

}  // namespace dot11b::app
