#include "analyzer/sinc_interpolator.hpp"

#include <array>
#include <cmath>
#include <numbers>

#include "analyzer/vector_lanes.hpp"

namespace dot11b::analyzer {
namespace {

constexpr int kHalfTaps = 8;
constexpr int kTaps = 2 * kHalfTaps;
constexpr int kPhases = 256;
// Kaiser window shape: stop-band attenuation of about 60 dB.
constexpr double kKaiserBeta = 6;

using PhaseTaps = std::array<double, kTaps>;

// Weights of the samples n - 7 ... n + 8 for a position n + p / kPhases, each
// phase normalised to unit DC gain.
std::array<PhaseTaps, kPhases + 1> make_table() {
    std::array<PhaseTaps, kPhases + 1> table{};
    const double norm = std::cyl_bessel_i(0.0, kKaiserBeta);
    for (int p = 0; p <= kPhases; ++p) {
        const double fraction = static_cast<double>(p) / kPhases;
        double sum = 0;
        for (int k = 0; k < kTaps; ++k) {
            const double x = fraction - (k - kHalfTaps + 1);  // distance from sample n - 7 + k
            const double sinc = x == 0 ? 1.0 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
            const double r = x / kHalfTaps;
            const double window =
                std::abs(r) < 1 ? std::cyl_bessel_i(0.0, kKaiserBeta * std::sqrt(1 - r * r)) / norm : 0;
            table[static_cast<std::size_t>(p)][static_cast<std::size_t>(k)] = sinc * window;
            sum += sinc * window;
        }
        for (double& tap : table[static_cast<std::size_t>(p)]) tap /= sum;
    }
    return table;
}

// Each tap twice, once for I and once for Q.
using PairedTaps = std::array<double, 2 * kTaps>;

const std::array<PairedTaps, kPhases + 1>& table() {
    static const auto kTable = [] {
        const auto taps = make_table();
        std::array<PairedTaps, kPhases + 1> paired{};
        for (std::size_t p = 0; p < taps.size(); ++p) {
            for (std::size_t k = 0; k < kTaps; ++k) paired[p][2 * k] = paired[p][2 * k + 1] = taps[p][k];
        }
        return paired;
    }();
    return kTable;
}

// Made before main: the readings below then pass no guard of a static.
const std::array<PairedTaps, kPhases + 1>& kPhaseTaps = table();

// The signal at one position; inlined into both forms of at(), and so
// compiled for each processor they are compiled for.
[[gnu::always_inline]] inline Complex interpolated(SampleSpan samples, double position) {
    const auto count = static_cast<long long>(samples.size());
    if (!(position > -kTaps && position < static_cast<double>(count + kTaps))) return 0;
    const double whole = std::floor(position);
    const auto phase = static_cast<std::size_t>((position - whole) * kPhases + 0.5);
    const PairedTaps& taps = kPhaseTaps[phase];
    const auto first = static_cast<long long>(whole) - (kHalfTaps - 1);
    Complex sum = 0;
    if (first >= 0 && first + kTaps <= count) {
        // Two samples at a time, I and Q of each in the lanes of one vector,
        // in four sums so that the additions do not wait on one another.
        const Complex* x = samples.data() + first;
        TwoLanes s0 = {0, 0, 0, 0}, s1 = s0, s2 = s0, s3 = s0;
        TwoLanes two, weights;
        for (std::size_t k = 0; k < kTaps; k += 8) {
            load(two, x + k);
            load(weights, &taps[2 * k]);
            s0 += two * weights;
            load(two, x + k + 2);
            load(weights, &taps[2 * k + 4]);
            s1 += two * weights;
            load(two, x + k + 4);
            load(weights, &taps[2 * k + 8]);
            s2 += two * weights;
            load(two, x + k + 6);
            load(weights, &taps[2 * k + 12]);
            s3 += two * weights;
        }
        const TwoLanes total = (s0 + s1) + (s2 + s3);
        return sum_of_halves(total);
    }
    for (int k = 0; k < kTaps; ++k) {
        const long long n = first + k;
        if (n >= 0 && n < count) sum += samples[static_cast<std::size_t>(n)] * taps[static_cast<std::size_t>(2 * k)];
    }
    return sum;
}

}  // namespace

DOT11B_WITH_FMA_CLONE
Complex SincInterpolator::at(double position) const { return interpolated(samples_, position); }

DOT11B_WITH_FMA_CLONE
void SincInterpolator::at(std::span<const double> positions, double offset, std::span<Complex> out) const {
    for (std::size_t k = 0; k < positions.size(); ++k) out[k] = interpolated(samples_, positions[k] - offset);
}

}  // namespace dot11b::analyzer
