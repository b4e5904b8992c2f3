#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analyzer/analysis.hpp"
#include "analyzer/tests/test_waveforms.hpp"

namespace dot11b::analyzer {
namespace {

using phy::DataRate;

void expect_decoded(const Analysis& analysis, const test::Waveform& w) {
    ASSERT_EQ(analysis.bursts.size(), 1u);
    const BurstAnalysis& b = analysis.bursts[0];
    ASSERT_EQ(b.status, DecodeStatus::Decoded) << b.problem;
    EXPECT_EQ(b.psdu, w.psdu);
    ASSERT_TRUE(b.frequency);
    ASSERT_TRUE(b.evm);
}

TEST(Impairments, CarrierOffsetAndPhaseAreMeasuredAndRemoved) {
    struct Case {
        DataRate rate;
        phy::PreambleType preamble;
        double offset_hz;
        double phase;
    };
    const std::vector<Case> cases = {
        {DataRate::Mbps11, phy::PreambleType::Short, -100e3, 0.3},
        {DataRate::Mbps2, phy::PreambleType::Short, 100e3, 2.5},
        {DataRate::Mbps5_5, phy::PreambleType::Long, 37e3, -1.9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset_hz);
        app::FormatParameters p = test::short_frame(c.rate, 100);
        p.preamble = c.preamble;
        p.modulation = phy::Modulation::Pbcc;
        const test::Waveform w = test::generate(p);
        Samples x = w.samples;
        test::turn(x, w.sample_rate_hz, c.offset_hz, c.phase);
        const Analysis analysis = analyse(x, w.sample_rate_hz);
        expect_decoded(analysis, w);
        const BurstAnalysis& b = analysis.bursts[0];
        EXPECT_NEAR(b.frequency->carrier_offset_hz, c.offset_hz, 20);
        EXPECT_NEAR(b.frequency->carrier_offset_ppm, c.offset_hz / 2412e6 * 1e6, 0.01);
        EXPECT_LT(b.evm->overall.rms, 0.06);
    }
}

TEST(Impairments, ChipClockOffsetIsTrackedThroughLongFrames) {
    // Playing a period of n samples in m samples stretches the chips by m / n: the
    // chip rate is off by n / m - 1. 1 Mbit/s frames drift by several chips.
    for (const DataRate rate : {DataRate::Mbps1, DataRate::Mbps11}) {
        const test::Waveform w = test::generate(test::short_frame(rate, rate == DataRate::Mbps1 ? 400 : 2000, 2));
        const double n = static_cast<double>(w.samples.size());
        for (const double ppm : {50.0, -50.0}) {
            SCOPED_TRACE(std::to_string(ppm) + " ppm at " + std::to_string(phy::rate_in_100kbps(rate)));
            const auto m = static_cast<std::size_t>(std::lround(n / (1 + ppm * 1e-6)));
            const Analysis analysis = analyse(test::resample_period(w.samples, m), w.sample_rate_hz);
            expect_decoded(analysis, w);
            EXPECT_NEAR(analysis.bursts[0].frequency->chip_clock_offset_ppm, (n / static_cast<double>(m) - 1) * 1e6, 2);
        }
    }
}

TEST(Impairments, EvmFollowsTheSignalToNoiseRatio) {
    struct Case {
        DataRate rate;
        double snr_db;
    };
    const std::vector<Case> cases = {{DataRate::Mbps1, 10}, {DataRate::Mbps2, 10}, {DataRate::Mbps11, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(phy::rate_in_100kbps(c.rate));
        // The EVM refers to the burst's mean power over its samples, as the noise does.
        app::FormatParameters p = test::short_frame(c.rate, 200, 3);
        p.filter_taps = 7;
        const test::Waveform w = test::generate(p);
        const std::size_t burst_end = w.samples.size() - p.idle_samples;
        const double burst_power = test::chip_instant_power(w.samples, 1, 3 * 50, burst_end - 3 * 50);
        Samples x = w.samples;
        test::add_noise(x, burst_power * std::pow(10, -c.snr_db / 10), 17);
        const Analysis analysis = analyse(x, w.sample_rate_hz);
        expect_decoded(analysis, w);
        // Noise of 1 / SNR of the signal's power: an error vector of 1 / sqrt(SNR), -SNR in dB.
        EXPECT_NEAR(to_db(analysis.bursts[0].evm->overall.rms), -c.snr_db, 1.0);
    }
}

TEST(Impairments, ACaptureResampledTo20MHzDecodes) {
    // 22 MHz (oversampling 2) to 20 MHz needs a period of a multiple of 11 samples.
    app::FormatParameters p = test::short_frame(DataRate::Mbps11, 100, 2);
    test::Waveform w = test::generate(p);
    p.idle_samples += 11 - w.samples.size() % 11;
    w = test::generate(p);
    const Samples x = test::resample_period(w.samples, w.samples.size() / 11 * 10);
    const Analysis analysis = analyse(x, 20e6);
    expect_decoded(analysis, w);
    EXPECT_LT(analysis.bursts[0].evm->overall.rms, 0.06);
    EXPECT_NEAR(analysis.bursts[0].frequency->chip_clock_offset_ppm, 0, 2);
    EXPECT_FALSE(analysis.bursts[0].mask.checked());  // +-10 MHz lies inside the mask's 11 MHz edge
}

TEST(Impairments, EveryBurstOfARecordingStartingInTheIdleIntervalDecodes) {
    app::FormatParameters p = test::short_frame(DataRate::Mbps5_5, 50);
    p.preamble = phy::PreambleType::Short;
    const test::Waveform w = test::generate(p);
    std::mt19937 random(23);
    const std::size_t idle_start = w.samples.size() - p.idle_samples;
    const std::size_t start = idle_start + random() % p.idle_samples;
    Samples x;
    for (int period = 0; period < 4; ++period) x.insert(x.end(), w.samples.begin(), w.samples.end());
    x.erase(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(start));
    x.resize(3 * w.samples.size());

    const Analysis analysis = analyse(x, w.sample_rate_hz);
    ASSERT_EQ(analysis.bursts.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        const BurstAnalysis& b = analysis.bursts[k];
        EXPECT_TRUE(b.passed()) << k << ": " << b.failures().front();
        EXPECT_EQ(b.psdu, w.psdu) << k;
        // Burst k begins at its period's first sample, less the 1 us margin.
        const std::size_t begins = (k + 1) * w.samples.size() - start;
        EXPECT_LE(b.first_sample, begins) << k;
        EXPECT_GE(b.first_sample + 2 * 39, begins) << k;
    }
}

}  // namespace
}  // namespace dot11b::analyzer
