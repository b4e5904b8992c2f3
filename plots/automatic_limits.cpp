#include "plots/automatic_limits.hpp"

#include <array>
#include <cmath>

namespace dot11b::plots {
namespace {

constexpr double kMostSteps = 10;
// A bound that lies on a tick but misses it by rounding stays on that tick.
constexpr double kOnTick = 1e-9;

double tick_step(double span) {
    const double least = span / kMostSteps;
    const double decade = std::pow(10.0, std::floor(std::log10(least)));
    for (const double mantissa : std::array{1.0, 2.0, 5.0}) {
        if (mantissa * decade >= least) return mantissa * decade;
    }
    return 10 * decade;
}

}  // namespace

AxisRange automatic_limits(AxisRange data) {
    if (!std::isfinite(data.lower) || !std::isfinite(data.upper) || data.upper < data.lower) return data;
    const double span = data.upper - data.lower;
    if (span == 0) return {data.lower - 1, data.upper + 1};
    const double step = tick_step(span);
    return {std::floor(data.lower / step + kOnTick) * step, std::ceil(data.upper / step - kOnTick) * step};
}

}  // namespace dot11b::plots
