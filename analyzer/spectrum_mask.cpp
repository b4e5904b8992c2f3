#include "analyzer/spectrum_mask.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analyzer/complex_product.hpp"
#include "analyzer/constants.hpp"
#include "common/dft.hpp"

namespace dot11b::analyzer {
namespace {

constexpr double kHannBandwidthBins = 1.5;
constexpr std::size_t kMaxSegments = 256;
constexpr double kInnerEdgeHz = 11e6;
constexpr double kOuterEdgeHz = 22e6;
constexpr double kInnerLimitDbr = -30;
constexpr double kOuterLimitDbr = -50;

// The smallest length of at least n with no prime factor above 7, fast for FFTW.
std::size_t smooth_length(std::size_t n) {
    for (std::size_t m = std::max<std::size_t>(n, 1);; ++m) {
        std::size_t rest = m;
        for (const std::size_t p : {2, 3, 5, 7}) {
            while (rest % p == 0) rest /= p;
        }
        if (rest == 1) return m;
    }
}

double mask_limit(double offset_hz) {
    const double f = std::abs(offset_hz);
    if (f <= kInnerEdgeHz) return std::numeric_limits<double>::infinity();
    return f < kOuterEdgeHz ? kInnerLimitDbr : kOuterLimitDbr;
}

}  // namespace

Spectrum power_spectrum(SampleSpan samples, double sample_rate_hz) {
    Spectrum spectrum;
    const std::size_t n = smooth_length(
        static_cast<std::size_t>(std::lround(kHannBandwidthBins * sample_rate_hz / kMaskResolutionBandwidthHz)));
    spectrum.resolution_bandwidth_hz = kHannBandwidthBins * sample_rate_hz / static_cast<double>(n);

    std::vector<double> window(n);
    for (std::size_t i = 0; i < n; ++i) {
        window[i] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n));
    }
    const std::size_t segments =
        samples.size() <= n ? 1 : std::min(kMaxSegments, std::max<std::size_t>(1, 2 * (samples.size() - n) / n + 1));
    const double hop = segments > 1 ? static_cast<double>(samples.size() - n) / static_cast<double>(segments - 1) : 0;

    const DftPlan fft(n);
    Samples segment(n);
    Samples transformed(n);
    std::vector<double> power(n, 0.0);
    for (std::size_t s = 0; s < segments; ++s) {
        const auto first = static_cast<std::size_t>(std::lround(hop * static_cast<double>(s)));
        for (std::size_t i = 0; i < n; ++i) {
            segment[i] = first + i < samples.size() ? samples[first + i] * window[i] : Complex(0);
        }
        fft.execute(segment, transformed);
        for (std::size_t i = 0; i < n; ++i) power[i] += magnitude_squared(transformed[i]);
    }

    const double peak = *std::max_element(power.begin(), power.end());
    spectrum.frequency_hz.resize(n);
    spectrum.level_dbr.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        // Bin order from -fs/2 up: the upper half of the FFT first.
        const std::size_t bin = (i + (n + 1) / 2) % n;
        const double index = static_cast<double>(i) - static_cast<double>(n / 2);
        spectrum.frequency_hz[i] = index * sample_rate_hz / static_cast<double>(n);
        spectrum.level_dbr[i] = peak > 0 ? 10 * std::log10(std::max(power[bin] / peak, 1e-30)) : -300;
    }
    return spectrum;
}

std::vector<MaskSegment> mask_limits(double sample_rate_hz) {
    std::vector<MaskSegment> limits;
    const double edge = sample_rate_hz / 2;
    if (edge > kInnerEdgeHz) {
        const double inner_end = std::min(edge, kOuterEdgeHz);
        limits.push_back({-inner_end, -kInnerEdgeHz, kInnerLimitDbr});
        limits.push_back({kInnerEdgeHz, inner_end, kInnerLimitDbr});
    }
    if (edge > kOuterEdgeHz) {
        limits.insert(limits.begin(), {-edge, -kOuterEdgeHz, kOuterLimitDbr});
        limits.push_back({kOuterEdgeHz, edge, kOuterLimitDbr});
    }
    return limits;
}

MaskCheck check_mask(const Spectrum& spectrum, double sample_rate_hz) {
    MaskCheck check;
    check.covered_hz = sample_rate_hz / 2;
    check.limits = mask_limits(sample_rate_hz);
    for (std::size_t i = 0; i < spectrum.frequency_hz.size(); ++i) {
        const double margin = mask_limit(spectrum.frequency_hz[i]) - spectrum.level_dbr[i];
        if (margin < check.worst_margin_db) {
            check.worst_margin_db = margin;
            check.worst_frequency_hz = spectrum.frequency_hz[i];
        }
    }
    return check;
}

}  // namespace dot11b::analyzer
