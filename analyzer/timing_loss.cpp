#include "analyzer/timing_loss.hpp"

#include <algorithm>
#include <cmath>

namespace dot11b::analyzer {
namespace {

constexpr std::size_t kStretchChips = 64;
constexpr double kMostDeviation = 1e-3;
constexpr double kLeastMatch = 0.5;

}  // namespace

std::optional<std::size_t> chip_timing_lost(std::span<const double> positions, double samples_per_chip) {
    const double nominal = kStretchChips * samples_per_chip;
    for (std::size_t k = 0; k + kStretchChips < positions.size(); k += kStretchChips / 2) {
        const double span = positions[k + kStretchChips] - positions[k];
        if (std::abs(span - nominal) > kMostDeviation * nominal) return k;
    }
    return std::nullopt;
}

std::optional<std::size_t> decisions_lost(SampleSpan received, SampleSpan decided) {
    const std::size_t count = std::min(received.size(), decided.size());
    for (std::size_t k = 0; k + kStretchChips <= count; k += kStretchChips / 2) {
        Complex along = 0;
        double received_power = 0, decided_power = 0;
        for (std::size_t i = k; i < k + kStretchChips; ++i) {
            along += std::conj(decided[i]) * received[i];
            received_power += std::norm(received[i]);
            decided_power += std::norm(decided[i]);
        }
        if (std::norm(along) < kLeastMatch * received_power * decided_power) return k;
    }
    return std::nullopt;
}

}  // namespace dot11b::analyzer
