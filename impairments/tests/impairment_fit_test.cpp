// Each impairment is fitted back from the impaired period against the clean
// one with estimators of its own, and must give the value it was set to.

#include <fftw3.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "common/errors.hpp"
#include "common/testing/random_bits.hpp"
#include "impairments/apply_impairments.hpp"
#include "trigonometric_period.hpp"

namespace dot11b::impairments {
namespace {

constexpr double kRate = 38.5e6;

phy::FrameWaveform clean_period(std::size_t octets) {
    phy::FrameConfig config;
    config.data_bits = test::random_bits(8 * octets, 5);
    return phy::build_frame(config);
}

const phy::FrameWaveform& short_period() {
    static const phy::FrameWaveform period = clean_period(60);
    return period;
}

double rms_under_burst(const phy::FrameWaveform& w) {
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t n = 0; n < w.samples.size(); ++n) {
        if (w.burst_marker[n]) sum += std::norm(w.samples[n]), ++count;
    }
    return std::sqrt(sum / static_cast<double>(count));
}

phy::FrameWaveform impaired(const ImpairmentSettings& settings, const phy::FrameWaveform& clean) {
    return apply_impairments(settings, clean, kRate);
}

TEST(ImpairmentFit, CarrierOffsetIsThePhaseSlopeAgainstTheCleanPeriod) {
    for (double hz : {1234.5, -500e3, 500e3, 0.3}) {
        const auto& x = short_period();
        const auto y = impaired({.cfo = hz}, x);
        Complex lag;  // sum of z[n+1] conj(z[n]), z = y conj(x)
        for (std::size_t n = 0; n + 1 < x.samples.size(); ++n) {
            lag += y.samples[n + 1] * std::conj(x.samples[n + 1]) * std::conj(y.samples[n] * std::conj(x.samples[n]));
        }
        EXPECT_NEAR(std::arg(lag) * kRate / (2.0 * M_PI), hz, 1.0);
        EXPECT_EQ(y.burst_marker, x.burst_marker);
    }
}

TEST(ImpairmentFit, IqImbalanceIsTheLinearMapOfIAndQ) {
    const struct {
        double gain_db;
        double phase_deg;
    } kCases[] = {{1.5, 0.0}, {0.0, -7.0}, {-6.0, 20.0}, {6.0, -20.0}, {0.37, 3.3}};
    for (const auto& c : kCases) {
        const auto& x = short_period();
        const auto y = impaired({.iq_gain = c.gain_db, .iq_phase = c.phase_deg}, x);
        // Least squares of I' = a I + b Q and Q' = c Q + d I.
        double ii = 0, qq = 0, iq = 0, i_i = 0, i_q = 0, q_q = 0, q_i = 0;
        for (std::size_t n = 0; n < x.samples.size(); ++n) {
            const double i = x.samples[n].real(), q = x.samples[n].imag();
            ii += i * i, qq += q * q, iq += i * q;
            i_i += y.samples[n].real() * i, i_q += y.samples[n].real() * q;
            q_q += y.samples[n].imag() * q, q_i += y.samples[n].imag() * i;
        }
        const double det = ii * qq - iq * iq;
        const double a = (i_i * qq - i_q * iq) / det, b = (i_q * ii - i_i * iq) / det;
        const double d = (q_i * qq - q_q * iq) / det, cq = (q_q * ii - q_i * iq) / det;
        const double g_i = std::hypot(a, b), g_q = std::hypot(cq, d);
        EXPECT_NEAR(20.0 * std::log10(g_i / g_q), c.gain_db, 0.01);
        EXPECT_NEAR(2.0 * std::atan2(-b, a) * 180.0 / M_PI, c.phase_deg, 0.05);
        EXPECT_NEAR(2.0 * std::atan2(-d, cq) * 180.0 / M_PI, c.phase_deg, 0.05);
    }
}

TEST(ImpairmentFit, CarrierLeakageIsARealConstantUnderTheBurstOnly) {
    for (double dbc : {-60.0, -23.4, 0.0}) {
        const auto& x = short_period();
        const auto y = impaired({.dc_offset = dbc}, x);
        Complex under;
        std::size_t count = 0;
        for (std::size_t n = 0; n < x.samples.size(); ++n) {
            const Complex added = y.samples[n] - x.samples[n];
            if (x.burst_marker[n]) {
                under += added, ++count;
            } else {
                EXPECT_EQ(added, Complex()) << n;
            }
        }
        under /= static_cast<double>(count);
        EXPECT_NEAR(under.imag(), 0.0, 1e-12);
        EXPECT_NEAR(20.0 * std::log10(under.real() / rms_under_burst(x)), dbc, 0.1);
    }
}

TEST(ImpairmentFit, AmplifierFollowsRappWithItsSaturationAtTheBackoff) {
    for (double backoff : {0.0, 3.0, 12.5, 30.0}) {
        const auto& x = short_period();
        const auto y = impaired({.pa_backoff = backoff}, x);
        // (|x|/|y|)^4 = 1 + (|x|/A)^4, so A = |x| / ((|x|/|y|)^4 - 1)^(1/4); taken where the compression shows.
        std::vector<double> saturation;
        for (std::size_t n = 0; n < x.samples.size(); ++n) {
            const double in = std::abs(x.samples[n]), out = std::abs(y.samples[n]);
            EXPECT_NEAR(std::arg(y.samples[n] * std::conj(x.samples[n])), 0.0, 1e-12);  // no AM/PM
            const double excess = std::pow(in / out, 4.0) - 1.0;
            if (in > 0 && excess > 1e-9) saturation.push_back(in / std::pow(excess, 0.25));
        }
        ASSERT_FALSE(saturation.empty());
        std::nth_element(saturation.begin(), saturation.begin() + saturation.size() / 2, saturation.end());
        EXPECT_NEAR(20.0 * std::log10(saturation[saturation.size() / 2] / rms_under_burst(x)), backoff, 0.01);
    }
}

TEST(ImpairmentFit, ClockOffsetIsTheTimeScaleOfTheBandLimitedPeriod) {
    const auto& x = short_period();
    const test::TrigonometricPeriod clean(x.samples);
    for (double ppm : {0.1, -0.35, 25.0, -1000.0, 1000.0}) {
        const auto y = impaired({.clock_offset = ppm}, x);
        const double n = static_cast<double>(x.samples.size());
        EXPECT_EQ(y.samples.size(), static_cast<std::size_t>(2 * std::llround(n / (1 + ppm * 1e-6) / 2)));
        // Gauss-Newton on the scale s of y[k] = x(k s), over instants from the
        // start to `reach`, which grows while the estimate sharpens.
        double scale = 1.0;
        for (std::size_t reach = 400; reach < 16 * y.samples.size(); reach *= 2) {
            double num = 0.0, den = 0.0;
            for (std::size_t k = 7; k < std::min(reach, y.samples.size()); k += 23) {
                const double t = static_cast<double>(k) * scale;
                if (t > n - 64) break;  // clear of the seam
                const auto [value, slope] = clean.at(t);
                const Complex gradient = slope * static_cast<double>(k);
                num += std::real(std::conj(gradient) * (y.samples[k] - value));
                den += std::norm(gradient);
            }
            scale += num / den;
        }
        EXPECT_NEAR((scale - 1.0) * 1e6, ppm, 0.1) << ppm;
        // The burst marker keeps its place in time.
        const auto first = [](const Bits& m) { return static_cast<double>(std::find(m.begin(), m.end(), 1) - m.begin()); };
        const auto ones = [](const Bits& m) { return static_cast<double>(std::count(m.begin(), m.end(), 1)); };
        EXPECT_NEAR(first(y.burst_marker), first(x.burst_marker) / (1 + ppm * 1e-6), 1.0);
        EXPECT_NEAR(ones(y.burst_marker), ones(x.burst_marker) / (1 + ppm * 1e-6), 1.0);
    }
}

// Power of `error` within +-11 MHz (the chips' band) over the power of `signal`, in dB.
double in_band_error_db(const Samples& error, const Samples& signal, double rate) {
    const std::size_t m = error.size();
    Samples in = error;
    Samples spectrum(m);
    fftw_plan plan = fftw_plan_dft_1d(static_cast<int>(m), reinterpret_cast<fftw_complex*>(in.data()),
                                      reinterpret_cast<fftw_complex*>(spectrum.data()), FFTW_FORWARD, FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    double in_band = 0.0;
    for (std::size_t b = 0; b < m; ++b) {
        const double bin = b < m / 2 ? static_cast<double>(b) : static_cast<double>(b) - static_cast<double>(m);
        if (std::abs(bin / static_cast<double>(m) * rate) < 11e6) in_band += std::norm(spectrum[b]);
    }
    double power = 0.0;
    for (const Complex& v : signal) power += std::norm(v);
    return 10.0 * std::log10(in_band / static_cast<double>(m) / power);
}

TEST(ImpairmentFit, ClockOffsetKeeps80DbWithinTheChipsBandFrom2Point5SamplesAChip) {
    for (double oversampling : {2.5, 3.0, 3.5}) {
        phy::FrameConfig config;
        config.data_bits = test::random_bits(8 * 60, 5);
        config.oversampling = oversampling;
        const auto x = phy::build_frame(config);
        const double rate = 11e6 * oversampling;
        const test::TrigonometricPeriod clean(x.samples);
        for (double ppm : {-1000.0, 300.0}) {
            const auto y = apply_impairments({.clock_offset = ppm}, x, rate);
            Samples ideal(y.samples.size());
            Samples error(y.samples.size());
            for (std::size_t k = 0; k < y.samples.size(); ++k) {
                ideal[k] = clean.at(static_cast<double>(k) * (1 + ppm * 1e-6)).first;
                error[k] = y.samples[k] - ideal[k];
            }
            EXPECT_LT(in_band_error_db(error, ideal, rate), -80.0) << oversampling << " " << ppm;
        }
    }
}

TEST(ImpairmentFit, NoiseHasTheBurstPowerOverTheSnrEverywhereAndRepeatsWithItsSeed) {
    const phy::FrameWaveform x = clean_period(1500);
    for (double snr : {-10.0, 7.0, 60.0}) {
        const auto y = impaired({.snr = snr}, x);
        double noise = 0.0, in_phase = 0.0;
        Complex mean;
        for (std::size_t n = 0; n < x.samples.size(); ++n) {
            const Complex e = y.samples[n] - x.samples[n];
            noise += std::norm(e), in_phase += e.real() * e.real(), mean += e;
        }
        const double count = static_cast<double>(x.samples.size());
        const double measured = 10.0 * std::log10(std::pow(rms_under_burst(x), 2) / (noise / count));
        EXPECT_NEAR(measured, snr, 0.2) << snr;
        EXPECT_NEAR(in_phase / noise, 0.5, 0.01);  // circular: half the power in I
        EXPECT_LT(std::abs(mean / count), 0.02 * std::sqrt(noise / count));
    }
    const auto a = impaired({.snr = 10.0, .seed = 9}, x);
    EXPECT_EQ(a.samples, impaired({.snr = 10.0, .seed = 9}, x).samples);
    EXPECT_NE(a.samples, impaired({.snr = 10.0, .seed = 10}, x).samples);
}

TEST(Impairments, AtZeroLeaveThePeriodBitForBit) {
    const auto& x = short_period();
    for (const ImpairmentSettings& zero :
         {ImpairmentSettings{}, ImpairmentSettings{.iq_gain = 0.0, .iq_phase = 0.0, .clock_offset = 0.0, .cfo = 0.0}}) {
        const auto y = impaired(zero, x);
        EXPECT_EQ(y.samples, x.samples);
        EXPECT_EQ(y.frame_marker, x.frame_marker);
        EXPECT_EQ(y.burst_marker, x.burst_marker);
    }
}

TEST(Impairments, RefuseValuesOutsideTheirRangesNamingOptionAndRange) {
    const struct {
        ImpairmentSettings settings;
        const char* expected;
    } kCases[] = {
        {{.pa_backoff = -0.1}, "--pa-backoff -0.1 is outside 0 to 30 dB"},
        {{.iq_gain = 6.5}, "--iq-gain 6.5 is outside -6 to 6 dB"},
        {{.iq_phase = -21}, "--iq-phase -21 is outside -20 to 20 deg"},
        {{.dc_offset = 1}, "--dc-offset 1 is outside -60 to 0 dBc"},
        {{.clock_offset = 1000.5}, "--clock-offset 1000.5 is outside -1000 to 1000 ppm"},
        {{.cfo = -600e3}, "--cfo -600000 is outside -500000 to 500000 Hz"},
        {{.snr = NAN}, "--snr nan is outside -10 to 60 dB"},
    };
    for (const auto& c : kCases) {
        try {
            c.settings.validate();
            ADD_FAILURE() << c.expected;
        } catch (const ConfigError& e) {
            EXPECT_STREQ(e.what(), c.expected);
        }
    }
}

}  // namespace
}  // namespace dot11b::impairments
