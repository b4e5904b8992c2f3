#include "sdr/rate_choice.hpp"

#include <gtest/gtest.h>

#include "common/errors.hpp"

namespace dot11b::sdr {
namespace {

std::vector<RateRange> discrete(std::initializer_list<double> rates) {
    std::vector<RateRange> ranges;
    for (double r : rates) ranges.push_back({r, r, 0});
    return ranges;
}

TEST(RateChoice, PlayRateFollowsTheDefaultRules) {
    struct Case {
        const char* name;
        std::vector<RateRange> offered;
        double waveform;
        double expected;
        bool band_cut;
    };
    const std::vector<Case> cases = {
        {"own rate offered", discrete({20e6, 38.5e6, 40e6}), 38.5e6, 38.5e6, false},
        {"lowest above", discrete({50e6, 40e6, 20e6}), 38.5e6, 40e6, false},
        {"continuous range holds it", {{2e6, 20e6, 0}, {30e6, 61.44e6, 0}}, 38.5e6, 38.5e6, false},
        {"stepped range rounds up", {{1e6, 60e6, 4e6}}, 38.5e6, 41e6, false},
        {"highest of at least 11 MHz, cut", discrete({8e6, 12e6, 20e6}), 38.5e6, 20e6, true},
        {"exactly 11 MHz, cut", discrete({2e6, 11e6}), 22e6, 11e6, true},
    };
    for (const Case& c : cases) {
        const RateChoice choice = choose_play_rate(c.offered, c.waveform, std::nullopt);
        // Asked for, the same rate is the one played, with the same note.
        const RateChoice requested = choose_play_rate(c.offered, c.waveform, c.expected);
        EXPECT_DOUBLE_EQ(requested.rate, c.expected) << c.name;
        EXPECT_EQ(requested.note.has_value(), c.band_cut) << c.name;
        EXPECT_DOUBLE_EQ(choice.rate, c.expected) << c.name;
        EXPECT_EQ(choice.note.has_value(), c.band_cut) << c.name;
        if (choice.note) {
            EXPECT_NE(choice.note->find("cut"), std::string::npos) << c.name;
        }
    }
}

TEST(RateChoice, CaptureRatePrefersTwoSamplesPerChip) {
    EXPECT_DOUBLE_EQ(choose_capture_rate(discrete({10e6, 20e6, 25e6, 40e6}), std::nullopt).rate, 25e6);
    EXPECT_DOUBLE_EQ(choose_capture_rate({{1e6, 61.44e6, 0}}, std::nullopt).rate, 22e6);
    EXPECT_DOUBLE_EQ(choose_capture_rate(discrete({5e6, 12e6, 20e6}), std::nullopt).rate, 20e6);
    EXPECT_DOUBLE_EQ(choose_capture_rate(discrete({20e6, 40e6}), 40e6).rate, 40e6);
}

TEST(RateChoice, RefusesRatesThatCannotCarryTheChips) {
    struct Case {
        const char* name;
        std::vector<RateRange> offered;
        std::optional<double> requested;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"nothing at 11 MHz", discrete({2e6, 8e6, 10e6}), std::nullopt, "no sample rate of 11 MHz"},
        {"no rate at all", {}, std::nullopt, "offers no sample rate"},
        {"request below 11 MHz", discrete({8e6, 20e6}), 8e6, "--sdr-rate 8000000 Hz is below 11 MHz"},
        {"request not offered", discrete({20e6, 40e6}), 30e6, "not offered by the device; it offers 20 MHz, 40 MHz"},
        {"request off the step", {{1e6, 60e6, 4e6}}, 39e6, "in steps of 4000000 Hz"},
    };
    for (const Case& c : cases) {
        for (const bool play : {true, false}) {
            try {
                if (play) {
                    choose_play_rate(c.offered, 22e6, c.requested);
                } else {
                    choose_capture_rate(c.offered, c.requested);
                }
                ADD_FAILURE() << c.name << ": accepted";
            } catch (const ConfigError& e) {
                EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << c.name << ": " << e.what();
            }
        }
    }
}

}  // namespace
}  // namespace dot11b::sdr
