#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "app/entry_rules.hpp"

namespace dot11b::app {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(EntryRules, MicrosecondEntriesRoundToSamplesAndClampToTheirRanges) {
    struct Case {
        std::optional<double> microseconds;
        double oversampling;
        std::size_t ramp;
        std::size_t idle;
    };
    // 11 Mchip/s x oversampling samples per microsecond.
    const Case cases[] = {
        {2, 3.5, 77, 77},        // the default ramp: 2 us at 38.5 MHz
        {100, 3.5, 3850, 3850},  // the default idle interval
        {100, 2, 2200, 2200},
        {0.1, 2.5, 3, 3},  // 2.75 samples round half away from zero
        {-5, 3, 0, 0},
        {5000, 2, 22000, 110000},  // the ramp stops at 1000 us, the idle time at 100000 us
        {1e6, 3.5, 38500, 3850000},
        {kInf, 2, 22000, 2200000},
        {std::nullopt, 3.5, 0, 0},  // unreadable entries end at 0
        {kNan, 3.5, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ramp_time_entry(c.microseconds, c.oversampling), c.ramp) << c.microseconds.value_or(-1);
        EXPECT_EQ(idle_time_entry(c.microseconds, c.oversampling), c.idle) << c.microseconds.value_or(-1);
    }
    EXPECT_DOUBLE_EQ(samples_to_microseconds(3850, 3.5), 100);
    EXPECT_DOUBLE_EQ(samples_to_microseconds(2200, 2), 100);
}

TEST(EntryRules, FilterFactorIsLimitedPerFilterType) {
    struct Case {
        std::optional<double> entry;
        phy::FilterType filter;
        double stored;
    };
    const Case cases[] = {
        {0.01, phy::FilterType::Gaussian, 0.1}, {0.01, phy::FilterType::RootCosine, 0.05},
        {0.01, phy::FilterType::None, 0.01},  // no lower bound without a filter
        {-3, phy::FilterType::None, -3},        {0.35, phy::FilterType::RootCosine, 0.35},
        {7, phy::FilterType::Gaussian, 1},      {std::nullopt, phy::FilterType::Gaussian, 1},
        {kNan, phy::FilterType::RootCosine, 1},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(filter_factor_entry(c.entry, c.filter), c.stored) << c.entry.value_or(-1);
    }
}

TEST(EntryRules, FilterTapsBecomeWholeSamplesWithinOneToThousandSymbols) {
    struct Case {
        std::optional<double> entry;
        double oversampling;
        double stored;
    };
    const Case cases[] = {
        {6, 3.5, 7},                   // round(6 / 3.5) x 3.5
        {6, 2, 6},       {6, 2.5, 5},  // round(2.4) x 2.5
        {0.5, 3.5, 1},                 // rounds to 0, then raised to 1
        {5000, 3, 1000}, {std::nullopt, 2, 1000},
        {kNan, 2, 1000},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(filter_taps_entry(c.entry, c.oversampling), c.stored) << c.entry.value_or(-1);
    }
}

TEST(EntryRules, DataLengthIsRoundedAndLimitedToTheLargestPayload) {
    EXPECT_EQ(data_length_entry(1024), 1024U);
    EXPECT_EQ(data_length_entry(10.5), 11U);
    EXPECT_EQ(data_length_entry(3000), 2312U);
    EXPECT_EQ(data_length_entry(-4), 0U);
    EXPECT_EQ(data_length_entry(std::nullopt), 2312U);
    EXPECT_EQ(data_length_entry(kNan), 2312U);
}

}  // namespace
}  // namespace dot11b::app
