#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analyzer/analysis.hpp"
#include "analyzer/carrier_offset.hpp"
#include "analyzer/evm.hpp"
#include "analyzer/tests/test_waveforms.hpp"

namespace dot11b::analyzer {
namespace {

TEST(Evm, RemovesGainAndOffsetAndReportsRmsPeakAndBlocks) {
    // QPSK chips with error vectors of 0.1 at right angles, alternating in sign so
    // that they do not change the best gain; one chip of the third block is off by 0.5.
    const std::size_t n = 2500;
    Samples ideal(n), received(n);
    for (std::size_t k = 0; k < n; ++k) {
        ideal[k] = std::polar(1.0, std::numbers::pi / 4 + std::numbers::pi / 2 * static_cast<double>((k * 7) % 4));
        const double error = k == 2100 ? 0.5 : 0.1;
        const Complex vector = ideal[k] * Complex(0, k % 2 == 0 ? error : -error);
        received[k] = Complex(0.3, -0.2) + Complex(1.5, 2) * (ideal[k] + vector);
    }
    const EvmResult evm = measure_evm(received, ideal);
    EXPECT_EQ(evm.chips, n);
    EXPECT_NEAR(evm.overall.rms, std::sqrt((2499 * 0.01 + 0.25) / 2500), 1e-3);
    EXPECT_NEAR(evm.overall.peak, 0.5, 1e-3);
    ASSERT_EQ(evm.blocks.size(), 3u);  // 1000, 1000 and 500 chips
    EXPECT_NEAR(evm.blocks[0].rms, 0.1, 1e-3);
    EXPECT_NEAR(evm.blocks[0].peak, 0.1, 1e-3);
    EXPECT_NEAR(evm.blocks[2].peak, 0.5, 1e-3);
    EXPECT_FALSE(evm.passed());  // above 35 %
    EXPECT_NEAR(to_db(0.1), -20, 1e-12);
}

// The 10 % and 90 % power points of a ramp whose amplitude follows `shape` over
// the ramp time: amplitude sqrt(0.1) and sqrt(0.9).
double ramp_seconds(double ramp_seconds, double (*inverse_shape)(double)) {
    return (inverse_shape(std::sqrt(0.9)) - inverse_shape(std::sqrt(0.1))) * ramp_seconds;
}

TEST(CarrierCorrection, TurnsEveryElementBackByTheExactPhaseOfItsInstant) {
    // A carrier of 123 kHz at unevenly spaced instants (chips on a drifting
    // clock), in lengths around the correction's blocks and groups of four;
    // within a block the correction takes the instants as evenly spaced.
    const PhaseLine line{123e3, 0.7};
    for (const std::size_t n : {1, 3, 4, 5, 31, 32, 33, 67, 1000}) {
        std::vector<double> seconds(n);
        Samples samples(n);
        for (std::size_t k = 0; k < n; ++k) {
            seconds[k] = (static_cast<double>(k) * 1.0001 + 2e-8 * static_cast<double>(k * k)) / 11e6;
            samples[k] = std::polar(0.5, 2 * std::numbers::pi * line.frequency_hz * seconds[k] + line.phase_at_zero);
        }
        remove_phase_line(samples, seconds, line);
        for (std::size_t k = 0; k < n; ++k) {
            ASSERT_NEAR(std::abs(samples[k] - 0.5), 0, 1e-5) << n << " elements, element " << k;
        }
    }
}

TEST(Ramps, PowerOnAndDownFollowTheRampShape) {
    struct Case {
        phy::RampType type;
        double microseconds;
        double (*inverse_shape)(double);  // fraction of the ramp time at an amplitude
    };
    const auto linear = [](double a) { return a; };
    const auto cosine = [](double a) { return std::acos(1 - 2 * a) / std::numbers::pi; };
    const std::vector<Case> cases = {
        {phy::RampType::Linear, 2, linear},
        {phy::RampType::RaisedCosine, 2, cosine},
        {phy::RampType::Linear, 4, linear},  // 2.5 us from 10 % to 90 %: too slow
    };
    for (const Case& c : cases) {
        app::FormatParameters p = test::short_frame(phy::DataRate::Mbps11, 50, 3);
        p.ramp = c.type;
        p.ramp_length = static_cast<std::size_t>(std::lround(c.microseconds * 33));
        const test::Waveform w = test::generate(p);
        const BurstAnalysis b = analyse(w.samples, w.sample_rate_hz).bursts.at(0);
        const double expected = ramp_seconds(c.microseconds * 1e-6, c.inverse_shape);
        ASSERT_TRUE(b.ramps.power_on_s && b.ramps.power_down_s);
        // The chip-instant power carries the +-7 % amplitude the Gaussian pulse
        // takes from neighbouring chips: within 0.15 us.
        EXPECT_NEAR(*b.ramps.power_on_s, expected, 0.15e-6) << c.microseconds;
        EXPECT_NEAR(*b.ramps.power_down_s, expected, 0.15e-6) << c.microseconds;
        EXPECT_EQ(b.passed(), expected <= 2e-6) << c.microseconds;
    }
}

TEST(SpectrumMask, FailsWithoutAFilterPassesWithTheGaussianAndNeedsTheBandViewsKeptOrNot) {
    struct Case {
        phy::FilterType filter;
        double oversampling;
        bool checked;
        bool passed;
    };
    const std::vector<Case> cases = {
        {phy::FilterType::None, 3.5, true, false},     // sin(x)/x side lobes near -13 dBr
        {phy::FilterType::Gaussian, 3.5, true, true},  // the start-up default
        {phy::FilterType::None, 2, false, true},       // +-11 MHz: none of the mask is covered
    };
    for (const Case& c : cases) {
        app::FormatParameters p = test::short_frame(phy::DataRate::Mbps11, 200, c.oversampling);
        p.filter = c.filter;
        const test::Waveform w = test::generate(p);
        const BurstAnalysis b = analyse(w.samples, w.sample_rate_hz).bursts.at(0);
        EXPECT_EQ(b.mask.checked(), c.checked) << c.oversampling;
        EXPECT_EQ(b.mask.covered_hz, w.sample_rate_hz / 2);
        EXPECT_EQ(!b.mask.checked() || b.mask.passed(), c.passed) << int(c.filter);
        EXPECT_NEAR(b.spectrum.resolution_bandwidth_hz, 100e3, 5e3);
        EXPECT_NEAR(*std::max_element(b.spectrum.level_dbr.begin(), b.spectrum.level_dbr.end()), 0, 1e-12);
        // Not kept for the views, the spectrum is still made where the mask
        // needs it, to the same verdict; the chips are not kept, the EVM stays.
        AnalysisOptions report_only;
        report_only.keep_views = false;
        const BurstAnalysis r = analyse(w.samples, w.sample_rate_hz, report_only).bursts.at(0);
        EXPECT_EQ(r.spectrum.level_dbr.empty(), !c.checked) << c.oversampling;
        EXPECT_EQ(r.mask.checked(), c.checked) << c.oversampling;
        EXPECT_EQ(r.mask.worst_margin_db, b.mask.worst_margin_db) << c.oversampling;
        EXPECT_TRUE(b.chips && !b.chips->error.empty()) << c.oversampling;
        EXPECT_FALSE(r.chips) << c.oversampling;
        EXPECT_EQ(r.evm->overall.rms, b.evm->overall.rms) << c.oversampling;
    }
}

TEST(SpectrumMask, FindsASpuriousToneWhereItIs) {
    // A tone 20 dB below the burst's mean power, 15 MHz off the carrier.
    const test::Waveform w = test::generate(test::short_frame(phy::DataRate::Mbps11, 200, 3.5));
    Samples x = w.samples;
    for (std::size_t n = 0; n < x.size(); ++n) {
        x[n] += 0.2 * std::polar(1.0, 2 * std::numbers::pi * 15e6 * static_cast<double>(n) / w.sample_rate_hz);
    }
    const BurstAnalysis b = analyse(x, w.sample_rate_hz).bursts.at(0);
    EXPECT_FALSE(b.mask.passed());
    EXPECT_NEAR(b.mask.worst_frequency_hz, 15e6, 100e3);
}

TEST(Measurements, TheStartUpDefaultWaveformPassesEveryCheck) {
    app::FormatParameters p;  // 1024 zero octets at 11 Mbit/s CCK, 3.5, Gaussian
    const test::Waveform w = test::generate(p);
    const Analysis analysis = analyse(w.samples, w.sample_rate_hz);
    ASSERT_EQ(analysis.bursts.size(), 1u);
    const BurstAnalysis& b = analysis.bursts[0];
    EXPECT_TRUE(analysis.passed()) << b.failures().front();
    EXPECT_EQ(b.psdu, w.psdu);
    EXPECT_NEAR(b.frequency->carrier_offset_hz, 0, 5);
    EXPECT_NEAR(b.frequency->chip_clock_offset_ppm, 0, 1);
    EXPECT_EQ(b.evm_span, "PSDU");
    // All PSDU chips but the last few, whose reference would need the ramp chips after them.
    EXPECT_LE(b.evm->chips, 8192u);
    EXPECT_GE(b.evm->chips, 8192u - 12);
    EXPECT_EQ(b.evm->blocks.size(), 9u);
}

}  // namespace
}  // namespace dot11b::analyzer
