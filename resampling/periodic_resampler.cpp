#include "resampling/periodic_resampler.hpp"

#include <liquid/liquid.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "common/errors.hpp"
#include "common/number_text.hpp"

namespace dot11b::resampling {
namespace {

void require_in_range(const char* field, double value, double low, double high, bool open) {
    const bool inside = open ? value > low && value < high : value >= low && value <= high;
    if (!inside) {
        throw ConfigError(std::string("PeriodicResampler: ") + field + " must be in " + (open ? "(" : "[") +
                          number_text(low) + ", " + number_text(high) + (open ? ")" : "]") + ", got " +
                          number_text(value));
    }
}

// Grid points per input sample such that the linear blend between two of
// them errs by less than the stop-band level (6 dB below it): the blend of
// e^(j 2 pi f t) on a grid of spacing 1/M errs by at most (2 pi f / M)^2 / 8.
std::size_t phases_for(double cutoff, double attenuation_db) {
    const double allowed = std::pow(10.0, -(attenuation_db + 6.0) / 20.0);
    const double phases = 2.0 * M_PI * cutoff / std::sqrt(8.0 * allowed);
    return std::max<std::size_t>(16, static_cast<std::size_t>(std::ceil(phases)));
}

struct FilterBank {
    const float* rows;
    const float* slopes;
    std::size_t width;
    std::size_t phases;
};

// Sixteen floats, eight complex taps: one AVX-512 register; the other clones
// split them into two or four.
using Lanes = float __attribute__((vector_size(64)));

// sum += (row + blend * slope) * x over sixteen floats.
[[gnu::always_inline]] inline void accumulate(Lanes& sum, const float* row, const float* slope, const Lanes& blend,
                                              const float* x) {
    Lanes tap;
    Lanes change;
    Lanes input;
    std::memcpy(&tap, row, sizeof tap);
    std::memcpy(&change, slope, sizeof change);
    std::memcpy(&input, x, sizeof input);
    sum += (tap + blend * change) * input;
}

// The taps are stored twice each, beside the real and imaginary parts of the
// interleaved input, so the product runs over one array of floats; two
// partial sums in registers keep the additions independent (an array of
// them indexed at run time would live on the stack). `count` is a multiple
// of 16. Single precision errs near -140 dB, far below the stop band. The
// result still holds eight complex partial sums, real parts on even lanes.
// (Vectors this wide go out through references: the functions are inlined,
// and a return by value would have no fixed calling convention.)
[[gnu::always_inline]] inline void blended_sum(const float* row, const float* slope, float blend, const float* x,
                                               std::size_t count, Lanes& result) {
    Lanes even = {};
    Lanes odd = {};
    const Lanes blends = Lanes{} + blend;
    std::size_t k = 0;
    for (; k + 32 <= count; k += 32) {
        accumulate(even, row + k, slope + k, blends, x + k);
        accumulate(odd, row + k + 16, slope + k + 16, blends, x + k + 16);
    }
    if (k < count) accumulate(even, row + k, slope + k, blends, x + k);
    result = even + odd;
}

// Folds of two vectors into one, lanes 0-15 being a's and 16-31 b's; each
// adds lanes an even distance apart, so real parts stay on even lanes.
// Each half of a and of b, 16 lanes, folds to 8.
[[gnu::always_inline]] inline void fold_halves(const Lanes& a, const Lanes& b, Lanes& result) {
    result = __builtin_shufflevector(a, b, 0, 1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19, 20, 21, 22, 23) +
             __builtin_shufflevector(a, b, 8, 9, 10, 11, 12, 13, 14, 15, 24, 25, 26, 27, 28, 29, 30, 31);
}

// Each group of 8 lanes folds to 4.
[[gnu::always_inline]] inline void fold_quarters(const Lanes& a, const Lanes& b, Lanes& result) {
    result = __builtin_shufflevector(a, b, 0, 1, 2, 3, 8, 9, 10, 11, 16, 17, 18, 19, 24, 25, 26, 27) +
             __builtin_shufflevector(a, b, 4, 5, 6, 7, 12, 13, 14, 15, 20, 21, 22, 23, 28, 29, 30, 31);
}

// Each group of 4 lanes folds to one complex number.
[[gnu::always_inline]] inline void fold_eighths(const Lanes& a, const Lanes& b, Lanes& result) {
    result = __builtin_shufflevector(a, b, 0, 1, 4, 5, 8, 9, 12, 13, 16, 17, 20, 21, 24, 25, 28, 29) +
             __builtin_shufflevector(a, b, 2, 3, 6, 7, 10, 11, 14, 15, 18, 19, 22, 23, 26, 27, 30, 31);
}

// The complex sums of eight outputs' partial sums, as sixteen floats: the
// real and imaginary part of output i on lanes 2i and 2i + 1. Three levels
// of folding serve all eight outputs, where one output alone needs four.
[[gnu::always_inline]] inline void reduce_eight(const Lanes (&sums)[8], Lanes& result) {
    Lanes halves[4];
    for (std::size_t i = 0; i < 4; ++i) fold_halves(sums[2 * i], sums[2 * i + 1], halves[i]);
    Lanes quarters[2];
    fold_quarters(halves[0], halves[1], quarters[0]);
    fold_quarters(halves[2], halves[3], quarters[1]);
    fold_eighths(quarters[0], quarters[1], result);
}

// One output's complex sum.
[[gnu::always_inline]] inline Complex reduce_one(const Lanes& total) {
    using Half = float __attribute__((vector_size(32)));
    using Quarter = float __attribute__((vector_size(16)));
    const Half half = __builtin_shufflevector(total, total, 0, 1, 2, 3, 4, 5, 6, 7) +
                      __builtin_shufflevector(total, total, 8, 9, 10, 11, 12, 13, 14, 15);
    const Quarter quarter =
        __builtin_shufflevector(half, half, 0, 1, 2, 3) + __builtin_shufflevector(half, half, 4, 5, 6, 7);
    return {static_cast<double>(quarter[0] + quarter[2]), static_cast<double>(quarter[1] + quarter[3])};
}

// The partial sums of the output at `instant`, whose inputs start in
// `window` at input whole_first - (width / 2 - 1).
[[gnu::always_inline]] inline void output_sum(const FilterBank& bank, const float* window, std::size_t whole_first,
                                              double instant, Lanes& result) {
    const auto whole = static_cast<std::size_t>(instant);
    const double grid = (instant - static_cast<double>(whole)) * static_cast<double>(bank.phases);
    const std::size_t phase = std::min(static_cast<std::size_t>(grid), bank.phases - 1);
    const auto blend = static_cast<float>(grid - static_cast<double>(phase));
    const std::size_t taps = 2 * bank.width;
    blended_sum(bank.rows + phase * taps, bank.slopes + phase * taps, blend, window + 2 * (whole - whole_first), taps,
                result);
}

// Instants are start + k * step, never accumulated. Outputs go in blocks:
// the inputs a block reads are first copied, in single precision and unwrapped
// across the seam, into a window that stays in cache, so no output needs a
// division or a gather, and no copy of the whole period is made. The whole
// loop is compiled for three vector widths so the dot product inlines into
// the wider clones.
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
void resample_from(const FilterBank& bank, SampleSpan period, double start, double step, std::span<Complex> out) {
    const std::size_t n = period.size();
    const std::size_t width = bank.width;
    const std::size_t back = (width / 2 - 1) % n;  // inputs before the newest one
    const auto* parts = reinterpret_cast<const double*>(period.data());
    auto* out_parts = reinterpret_cast<double*>(out.data());
    // About 8192 inputs a block, and one output at the least.
    const std::size_t block = std::max<std::size_t>(1, static_cast<std::size_t>(8192.0 / step));
    std::vector<float> window(2 * (static_cast<std::size_t>(static_cast<double>(block) * step) + width + 2));

    for (std::size_t first = 0; first < out.size(); first += block) {
        const std::size_t count = std::min(block, out.size() - first);
        const auto instant_of = [&](std::size_t k) { return start + static_cast<double>(k) * step; };  // >= 0
        const auto whole_first = static_cast<std::size_t>(instant_of(first));
        const auto whole_last = static_cast<std::size_t>(instant_of(first + count - 1));
        std::size_t source = (whole_first % n + n - back) % n;
        const std::size_t length = whole_last - whole_first + width;
        // In pieces that do not cross the seam, so each converts as one run.
        for (std::size_t j = 0; j < length;) {
            const std::size_t piece = std::min(length - j, n - source);
            for (std::size_t t = 0; t < 2 * piece; ++t) window[2 * j + t] = static_cast<float>(parts[2 * source + t]);
            j += piece;
            source = source + piece == n ? 0 : source + piece;
        }
        // Eight outputs at a time share one reduction of their partial sums.
        const std::size_t stop = first + count;
        std::size_t k = first;
        for (; k + 8 <= stop; k += 8) {
            Lanes sums[8];
#pragma GCC unroll 8
            for (std::size_t i = 0; i < 8; ++i) output_sum(bank, window.data(), whole_first, instant_of(k + i), sums[i]);
            using Doubles = double __attribute__((vector_size(64)));
            Lanes both;
            reduce_eight(sums, both);
            const Doubles low =
                __builtin_convertvector(__builtin_shufflevector(both, both, 0, 1, 2, 3, 4, 5, 6, 7), Doubles);
            const Doubles high =
                __builtin_convertvector(__builtin_shufflevector(both, both, 8, 9, 10, 11, 12, 13, 14, 15), Doubles);
            std::memcpy(out_parts + 2 * k, &low, sizeof low);
            std::memcpy(out_parts + 2 * k + 8, &high, sizeof high);
        }
        for (; k < stop; ++k) {
            Lanes sum;
            output_sum(bank, window.data(), whole_first, instant_of(k), sum);
            out[k] = reduce_one(sum);
        }
    }
}

// The zeroth-order modified Bessel function by its power series, which
// converges within a few dozen terms for the window's arguments (< 20).
double bessel_i0(double x) {
    const double quarter_square = 0.25 * x * x;
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; term > 1e-17 * sum; ++k) {
        term *= quarter_square / (static_cast<double>(k) * static_cast<double>(k));
        sum += term;
    }
    return sum;
}

// Odd-length Kaiser-window low-pass, cut-off in cycles per sample (sinc of
// 2 fc t times the window); symmetric, so each half is computed once.
std::vector<double> kaiser_lowpass(std::size_t length, double cutoff, double beta) {
    std::vector<double> taps(length);
    const double centre = static_cast<double>(length - 1) / 2.0;
    const double norm = 1.0 / bessel_i0(beta);
    for (std::size_t k = 0; k <= length / 2; ++k) {
        const double t = static_cast<double>(k) - centre;
        const double r = t / centre;
        const double window = bessel_i0(beta * std::sqrt(std::max(0.0, 1.0 - r * r))) * norm;
        const double x = 2.0 * M_PI * cutoff * t;
        const double sinc = x == 0.0 ? 1.0 : std::sin(x) / x;
        taps[k] = taps[length - 1 - k] = window * sinc;
    }
    return taps;
}

}  // namespace

