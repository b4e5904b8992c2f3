#include "plots/chip_views.hpp"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "analyzer/constants.hpp"

namespace dot11b::plots {
namespace {

// Room around the unit ideal points, widened in half units for chips beyond
// them, up to a limit that keeps the ideal points readable despite outliers.
constexpr double kSmallestLimit = 1.5;
constexpr double kLargestLimit = 3;
// Ideal points closer than this are one point.
constexpr double kPointResolution = 1e-6;
// Above the peak limit, so the limit line never sits on the frame.
constexpr double kPercentHeadroom = 10;

}  // namespace

analyzer::ChipErrors first_burst_chips(const analyzer::Analysis& analysis) {
    if (analysis.bursts.empty() || !analysis.bursts.front().chips) return {};
    return *analysis.bursts.front().chips;
}

Constellation constellation(const analyzer::ChipErrors& chips) {
    Constellation view;
    double widest = 0;
    for (const Complex c : chips.received) {
        view.in_phase.push_back(c.real());
        view.quadrature.push_back(c.imag());
        widest = std::max({widest, std::abs(c.real()), std::abs(c.imag())});
    }
    std::set<std::pair<long long, long long>> seen;
    for (const Complex c : chips.ideal) {
        const auto key =
            std::make_pair(std::llround(c.real() / kPointResolution), std::llround(c.imag() / kPointResolution));
        if (!seen.insert(key).second) continue;
        view.ideal_in_phase.push_back(c.real());
        view.ideal_quadrature.push_back(c.imag());
    }
    const double limit = std::clamp(std::ceil(widest * 1.1 * 2) / 2, kSmallestLimit, kLargestLimit);
    view.limits = {-limit, limit};
    return view;
}

ChipEvm chip_evm(const analyzer::ChipErrors& chips) {
    ChipEvm view;
    view.limit_percent = analyzer::kEvmPeakLimit * 100;
    double peak = 0;
    for (std::size_t k = 0; k < chips.error.size(); ++k) {
        view.chip.push_back(static_cast<double>(k));
        view.percent.push_back(chips.error[k] * 100);
        peak = std::max(peak, view.percent.back());
    }
    view.x = {0, static_cast<double>(std::max<std::size_t>(1, chips.error.size()))};
    view.y = {0, std::max(view.limit_percent + kPercentHeadroom, 10 * std::ceil(peak / 10))};
    return view;
}

}  // namespace dot11b::plots
