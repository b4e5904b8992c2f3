#pragma once
// The Impairments window's rules for its fields, as the main window's: an
// entry outside the impairment's range is stored at the nearer bound, and one
// that is not a number (nullopt, or NaN) keeps the stored value.

#include <array>
#include <cstdint>
#include <optional>

#include "impairments/impairment_settings.hpp"

namespace dot11b::app {

inline constexpr double kMaxSeed = 4294967295.0;  // the parameter file's Seed range

double impairment_entry(const impairments::ImpairmentField& field, std::optional<double> entry, double stored);
// Rounded to a whole number, then limited to 0 to kMaxSeed.
std::uint64_t seed_entry(std::optional<double> entry, std::uint64_t stored);

// What a field shows while its impairment has never been on: a typical
// setting, in the order of kImpairmentFields (back-off, IQ gain, IQ phase,
// leakage, clock offset, CFO, SNR).
inline constexpr std::array<double, 7> kImpairmentStartValues = {6.0, 0.5, 2.0, -30.0, 20.0, 25e3, 20.0};

}  // namespace dot11b::app