void ResamplerOptions::validate() const {
    require_in_range("passband", passband, 0.0, 1.0, true);
    require_in_range("attenuation_db", attenuation_db, 40.0, 150.0, false);
    require_in_range("stopband", stopband, 1.0, 2.0 - passband, false);
}

PeriodicResampler::PeriodicResampler(double step, ResamplerOptions options) : step_(step) {
    if (!(std::isfinite(step) && step > 0.0)) {
        throw ConfigError("PeriodicResampler: step must be a finite number > 0, got " + number_text(step));
    }
    options.validate();

    // Frequencies in cycles per input sample: flat to `passband` of the lower
    // Nyquist frequency, stopped from `stopband` of it on.
    const double nyquist = 0.5 * std::min(1.0, 1.0 / step);
    const double pass_edge = options.passband * nyquist;
    const double stop_edge = options.stopband * nyquist;
    const double transition = stop_edge - pass_edge;
    width_ = estimate_req_filter_len(static_cast<float>(std::min(transition, 0.49)),
                                     static_cast<float>(options.attenuation_db));
    width_ += (8 - width_ % 8) % 8;  // a multiple of 8: whole blocks of sixteen floats
    phases_ = phases_for(stop_edge, options.attenuation_db);

    // Prototype on the fine grid, centred on tap M * L / 2. liquid-dsp gives
    // the length and the window's beta for the attenuation; the taps are
    // computed here, as liquid's own design takes tens of microseconds a tap.
    const std::size_t length = phases_ * width_ + 1;
    const double beta = kaiser_beta_As(static_cast<float>(options.attenuation_db));
    const double cutoff = 0.5 * (pass_edge + stop_edge);  // cycles per input sample
    const std::vector<double> prototype = kaiser_lowpass(length, cutoff / static_cast<double>(phases_), beta);
    double sum = 0.0;
    for (double tap : prototype) sum += tap;
    const double gain = static_cast<double>(phases_) / sum;  // unit gain at DC for every delay

    // Output at input instant i + d (0 <= d < 1) reads inputs i - L/2 + 1 ... i + L/2;
    // input i - L/2 + 1 + j sits at distance d + L/2 - 1 - j, prototype tap
    // M * d + M * (L - 1 - j).
    rows_.resize((phases_ + 1) * 2 * width_);
    for (std::size_t p = 0; p <= phases_; ++p) {
        for (std::size_t j = 0; j < width_; ++j) {
            const double tap = gain * prototype[p + phases_ * (width_ - 1 - j)];
            rows_[(p * width_ + j) * 2] = static_cast<float>(tap);
            rows_[(p * width_ + j) * 2 + 1] = static_cast<float>(tap);
        }
    }
    slopes_.resize(phases_ * 2 * width_);
    for (std::size_t k = 0; k < slopes_.size(); ++k) slopes_[k] = rows_[k + 2 * width_] - rows_[k];
}

void PeriodicResampler::resample(SampleSpan period, double first, std::span<Complex> out) const {
    if (period.empty()) throw ConfigError("PeriodicResampler: the period holds no samples");
    const double length = static_cast<double>(period.size());
    const double start = first - length * std::floor(first / length);
    resample_from({rows_.data(), slopes_.data(), width_, phases_}, period, start, step_, out);
}

Samples resample_periodic(SampleSpan period, double step, std::size_t output_count, double first,
                          ResamplerOptions options) {
    Samples out(output_count);
    PeriodicResampler(step, options).resample(period, first, out);
    return out;
}

}  // namespace dot11b::resampling
