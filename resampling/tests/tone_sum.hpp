#pragma once
// Test signals for the resampler: periodic band-limited sums of tones whose
// value at any real instant is known exactly, independently of any filter,
// and how far the resampler's outputs lie from those values.

#include <cmath>
#include <random>
#include <vector>

#include "common/types.hpp"
#include "resampling/periodic_resampler.hpp"

namespace dot11b::resampling::test {

// A periodic band-limited signal as a sum of tones on whole cycles per period:
// its value at any real instant is known exactly, independently of any filter.
struct ToneSum {
    std::size_t period;
    std::vector<int> cycles;
    std::vector<Complex> amplitudes;

    Complex at(double instant) const {
        Complex sum;
        for (std::size_t k = 0; k < cycles.size(); ++k) {
            sum += amplitudes[k] * std::polar(1.0, 2.0 * M_PI * cycles[k] * instant / static_cast<double>(period));
        }
        return sum;
    }
    Samples samples() const {
        Samples x(period);
        for (std::size_t n = 0; n < period; ++n) x[n] = at(static_cast<double>(n));
        return x;
    }
};

// Random tones of unit power in total, between `low` and `high` (cycles per
// input sample, either sign).
inline ToneSum random_tones(std::size_t period, double low, double high, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> band(low, high);
    std::uniform_real_distribution<double> phase(0.0, 2.0 * M_PI);
    ToneSum tones{period, {}, {}};
    const int count = 12;
    for (int k = 0; k < count; ++k) {
        const int sign = k % 2 == 0 ? 1 : -1;
        tones.cycles.push_back(sign * static_cast<int>(std::lround(band(random) * static_cast<double>(period))));
        tones.amplitudes.push_back(std::polar(1.0 / std::sqrt(count), phase(random)));
    }
    return tones;
}

// A resampling against the exact tones: `count` outputs `step` input samples
// apart from `first`, with these options.
struct ResamplingCase {
    double step;
    std::size_t period;
    double first;
    ResamplerOptions options = {};
};

// The mean power of the outputs' errors against the tones' exact values, in dB.
inline double resampling_error_db(const ToneSum& tones, const ResamplingCase& c, std::size_t count) {
    const Samples out = resample_periodic(tones.samples(), c.step, count, c.first, c.options);
    double error = 0.0;
    for (std::size_t k = 0; k < count; ++k) {
        error += std::norm(out[k] - tones.at(c.first + static_cast<double>(k) * c.step));
    }
    return 10.0 * std::log10(error / static_cast<double>(count));
}

}  // namespace dot11b::resampling::test
