#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analyzer/analysis.hpp"
#include "analyzer/tests/test_waveforms.hpp"
#include "phy/frame_builder.hpp"

namespace dot11b::analyzer {
namespace {

// A transmitter's faults, made here rather than by the generator's impairments.
struct Faults {
    double carrier_ppm;   // of 2412 MHz
    double clock_ppm;     // the chip clock against the recording's sample clock
    double gain_db;       // I against Q, as dot11b-gen's --iq-gain
    double quadrature_deg;
    double leakage_dbc;   // against the burst's power
    double snr_db;
};

double mean_power(const Samples& x, std::size_t end) {
    double power = 0;
    for (std::size_t n = 0; n < end; ++n) power += std::norm(x[n]);
    return power / static_cast<double>(end);
}

// The mean the generator takes off its burst (at oversampling 3, no decimation):
// the chips' mean times the filter's gain at DC per chip. It is a DC offset of
// the waveform, as large as -40 dBc for a short burst, so it is given back.
Complex generator_mean(const app::FormatParameters& p) {
    const app::Calculation c = app::calculate(p);
    const phy::FrameConfig config = app::frame_config(p, c.psdu);
    const Samples chips = phy::burst_chips(config);
    Complex sum = 0;
    for (const Complex chip : chips) sum += chip;
    double gain = 0;
    for (const double tap : phy::shaping_taps(config)) gain += tap;
    return sum / static_cast<double>(chips.size()) * gain / p.oversampling;
}

// The burst of `w` (its first `end` samples) as a faulty modulator sends it.
Samples faulty(const test::Waveform& w, std::size_t end, Complex mean, const Faults& f, unsigned seed = 29) {
    Samples x = w.samples;
    const Complex q_axis = std::polar(std::pow(10, -f.gain_db / 20), f.quadrature_deg * std::numbers::pi / 180);
    for (std::size_t n = 0; n < end; ++n) {
        const Complex s = x[n] + mean;  // no leakage but the one added below
        x[n] = s.real() + Complex(0, 1) * q_axis * s.imag();
    }
    const double power = mean_power(x, end);
    const double leakage = std::sqrt(power * std::pow(10, f.leakage_dbc / 10));
    for (std::size_t n = 0; n < end; ++n) x[n] += Complex(leakage * 0.6, -leakage * 0.8);
    test::turn(x, w.sample_rate_hz, f.carrier_ppm * 2412, 0.7);
    test::add_noise(x, power * std::pow(10, -f.snr_db / 10), seed);
    return x;
}

TEST(Accuracy, TransmitterFaultsMeasureWithinTheirTolerances) {
    struct Case {
        phy::DataRate rate;
        std::size_t octets;
        Faults faults;
        double clock_tolerance_ppm;
    };
    const std::vector<Case> cases = {
        {phy::DataRate::Mbps11, 1000, {20, -20, -0.5, 2, -10, 20}, 1},
        {phy::DataRate::Mbps11, 1000, {-15, 12, 0.8, -3, -25, 20}, 1},
        {phy::DataRate::Mbps5_5, 400, {3, 24, -0.3, 1.5, -40, 20}, 1},
        {phy::DataRate::Mbps11, 100, {-8, -5, 0.4, 2.5, -18, 20}, 2},
        {phy::DataRate::Mbps2, 300, {1, 3, -0.2, -1, -30, 35}, 1},
        {phy::DataRate::Mbps2, 300, {-1, -3, 0.2, 1, -12, 5}, 1},
    };
    for (const Case& c : cases) {
        const Faults& f = c.faults;
        SCOPED_TRACE(std::to_string(c.octets) + " octets, " + std::to_string(f.snr_db) + " dB SNR");
        const app::FormatParameters p = test::short_frame(c.rate, c.octets, 3);
        const test::Waveform w = test::generate(p);
        const Samples x = faulty(w, w.samples.size() - p.idle_samples, generator_mean(p), f);
        // A sample rate taken as higher than it is: the chip clock seems that much fast.
        const Analysis a = analyse(x, w.sample_rate_hz * (1 + f.clock_ppm * 1e-6));
        ASSERT_EQ(a.bursts.size(), 1u);
        const BurstAnalysis& b = a.bursts[0];
        ASSERT_EQ(b.psdu, w.psdu);
        ASSERT_TRUE(b.accuracy && b.accuracy->iq_gain_db);
        EXPECT_NEAR(b.frequency->carrier_offset_ppm, f.carrier_ppm, 0.1);
        EXPECT_NEAR(b.frequency->chip_clock_offset_ppm, f.clock_ppm, c.clock_tolerance_ppm);
        EXPECT_NEAR(*b.accuracy->iq_gain_db, f.gain_db, 0.1);
        EXPECT_NEAR(*b.accuracy->quadrature_deg, f.quadrature_deg, 0.5);
        EXPECT_NEAR(b.accuracy->leakage_dbc, f.leakage_dbc, 1);
        EXPECT_NEAR(b.accuracy->mer_db, f.snr_db, 1);
        const std::vector<std::string> failures = b.failures();
        const bool suppression_failed = std::any_of(failures.begin(), failures.end(), [](const std::string& text) {
            return text.find("carrier suppression limit") != std::string::npos;
        });
        EXPECT_EQ(suppression_failed, f.leakage_dbc > -15);
    }
}

TEST(Accuracy, TheChipClockOfShortBurstsHoldsItsToleranceForEveryNoiseDraw) {
    struct Case {
        phy::DataRate rate;
        std::size_t octets;
        double tolerance_ppm;
    };
    for (const Case& c : {Case{phy::DataRate::Mbps11, 100, 2}, Case{phy::DataRate::Mbps5_5, 400, 1}}) {
        const app::FormatParameters p = test::short_frame(c.rate, c.octets, 3);
        const test::Waveform w = test::generate(p);
        for (unsigned seed = 1; seed <= 12; ++seed) {
            const Faults f{-8, -6 + 3.0 * (seed % 5), 0.4, 2.5, -18, 20};
            SCOPED_TRACE(std::to_string(c.octets) + " octets, seed " + std::to_string(seed));
            const Samples x = faulty(w, w.samples.size() - p.idle_samples, generator_mean(p), f, seed);
            const Analysis a = analyse(x, w.sample_rate_hz * (1 + f.clock_ppm * 1e-6));
            ASSERT_EQ(a.bursts.size(), 1u);
            ASSERT_TRUE(a.bursts[0].frequency);
            EXPECT_NEAR(a.bursts[0].frequency->chip_clock_offset_ppm, f.clock_ppm, c.tolerance_ppm);
        }
    }
}

}  // namespace
}  // namespace dot11b::analyzer
