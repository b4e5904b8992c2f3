#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "common/errors.hpp"
#include "resampling/periodic_resampler.hpp"
#include "resampling/tests/tone_sum.hpp"

namespace dot11b::resampling {
namespace {

using test::random_tones;
using test::ToneSum;

double power_db(const Samples& x) {
    double sum = 0.0;
    for (const Complex& v : x) sum += std::norm(v);
    return 10.0 * std::log10(sum / static_cast<double>(x.size()));
}

TEST(PeriodicResampler, MatchesTheBandLimitedSignalAtEveryInstantAcrossTheSeam) {
    const test::ResamplingCase kCases[] = {
        {1.0 + 1e-3, 2000, 0.0},      // clock running fast by 1000 ppm
        {1.0 - 1e-3, 2000, 1990.25},  // slow, starting just before the seam
        {1.0 + 1e-7, 1500, -3.5},     // 0.1 ppm
        {1.0, 1000, 0.5},             // pure half-sample delay
        {0.3711, 999, 17.0},          // interpolating
        {2.7183, 3000, 2999.9},       // decimating
        {22.0 / 3.0, 4000, 5.0},      // decimating strongly
        {1.01, 40, 0.0},              // period shorter than the filter
        // A narrow pass band with the stop band beyond the Nyquist frequency.
        {1.0 + 1e-3, 2000, 1999.5, {.passband = 0.6, .stopband = 1.4}},
        {1.0 - 4e-4, 3000, 0.0, {.passband = 0.3, .stopband = 1.7}},
    };
    for (const auto& c : kCases) {
        const double nyquist = 0.5 * std::min(1.0, 1.0 / c.step);
        const ToneSum tones = random_tones(c.period, 0.0, c.options.passband * nyquist, 7);
        const double error_db = test::resampling_error_db(tones, c, 2 * c.period);
        EXPECT_LT(error_db, -80.0) << "step " << c.step << " " << error_db << ", period " << c.period;
    }
}

TEST(PeriodicResampler, StopsWhatWouldAliasWhenDecimating) {
    for (double step : {1.25, 3.0, 10.5}) {
        const std::size_t period = 4096;
        const double stop_edge = 0.5 / step;
        // Tones from the stop edge to the input's Nyquist frequency.
        const ToneSum tones = random_tones(period, stop_edge, 0.5, 3);
        const Samples out = resample_periodic(tones.samples(), step, 1000, 0.25);
        EXPECT_LT(power_db(out), -80.0) << "step " << step << " " << power_db(out);
    }
}

TEST(PeriodicResampler, RefusesBadSettings) {
    const Samples one = {Complex(1.0, 0.0)};
    const struct {
        double step;
        ResamplerOptions options;
    } kBad[] = {{0.0, {}}, {-1.0, {}}, {NAN, {}}, {INFINITY, {}}, {1.0, {.passband = 1.0}},
                {1.0, {.passband = 0.0}}, {1.0, {.passband = 0.5, .attenuation_db = 20.0}},
                {1.0, {.stopband = 0.9}}, {1.0, {.passband = 0.5, .stopband = 1.6}}};
    for (const auto& c : kBad) EXPECT_THROW((PeriodicResampler{c.step, c.options}), ConfigError) << c.step;
    EXPECT_THROW(resample_periodic(Samples{}, 1.0, 4), ConfigError);
    EXPECT_EQ(resample_periodic(one, 1.5, 3).size(), 3U);
}

}  // namespace
}  // namespace dot11b::resampling
