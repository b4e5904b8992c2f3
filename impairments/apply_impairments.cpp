#include "impairments/apply_impairments.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "impairments/gaussian_noise.hpp"
#include "resampling/periodic_resampler.hpp"

namespace dot11b::impairments {
namespace {

double decibels_to_amplitude(double db) { return std::pow(10.0, db / 20.0); }

// Rapp AM/AM with smoothness p = 2: y = x / (1 + (|x|/A)^4)^(1/4); no AM/PM.
// Over the interleaved doubles, so that the loop vectorises.
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
void compress(double* iq, std::size_t count, double saturation) {
    const double inverse_square = 1.0 / (saturation * saturation);
    for (std::size_t n = 0; n < count; ++n) {
        const double r = (iq[2 * n] * iq[2 * n] + iq[2 * n + 1] * iq[2 * n + 1]) * inverse_square;  // (|x|/A)^2
        const double gain = 1.0 / std::sqrt(std::sqrt(1.0 + r * r));
        iq[2 * n] *= gain;
        iq[2 * n + 1] *= gain;
    }
}

// I' = gI (I cos(phi/2) - Q sin(phi/2)), Q' = gQ (Q cos(phi/2) - I sin(phi/2)),
// gI = 10^(dB/40), gQ = 10^(-dB/40).
void unbalance(Samples& samples, double gain_db, double phase_deg) {
    const double g_i = std::pow(10.0, gain_db / 40.0);
    const double g_q = 1.0 / g_i;
    const double half = phase_deg * M_PI / 360.0;
    const double c = std::cos(half);
    const double s = std::sin(half);
    for (Complex& x : samples) {
        const double i = x.real();
        const double q = x.imag();
        x = {g_i * (i * c - q * s), g_q * (q * c - i * s)};
    }
}

// The transmitter leaks only while it transmits: the constant goes under the burst marker.
void leak_carrier(Samples& samples, BitSpan burst_marker, double amplitude) {
    for (std::size_t n = 0; n < samples.size(); ++n) {
        if (burst_marker[n]) samples[n] += amplitude;
    }
}

// The chips' main lobe spans +-11 MHz; the interpolator passes to 13 MHz, so
// the start of the shaped skirts keeps its place in time too.
constexpr double kPassedHalfBandHz = 13e6;

// Where the oversampling leaves room above that band, the interpolator
// passes only the band and lets the skirts above it fold back onto
// themselves (stop band from 2 - passband of the Nyquist frequency), so the
// filter shortens with the wider transition band: 16 taps instead of 56 at
// 3.5 samples a chip. Otherwise the resampler's defaults.
resampling::ResamplerOptions clock_filter(double sample_rate) {
    const double passed = kPassedHalfBandHz / (0.5 * sample_rate);
    if (passed >= resampling::ResamplerOptions{}.passband) return {};
    return {.passband = passed, .stopband = 2.0 - passed};
}

// Marker k takes the input nearest its instant k * step, wrapped. The
// nearest inputs advance one a sample over long runs (some 1 / |step - 1|
// samples), found 64 outputs at a time and each copied as one; the other
// outputs are looked up one by one. The marker is rewritten in its own
// storage, with the few inputs past the seam kept aside first: front to back
// when the step is at least one (each output's input lies at or ahead of
// it), back to front when it is below one (at or behind it).
void retime_marker(Bits& marker, double step, std::size_t length) {
    constexpr std::size_t kRun = 64;
    const std::size_t n = marker.size();
    const auto nearest = [step](std::size_t k) {
        return static_cast<std::size_t>(static_cast<double>(k) * step + 0.5);
    };
    // Inputs up to one period past the seam.
    const std::size_t past_seam = length == 0 ? 0 : std::max(nearest(length - 1) + 1, n) - n;
    const bool backward = step < 1.0;
    const bool in_place = (backward || length <= n) && past_seam <= n;
    Bits fresh(in_place ? 0 : length);
    const Bits head(marker.begin(), marker.begin() + static_cast<std::ptrdiff_t>(in_place ? past_seam : 0));
    // Room for the outputs past the period's end, in the spare capacity.
    if (in_place && length > n) marker.resize(length);
    const std::uint8_t* in = marker.data();
    std::uint8_t* out = in_place ? marker.data() : fresh.data();
    const auto input = [&](std::size_t source) {
        return source < n ? in[source] : (in_place ? head : marker)[source - n];
    };
    // The nearest inputs never step back and, with a step on one side of
    // one, never step both by none and by two: kRun - 1 apart, they are
    // consecutive.
    const auto consecutive = [&](std::size_t k) {
        const std::size_t from = nearest(k);
        return nearest(k + kRun - 1) - from == kRun - 1 && from + kRun <= n;
    };
    if (backward) {
        std::size_t k = length;  // outputs k ... length - 1 are written
        for (; k % kRun != 0; --k) out[k - 1] = input(nearest(k - 1));
        while (k > 0) {
            std::size_t begin = k - kRun;
            if (!consecutive(begin)) {
                for (std::size_t i = k; i > begin; --i) out[i - 1] = input(nearest(i - 1));
                k = begin;
                continue;
            }
            while (begin >= kRun && nearest(begin) == nearest(begin - 1) + 1 && consecutive(begin - kRun)) {
                begin -= kRun;
            }
            std::memmove(out + begin, in + nearest(begin), k - begin);
            k = begin;
        }
    } else {
        std::size_t k = 0;
        while (k + kRun <= length) {
            if (!consecutive(k)) {
                for (std::size_t i = k; i < k + kRun; ++i) out[i] = input(nearest(i));
                k += kRun;
                continue;
            }
            std::size_t end = k + kRun;
            while (end + kRun <= length && nearest(end) == nearest(end - 1) + 1 && consecutive(end)) end += kRun;
            std::memmove(out + k, in + nearest(k), end - k);
            k = end;
        }
        for (; k < length; ++k) out[k] = input(nearest(k));
    }
    if (in_place) {
        marker.resize(length);
    } else {
        marker = std::move(fresh);
    }
}

// A clock fast by ppm plays the period faster: output k is the period at
// input instant k (1 + ppm 1e-6), in the period's own storage where it fits.
void retime(phy::FrameWaveform& period, double ppm, double sample_rate) {
    const double step = 1.0 + ppm * 1e-6;
    const std::size_t length = clock_offset_length(period.samples.size(), ppm);
    resampling::PeriodicResampler(step, clock_filter(sample_rate)).resample_in_place(period.samples, length);
    retime_marker(period.frame_marker, step, length);
    retime_marker(period.burst_marker, step, length);
}

// Sample n times e^(j 2 pi f n / fs): the phasor of each block's first
// sample from its exact phase, times the steps within a block from a table,
// so rounding never builds up and no sample waits for the one before.
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
void shift_frequency(double* iq, std::size_t count, double cycles_per_sample) {
    constexpr std::size_t kBlock = 256;
    double step_re[kBlock];
    double step_im[kBlock];
    for (std::size_t m = 0; m < kBlock; ++m) {
        const Complex step = std::polar(1.0, 2.0 * M_PI * cycles_per_sample * static_cast<double>(m));
        step_re[m] = step.real();
        step_im[m] = step.imag();
    }
    for (std::size_t start = 0; start < count; start += kBlock) {
        const double cycles = cycles_per_sample * static_cast<double>(start);
        const Complex first = std::polar(1.0, 2.0 * M_PI * (cycles - std::floor(cycles)));
        const std::size_t length = std::min(count - start, kBlock);
        double* x = iq + 2 * start;
        for (std::size_t m = 0; m < length; ++m) {
            const double p_re = first.real() * step_re[m] - first.imag() * step_im[m];
            const double p_im = first.real() * step_im[m] + first.imag() * step_re[m];
            const double re = x[2 * m];
            const double im = x[2 * m + 1];
            x[2 * m] = re * p_re - im * p_im;
            x[2 * m + 1] = re * p_im + im * p_re;
        }
    }
}

}  // namespace

namespace {

// Sum of the squares of `count` doubles, in vector partial sums (a plain loop
// would stay scalar: the compiler keeps the order of floating-point additions).
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
double sum_of_squares(const double* values, std::size_t count) {
    using Lanes = double __attribute__((vector_size(64)));
    Lanes even = {};
    Lanes odd = {};
    std::size_t k = 0;
    for (; k + 16 <= count; k += 16) {
        Lanes a;
        Lanes b;
        std::memcpy(&a, values + k, sizeof a);
        std::memcpy(&b, values + k + 8, sizeof b);
        even += a * a;
        odd += b * b;
    }
    const Lanes total = even + odd;
    double sum = 0.0;
    for (std::size_t lane = 0; lane < 8; ++lane) sum += total[lane];
    for (; k < count; ++k) sum += values[k] * values[k];
    return sum;
}

}  // namespace

// The marker holds a few long runs: each run of ones is found with memchr
// and summed without looking at the marker again.
double burst_power(SampleSpan samples, BitSpan burst_marker) {
    const auto* iq = reinterpret_cast<const double*>(samples.data());
    const std::uint8_t* const begin = burst_marker.data();
    const std::uint8_t* const end = begin + samples.size();
    // The first byte from `from` holding `value`, or `end`.
    const auto next = [end](const std::uint8_t* from, int value) {
        const void* found = std::memchr(from, value, static_cast<std::size_t>(end - from));
        return found == nullptr ? end : static_cast<const std::uint8_t*>(found);
    };
    double sum = 0.0;
    std::size_t count = 0;
    for (const std::uint8_t* run = next(begin, 1); run != end;) {
        const std::uint8_t* const run_end = next(run, 0);
        const auto length = static_cast<std::size_t>(run_end - run);
        sum += sum_of_squares(iq + 2 * static_cast<std::size_t>(run - begin), 2 * length);
        count += length;
        run = next(run_end, 1);
    }
    return count == 0 ? 0.0 : sum / static_cast<double>(count);
}

phy::FrameWaveform apply_impairments(const ImpairmentSettings& settings, phy::FrameWaveform period,
                                     double sample_rate) {
    Samples& x = period.samples;
    // The vectorised stages work on the interleaved real and imaginary parts.
    const auto interleaved = [&x] { return reinterpret_cast<double*>(x.data()); };
    if (settings.pa_backoff) {
        compress(interleaved(), x.size(),
                 std::sqrt(burst_power(x, period.burst_marker)) * decibels_to_amplitude(*settings.pa_backoff));
    }
    const double gain_db = settings.iq_gain.value_or(0.0);
    const double phase_deg = settings.iq_phase.value_or(0.0);
    if (gain_db != 0.0 || phase_deg != 0.0) unbalance(x, gain_db, phase_deg);
    if (settings.dc_offset) {
        const double amplitude =
            std::sqrt(burst_power(x, period.burst_marker)) * decibels_to_amplitude(*settings.dc_offset);
        leak_carrier(x, period.burst_marker, amplitude);
    }
    if (settings.clock_offset && *settings.clock_offset != 0.0) retime(period, *settings.clock_offset, sample_rate);
    if (settings.cfo && *settings.cfo != 0.0) shift_frequency(interleaved(), x.size(), *settings.cfo / sample_rate);
    if (settings.snr) {
        const double noise = burst_power(x, period.burst_marker) / std::pow(10.0, *settings.snr / 10.0);
        add_gaussian_noise(x, noise, settings.seed);
    }
    return period;
}

}  // namespace dot11b::impairments
