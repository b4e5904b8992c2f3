#include <gtest/gtest.h>

#include <cmath>

#include "common/errors.hpp"
#include "plots/chip_timing.hpp"

namespace dot11b::plots {
namespace {

TEST(ChipTiming, EyeSpansTheFewestChipsOfWholeSamples) {
    struct Case {
        double rate;
        double samples;
        double chips;
    };
    for (const Case& c : {Case{22e6, 2, 1}, Case{27.5e6, 5, 2}, Case{33e6, 3, 1}, Case{38.5e6, 7, 2}, Case{20e6, 2, 1},
                          Case{11e6, 2, 2}}) {
        const ChipTiming timing = chip_timing(c.rate);
        EXPECT_EQ(timing.samples_per_symbol, c.samples) << c.rate;
        EXPECT_EQ(timing.chips_per_symbol, c.chips) << c.rate;
    }
    EXPECT_EQ(symbol_offset(chip_timing(38.5e6), 0.5), 4);
    EXPECT_EQ(symbol_offset(chip_timing(38.5e6), 1), 6);
}

TEST(ChipTiming, EyeRefusesADelayOutsideOneSymbol) {
    const Samples samples(64, Complex(1, -1));
    for (const double delay : {-0.1, 1.5, std::nan("")}) {
        EXPECT_THROW(chip_eye_diagram(samples, 38.5e6, delay), ConfigError) << delay;
    }
    EXPECT_NO_THROW(chip_eye_diagram(samples, 38.5e6, 1));
}

// Rates that are no recording's would size the eye beyond any memory.
TEST(ChipTiming, EyeRefusesARateOutsideTheToolsRange) {
    const Samples samples(64, Complex(1, -1));
    for (const double rate : {1e15, 1e300, 0.0, -38.5e6, std::nan("")}) {
        EXPECT_THROW(chip_eye_diagram(samples, rate, 0), ConfigError) << rate;
    }
    EXPECT_NO_THROW(chip_eye_diagram(samples, 1e9, 0));
}

}  // namespace
}  // namespace dot11b::plots
