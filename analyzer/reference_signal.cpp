#include "analyzer/reference_signal.hpp"

#include <algorithm>
#include <cmath>

#include "analyzer/complex_product.hpp"
#include "analyzer/sinc_interpolator.hpp"

namespace dot11b::analyzer {
namespace {

// The interpolator reads 8 samples either side of a position.
constexpr double kInterpolatorReach = 9;

}  // namespace

std::size_t reference_reach_chips(const PulseTable& pulse, double samples_per_chip) {
    return static_cast<std::size_t>(std::ceil(pulse.half_span() + kInterpolatorReach / samples_per_chip)) + 1;
}

void reference_samples(const PulseTable& pulse, SampleSpan ideal, const ChipLine& line, double begin, double end,
                       Samples& out) {
    out.resize(static_cast<std::size_t>(std::max(0.0, end - begin)));
    pulse.render(ideal, line.first, line.period, begin, out);
}

ReferenceChips reference_chips(const PulseTable& pulse, SampleSpan ideal, const ChipLine& line,
                               std::span<const double> positions, std::size_t from, std::size_t to, Samples& scratch) {
    ReferenceChips out;
    if (to <= from) return out;
    const double begin = std::floor(positions[from] - kInterpolatorReach);
    const double end = std::ceil(positions[to - 1] + kInterpolatorReach) + 1;
    reference_samples(pulse, ideal, line, begin, end, scratch);
    const Samples& signal = scratch;
    double power = 0;
    std::size_t count = 0;
    for (double n = std::ceil(positions[from]); n <= positions[to - 1]; ++n, ++count) {
        power += magnitude_squared(signal[static_cast<std::size_t>(n - begin)]);
    }
    out.sample_power = count ? power / static_cast<double>(count) : 0;
    const SincInterpolator interpolator(signal);
    out.chips.resize(to - from);
    interpolator.at(positions.subspan(from, to - from), begin, out.chips);
    return out;
}

}  // namespace dot11b::analyzer
