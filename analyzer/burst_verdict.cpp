// The checks a burst must pass, with the standard's limits.

#include <cmath>
#include <cstdio>

#include "analyzer/analysis.hpp"
#include "analyzer/constants.hpp"

namespace dot11b::analyzer {
namespace {

std::string formatted(const char* pattern, double a, double b = 0) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

}  // namespace

std::vector<std::string> BurstAnalysis::failures() const {
    std::vector<std::string> failed;
    if (status != DecodeStatus::Decoded) {
        failed.push_back(problem);
        return failed;
    }
    if (mirrored) failed.emplace_back("spectrum mirrored: the frame decodes only conjugated");
    if (fcs == FcsStatus::Invalid) failed.emplace_back("FCS error");
    if (evm && !evm->passed()) {
        failed.push_back(
            formatted("EVM peak %.1f %% above the %.0f %% limit", 100 * evm->overall.peak, 100 * kEvmPeakLimit));
    }
    if (accuracy && accuracy->leakage_dbc > kCarrierSuppressionDb) {
        failed.push_back(formatted("carrier leakage %.1f dBc above the %.0f dB carrier suppression limit",
                                   accuracy->leakage_dbc, kCarrierSuppressionDb));
    }
    if (frequency) {
        if (std::abs(frequency->carrier_offset_ppm) > kFrequencyTolerancePpm) {
            failed.push_back(formatted("carrier frequency offset %.1f ppm outside +-%.0f ppm",
                                       frequency->carrier_offset_ppm, kFrequencyTolerancePpm));
        }
        if (std::abs(frequency->chip_clock_offset_ppm) > kFrequencyTolerancePpm) {
            failed.push_back(formatted("chip clock offset %.1f ppm outside +-%.0f ppm",
                                       frequency->chip_clock_offset_ppm, kFrequencyTolerancePpm));
        }
        const double apart = std::abs(frequency->carrier_offset_ppm - frequency->chip_clock_offset_ppm);
        if (header && header->locked_clocks() && apart > kLockedClocksTolerancePpm) {
            failed.push_back(formatted("locked clocks claimed, but the carrier and chip clock offsets are %.1f ppm "
                                       "apart (limit %.0f ppm)",
                                       apart, kLockedClocksTolerancePpm));
        }
    }
    if (ramps.power_on_s && *ramps.power_on_s > kRampLimitSeconds) {
        failed.push_back(
            formatted("power-on ramp %.2f us above %.0f us", *ramps.power_on_s * 1e6, kRampLimitSeconds * 1e6));
    }
    if (ramps.power_down_s && *ramps.power_down_s > kRampLimitSeconds) {
        failed.push_back(
            formatted("power-down ramp %.2f us above %.0f us", *ramps.power_down_s * 1e6, kRampLimitSeconds * 1e6));
    }
    if (mask.checked() && !mask.passed()) {
        failed.push_back(formatted("spectrum mask exceeded by %.1f dB at %.2f MHz", -mask.worst_margin_db,
                                   mask.worst_frequency_hz / 1e6));
    }
    return failed;
}

}  // namespace dot11b::analyzer
