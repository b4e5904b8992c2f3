#include "analyzer/sinc_interpolator.hpp"

#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

namespace dot11b::analyzer {
namespace {

constexpr int kHalfTaps = 8;
constexpr int kTaps = 2 * kHalfTaps;
constexpr int kPhases = 256;
// Kaiser window shape: stop-band attenuation of about 60 dB.
constexpr double kKaiserBeta = 6;

using PhaseTaps = std::array<double, kTaps>;

// I and Q of a sample, worked on together.
using Lanes = double __attribute__((vector_size(16)));

Lanes lanes(Complex x) {
    Lanes out;
    std::memcpy(&out, &x, sizeof out);
    return out;
}

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

const std::array<PhaseTaps, kPhases + 1>& table() {
    static const auto kTable = make_table();
    return kTable;
}

}  // namespace

Complex SincInterpolator::at(double position) const {
    const auto count = static_cast<long long>(samples_.size());
    if (!(position > -kTaps && position < static_cast<double>(count + kTaps))) return 0;
    const double whole = std::floor(position);
    const auto phase = static_cast<std::size_t>((position - whole) * kPhases + 0.5);
    const PhaseTaps& taps = table()[phase];
    const auto first = static_cast<long long>(whole) - (kHalfTaps - 1);
    Complex sum = 0;
    if (first >= 0 && first + kTaps <= count) {
        // Each sample's I and Q as the two lanes of one vector times the tap,
        // in four sums so that the additions do not wait on one another.
        const Complex* x = samples_.data() + first;
        Lanes s0 = {0, 0}, s1 = {0, 0}, s2 = {0, 0}, s3 = {0, 0};
        for (std::size_t k = 0; k < kTaps; k += 4) {
            s0 += lanes(x[k]) * taps[k];
            s1 += lanes(x[k + 1]) * taps[k + 1];
            s2 += lanes(x[k + 2]) * taps[k + 2];
            s3 += lanes(x[k + 3]) * taps[k + 3];
        }
        const Lanes total = (s0 + s1) + (s2 + s3);
        return {total[0], total[1]};
    }
    for (int k = 0; k < kTaps; ++k) {
        const long long n = first + k;
        if (n >= 0 && n < count) sum += samples_[static_cast<std::size_t>(n)] * taps[static_cast<std::size_t>(k)];
    }
    return sum;
}

}  // namespace dot11b::analyzer
