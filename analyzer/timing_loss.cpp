#include "analyzer/timing_loss.hpp"

#include <cmath>

namespace dot11b::analyzer {
namespace {

constexpr std::size_t kStretchChips = 64;
constexpr double kMostDeviation = 1e-3;

}  // namespace

std::optional<std::size_t> chip_timing_lost(std::span<const double> positions, double samples_per_chip) {
    const double nominal = kStretchChips * samples_per_chip;
    for (std::size_t k = 0; k + kStretchChips < positions.size(); k += kStretchChips / 2) {
        const double span = positions[k + kStretchChips] - positions[k];
        if (std::abs(span - nominal) > kMostDeviation * nominal) return k;
    }
    return std::nullopt;
}

}  // namespace dot11b::analyzer
