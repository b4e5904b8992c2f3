#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "analyzer/analysis.hpp"
#include "analyzer/tests/test_waveforms.hpp"
#include "common/errors.hpp"

namespace dot11b::analyzer {
namespace {

TEST(BadInput, RecordingsWithoutAFrameGetAVerdict) {
    Samples noise(40000);
    test::add_noise(noise, 1, 29);
    Samples uniform(40000);
    std::mt19937 random(31);
    std::uniform_real_distribution<double> value(-1, 1);
    for (Complex& x : uniform) x = Complex(value(random), value(random));
    // A burst of noise in silence: a burst without a preamble.
    Samples noise_burst(40000);
    std::copy(noise.begin(), noise.begin() + 8000, noise_burst.begin() + 10000);

    struct Case {
        const char* name;
        Samples samples;
        std::size_t bursts;
        bool silent;
    };
    const std::vector<Case> cases = {
        {"empty", {}, 0, true},
        {"zeros", Samples(40000), 0, true},
        {"white noise", noise, 1, false},
        {"uniform random samples", uniform, 1, false},
        {"noise burst", noise_burst, 1, false},
    };
    for (const Case& c : cases) {
        const Analysis analysis = analyse(c.samples, 22e6);
        EXPECT_EQ(analysis.bursts.size(), c.bursts) << c.name;
        EXPECT_EQ(analysis.silent, c.silent) << c.name;
        EXPECT_FALSE(analysis.passed()) << c.name;
        for (const BurstAnalysis& b : analysis.bursts) {
            EXPECT_EQ(b.status, DecodeStatus::NoPreamble) << c.name;
            EXPECT_EQ(b.failures(), std::vector<std::string>{"no PLCP preamble found (no start frame delimiter)"})
                << c.name;
        }
    }
}

TEST(BadInput, ABurstCutShortIsReportedTruncated) {
    const app::FormatParameters p = test::short_frame(phy::DataRate::Mbps2, 100);
    const test::Waveform w = test::generate(p);
    // The PLCP part lasts 192 us; cut 300 us into the burst, inside the 400 us PSDU.
    const auto cut = static_cast<std::size_t>(300e-6 * w.sample_rate_hz);
    const Samples head(w.samples.begin(), w.samples.begin() + static_cast<std::ptrdiff_t>(cut));
    const Analysis analysis = analyse(head, w.sample_rate_hz);
    ASSERT_EQ(analysis.bursts.size(), 1u);
    const BurstAnalysis& b = analysis.bursts[0];
    EXPECT_EQ(b.status, DecodeStatus::Truncated);
    EXPECT_NE(b.problem.find("before the end of the PSDU its LENGTH announces"), std::string::npos) << b.problem;
    ASSERT_TRUE(b.header);
    EXPECT_EQ(b.header->length, 400);
    EXPECT_FALSE(b.passed());
}

TEST(BadInput, RatesBelowTheChipRateAndSamplesThatAreNotNumbersAreRefused) {
    const Samples samples(100);
    for (const double rate :
         {0.0, 10e6, -22e6, 1e15, 1e300, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        EXPECT_THROW(analyse(samples, rate), ConfigError) << rate;
    }
    // The refused rate as the other tools write numbers, every digit kept.
    try {
        analyse(samples, 10999999.5);
        ADD_FAILURE() << "no error";
    } catch (const ConfigError& e) {
        EXPECT_STREQ(e.what(),
                     "analyse: sample rate 10999999.5 Hz is not allowed; allowed: 11000000 Hz (the chip rate) to 1000000000 Hz");
    }
    Samples corrupt(100);
    corrupt[42] = Complex(0, std::numeric_limits<double>::quiet_NaN());
    try {
        analyse(corrupt, 22e6);
        ADD_FAILURE() << "no error";
    } catch (const ConfigError& e) {
        EXPECT_STREQ(e.what(), "analyse: sample 42 is not a finite number; allowed: finite I and Q values");
    }
}

}  // namespace
}  // namespace dot11b::analyzer
