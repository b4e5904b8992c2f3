#include <gtest/gtest.h>

#include <cmath>

#include "analyzer/analysis.hpp"
#include "analyzer/tests/test_waveforms.hpp"

namespace dot11b::analyzer {
namespace {

using phy::DataRate;

// The generator's chips, one value per chip: every other sample of an
// unfiltered waveform at 2 samples per chip.
struct Chips {
    Samples values;
    std::vector<std::uint8_t> psdu;
};

Chips chips_of(DataRate rate, std::size_t octets) {
    app::FormatParameters p = test::short_frame(rate, octets, 2);
    p.filter = phy::FilterType::None;
    const test::Waveform w = test::generate(p);
    Chips out{Samples(w.samples.size() / 2), w.psdu};
    for (std::size_t k = 0; k < out.values.size(); ++k) out.values[k] = w.samples[2 * k];
    return out;
}

void expect_read(const Analysis& a, const Chips& chips, double clock_ppm, double tolerance_ppm) {
    ASSERT_EQ(a.bursts.size(), 1u);
    const BurstAnalysis& b = a.bursts[0];
    ASSERT_EQ(b.status, DecodeStatus::Decoded) << b.problem;
    EXPECT_EQ(b.psdu, chips.psdu);
    ASSERT_TRUE(b.frequency);
    EXPECT_NEAR(b.frequency->chip_clock_offset_ppm, clock_ppm, tolerance_ppm);
}

TEST(TimingRobustness, OneSamplePerChipFollowsClockOffsetsAndFractionalDelays) {
    struct Case {
        DataRate rate;
        std::size_t octets;
        double roll_off;  // raised cosine
        double ppm;
        double delay_chips;
        double tolerance_ppm;
    };
    // At one sample per chip the pulse's excess band is folded onto the signal,
    // which biases the clock read from a CCK frame's preamble.
    const std::vector<Case> cases = {
        {DataRate::Mbps11, 1500, 0.22, 25, 0, 20},     {DataRate::Mbps11, 1500, 0.22, 50, 0.3, 20},
        {DataRate::Mbps11, 1500, 0.22, -50, 0.5, 20},  {DataRate::Mbps5_5, 600, 0.5, -30, 0.8, 20},
        {DataRate::Mbps1, 400, 0.22, 50, 0.3, 2},      {DataRate::Mbps2, 400, 0.5, -50, 0.7, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(phy::rate_in_100kbps(c.rate)) + " at " + std::to_string(c.ppm) + " ppm");
        const Chips chips = chips_of(c.rate, c.octets);
        const Samples x = test::raised_cosine_chips(chips.values, c.roll_off, 1, c.ppm, c.delay_chips);
        expect_read(analyse(x, 11e6), chips, c.ppm, c.tolerance_ppm);
    }
}

TEST(TimingRobustness, SteepSpectraKeepTheChipTiming) {
    struct Case {
        DataRate rate;
        std::size_t octets;
        double roll_off;
        double samples_per_chip;
        double ppm;
        double delay_chips;
    };
    const std::vector<Case> cases = {
        {DataRate::Mbps11, 1500, 0, 2, 20, 0.3},    {DataRate::Mbps11, 1500, 0.05, 2, -20, 0.5},
        {DataRate::Mbps11, 1500, 0.1, 2.5, 20, 0.6}, {DataRate::Mbps5_5, 500, 0, 3, 10, 0.25},
        {DataRate::Mbps1, 200, 0, 2, -10, 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.roll_off) + " roll-off at " + std::to_string(c.samples_per_chip));
        const Chips chips = chips_of(c.rate, c.octets);
        const Samples x =
            test::raised_cosine_chips(chips.values, c.roll_off, c.samples_per_chip, c.ppm, c.delay_chips);
        expect_read(analyse(x, 11e6 * c.samples_per_chip), chips, c.ppm, 1);
    }
    // The ideal band-limited interpolation of the chips: no excess band at all.
    for (const double samples_per_chip : {2.0, 3.0}) {
        const Chips chips = chips_of(DataRate::Mbps11, 1500);
        const auto count = static_cast<std::size_t>(static_cast<double>(chips.values.size()) * samples_per_chip);
        expect_read(analyse(test::resample_period(chips.values, count), 11e6 * samples_per_chip), chips, 0, 1);
    }
}

}  // namespace
}  // namespace dot11b::analyzer
