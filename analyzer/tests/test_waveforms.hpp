#pragma once
// Waveforms of the generator for the analyser's tests, and the impairments a
// recording adds to them.

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "app/calculation.hpp"
#include "app/records.hpp"
#include "common/dft.hpp"
#include "common/types.hpp"

namespace dot11b::analyzer::test {

struct Waveform {
    Samples samples;
    double sample_rate_hz = 0;
    std::vector<std::uint8_t> psdu;  // the octets the generator sent
};

// A short PN9 payload with 2 us linear ramps and 20 us of idle time at the
// given oversampling ratio.
inline app::FormatParameters short_frame(phy::DataRate rate, std::size_t octets = 24, double oversampling = 3.5) {
    app::FormatParameters p;
    p.rate = rate;
    p.data_source = mac::PayloadSource::Pn9;
    p.data_length = octets;
    p.oversampling = oversampling;
    p.ramp_length = static_cast<std::size_t>(std::lround(2 * 11 * oversampling));
    p.idle_samples = static_cast<std::size_t>(std::lround(20 * 11 * oversampling));
    app::refresh_derived_fields(p);
    return p;
}

inline Waveform generate(app::FormatParameters p) {
    app::refresh_derived_fields(p);
    const app::Calculation c = app::calculate(p);
    Waveform w{c.frame.samples, 11e6 * p.oversampling, std::vector<std::uint8_t>(c.psdu.size() / 8, 0)};
    for (std::size_t k = 0; k < c.psdu.size(); ++k) w.psdu[k / 8] |= static_cast<std::uint8_t>(c.psdu[k] << (k % 8));
    return w;
}

// Power of the samples at the chip instants of a waveform whose oversampling is
// a whole number: samples 0, n, 2n, ... of the burst.
inline double chip_instant_power(const Samples& samples, std::size_t step, std::size_t first, std::size_t last) {
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t k = first; k < last; k += step, ++count) sum += std::norm(samples[k]);
    return sum / static_cast<double>(count);
}

inline void add_noise(Samples& samples, double noise_power, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> normal(0, std::sqrt(noise_power / 2));
    for (Complex& x : samples) x += Complex(normal(random), normal(random));
}

// A carrier offset and a constant phase.
inline void turn(Samples& samples, double sample_rate_hz, double offset_hz, double phase) {
    for (std::size_t n = 0; n < samples.size(); ++n) {
        samples[n] *=
            std::polar(1.0, 2 * std::numbers::pi * offset_hz * static_cast<double>(n) / sample_rate_hz + phase);
    }
}

// The looping waveform played back with `count` samples per period: band-limited
// resampling of a periodic signal through its spectrum (FFTW, not the analyser).
inline Samples resample_period(const Samples& period, std::size_t count) {
    const std::size_t n = period.size();
    const Samples spectrum = dft(period);
    Samples wide(count, Complex(0));
    const std::size_t kept = std::min(n, count);
    for (std::size_t k = 0; k < (kept + 1) / 2; ++k) wide[k] = spectrum[k];
    for (std::size_t k = 1; k < kept / 2; ++k) wide[count - k] = spectrum[n - k];
    Samples out = inverse_dft(wide);
    for (Complex& x : out) x /= static_cast<double>(n);
    return out;
}

// A raised-cosine pulse of the given roll-off at t chips from its centre (roll-off
// 0: the ideal band-limited interpolation), with a Hann taper over +-48 chips.
inline double raised_cosine_pulse(double t, double roll_off) {
    constexpr double kReach = 48;
    if (std::abs(t) >= kReach) return 0;
    const double pi = std::numbers::pi;
    const double sinc = t == 0 ? 1 : std::sin(pi * t) / (pi * t);
    const double edge = 2 * roll_off * t;
    const double taper = std::abs(std::abs(edge) - 1) < 1e-9 ? pi / 4 : std::cos(pi * roll_off * t) / (1 - edge * edge);
    return sinc * taper * 0.5 * (1 + std::cos(pi * t / kReach));
}

// `chips` (one value per chip) through a raised-cosine pulse, sampled at
// `samples_per_chip` times the nominal chip rate while the chips come
// `ppm` faster than nominal, the first one `delay_chips` after sample 0.
inline Samples raised_cosine_chips(const Samples& chips, double roll_off, double samples_per_chip, double ppm,
                                   double delay_chips) {
    const double chips_per_sample = (1 + ppm * 1e-6) / samples_per_chip;
    const auto count = static_cast<std::size_t>(static_cast<double>(chips.size()) / chips_per_sample);
    Samples out(count, Complex(0));
    for (std::size_t n = 0; n < count; ++n) {
        const double u = static_cast<double>(n) * chips_per_sample - delay_chips;
        const auto first = static_cast<long long>(std::max(0.0, std::ceil(u - 48)));
        const auto last = std::min(static_cast<long long>(chips.size()) - 1, static_cast<long long>(std::floor(u + 48)));
        for (long long k = first; k <= last; ++k) {
            out[n] += chips[static_cast<std::size_t>(k)] * raised_cosine_pulse(u - static_cast<double>(k), roll_off);
        }
    }
    return out;
}

}  // namespace dot11b::analyzer::test
