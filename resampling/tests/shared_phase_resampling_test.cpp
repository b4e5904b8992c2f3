// Near a step of one, consecutive outputs share one grid point's taps, and
// a period can be resampled in its own storage: both must keep the
// resampler's accuracy and values.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "resampling/periodic_resampler.hpp"
#include "resampling/tests/tone_sum.hpp"

namespace dot11b::resampling {
namespace {

using test::random_tones;

// The clock offset's filter at 3.5 samples a chip: flat to 13 MHz of 19.25.
constexpr double kChipBand = 13.0 / 19.25;

TEST(SharedPhaseResampling, MatchesTheBandLimitedSignalForEveryGroupOfOutputs) {
    const test::ResamplingCase kCases[] = {
        {1.0 + 1e-4, 3000, 2990.5},  // thirty-two outputs a grid point, across the seam
        {1.0 - 3e-4, 3000, 0.0},     // sixteen
        {1.0 + 6e-4, 3000, 1500.0},  // eight
        {1.0 - 6e-4, 2000, 1999.0},
        {1.0 + 2e-5, 37, 0.0},  // period shorter than the filter: the window wraps more than once
        {1.0 + 2e-5, 4000, 0.0, {.passband = kChipBand, .stopband = 2.0 - kChipBand}},
        {1.0 - 1e-4, 4000, 3999.9, {.passband = kChipBand, .stopband = 2.0 - kChipBand}},
    };
    for (const auto& c : kCases) {
        const test::ToneSum tones = random_tones(c.period, 0, 0.5 * c.options.passband, 11);
        EXPECT_LT(test::resampling_error_db(tones, c, 3 * c.period), -80.0)
            << "step " << c.step << ", period " << c.period;
    }
}

TEST(SharedPhaseResampling, InPlaceGivesTheValuesOfANewBuffer) {
    const struct {
        double step;
        std::size_t period;
        ResamplerOptions options = {};
    } kCases[] = {
        {1.0 + 2e-5, 20000, {.passband = kChipBand, .stopband = 2.0 - kChipBand}},
        {1.0 + 3e-4, 9001},
        {1.0 + 6e-4, 5000},
        {1.0 + 1e-3, 5000},  // each output its own grid point
        {2.5, 5000},         // decimating
        {1.0, 3000},
        {1.0 - 1e-4, 3000},  // longer than the period: outputs past its end
        {1.01, 40},          // the filter spans the period: a new buffer
        // Below one, back to front: the first block reads the period's end
        // from before the seam, the last its start from past it.
        {1.0 - 2e-5, 20000, {.passband = kChipBand, .stopband = 2.0 - kChipBand}},
        {1.0 - 2e-5, 100000, {.passband = kChipBand, .stopband = 2.0 - kChipBand}},  // many blocks
        {1.0 - 3e-4, 9001},
        {1.0 - 1e-3, 50000},  // each output its own grid point
        {1.0 - 1e-3, 200000},  // outputs lag their inputs by more than the windows overlap
        {0.4, 30000},         // interpolating: each block reads far behind its outputs
        {0.99, 40},           // the filter spans the period: a new buffer
    };
    for (const auto& c : kCases) {
        const Samples period = random_tones(c.period, 0, 0.4 * std::min(1.0, 1.0 / c.step), 5).samples();
        const PeriodicResampler resampler(c.step, c.options);
        // The clock offset's length, rounded up to even: the last outputs read
        // past the seam.
        const auto length = static_cast<std::size_t>(std::ceil(static_cast<double>(c.period) / c.step / 2.0)) * 2;
        Samples expected(length);
        resampler.resample(period, 0.0, expected);
        // With room for the outputs, and without (the vector grows).
        for (const bool room : {true, false}) {
            Samples in_place = period;
            if (room) in_place.reserve(length);
            resampler.resample_in_place(in_place, length);
            EXPECT_EQ(in_place, expected) << "step " << c.step << ", period " << c.period << ", room " << room;
        }
    }
}

}  // namespace
}  // namespace dot11b::resampling
