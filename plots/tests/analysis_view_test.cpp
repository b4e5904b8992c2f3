#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analyzer/report_text.hpp"
#include "plots/analysis_view.hpp"

namespace dot11b::plots {
namespace {

constexpr double kBreak = std::numeric_limits<double>::quiet_NaN();

// Equal point by point, NaN breaks included.
void expect_points(const std::vector<double>& actual, const std::vector<double>& expected, double rate) {
    ASSERT_EQ(actual.size(), expected.size()) << rate;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        if (std::isnan(expected[k])) {
            EXPECT_TRUE(std::isnan(actual[k])) << rate << " point " << k;
        } else {
            EXPECT_DOUBLE_EQ(actual[k], expected[k]) << rate << " point " << k;
        }
    }
}

TEST(AnalysisView, MaskLineFollowsTheTransmitMaskAsFarAsTheSampleRateReaches) {
    // IEEE 802.11-2016 16.3.7.5: -30 dBr from 11 to 22 MHz off the carrier, -50 dBr beyond.
    struct Case {
        double rate;
        std::vector<double> mhz;
        std::vector<double> dbr;
    };
    const Case cases[] = {
        {22e6, {}, {}},  // +-11 MHz: nothing beyond the mask's inner edge
        {38.5e6, {-19.25, -11, kBreak, 11, 19.25}, {-30, -30, kBreak, -30, -30}},
        {44e6, {-22, -11, kBreak, 11, 22}, {-30, -30, kBreak, -30, -30}},
        {88e6, {-44, -22, -22, -11, kBreak, 11, 22, 22, 44}, {-50, -50, -30, -30, kBreak, -30, -30, -50, -50}},
    };
    for (const Case& c : cases) {
        const Polyline line = mask_polyline(analyzer::mask_limits(c.rate));
        expect_points(line.x, c.mhz, c.rate);
        expect_points(line.y, c.dbr, c.rate);
    }
}

analyzer::BurstAnalysis decoded_burst(double worst_margin_db) {
    analyzer::BurstAnalysis burst;
    burst.status = analyzer::DecodeStatus::Decoded;
    burst.mask.limits = analyzer::mask_limits(38.5e6);
    burst.mask.worst_margin_db = worst_margin_db;
    burst.mask.worst_frequency_hz = -12.5e6;
    return burst;
}

TEST(AnalysisView, VerdictNamesWhatFailedAndInWhichBurst) {
    const std::string mask_failure = "spectrum mask exceeded by 1.5 dB at -12.50 MHz";
    struct Case {
        std::vector<analyzer::BurstAnalysis> bursts;
        bool silent;
        std::string verdict;
    };
    const Case cases[] = {
        {{decoded_burst(3)}, false, "PASS"},
        {{decoded_burst(3), decoded_burst(4)}, false, "PASS"},
        {{decoded_burst(-1.5)}, false, "FAIL: " + mask_failure},
        {{decoded_burst(3), decoded_burst(-1.5)}, false, "FAIL: burst 2: " + mask_failure},
        {{}, false, "FAIL: no burst found"},
        {{}, true, "FAIL: no burst found: every sample is zero"},
    };
    for (const Case& c : cases) {
        analyzer::Analysis analysis;
        analysis.sample_rate_hz = 38.5e6;
        analysis.bursts = c.bursts;
        analysis.silent = c.silent;
        const AnalysisView view = analysis_view(analysis, "waveform");
        EXPECT_EQ(view.verdict, c.verdict);
        EXPECT_EQ(view.passed, c.verdict == "PASS") << c.verdict;
        EXPECT_EQ(view.report.substr(0, 9), "waveform:");
    }
}

TEST(AnalysisView, SpectrumInMegahertzOverAtMostAHundredDecibels) {
    analyzer::Analysis analysis;
    analysis.sample_rate_hz = 22e6;
    EXPECT_EQ(analysis_view(analysis, "x").y, (AxisRange{-60, 10}));  // no burst: room for the -50 dBr limit
    EXPECT_EQ(analysis_view(analysis, "x").x, (AxisRange{-11, 11}));

    analysis.bursts.push_back(decoded_burst(3));
    analysis.bursts[0].spectrum.frequency_hz = {-2e6, 0, 1.5e6};
    analysis.bursts[0].spectrum.level_dbr = {-72, 0, -300};
    analysis.bursts.push_back(decoded_burst(3));  // a second burst is in the report only
    const AnalysisView view = analysis_view(analysis, "x");
    EXPECT_EQ(view.spectrum.x, (std::vector<double>{-2, 0, 1.5}));
    EXPECT_EQ(view.spectrum.y, (std::vector<double>{-72, 0, -300}));
    EXPECT_EQ(view.y, (AxisRange{-100, 10}));

    analysis.bursts[0].spectrum.level_dbr = {-72, 0, -75};
    EXPECT_EQ(analysis_view(analysis, "x").y, (AxisRange{-80, 10}));
}

}  // namespace
}  // namespace dot11b::plots
