#include "resampling/periodic_resampler.hpp"

#include <liquid/liquid.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
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

// Outputs in groups of 8, 16 or 32 (one, two or four vectors of complex floats) may
// share the grid point at their middle output's delay when the step is near
// one: their delays lie within spread = (group - 1) / 2 |step - 1| of it, so
// blends reach up to `spread` outside their grid interval. A blend at
// distance e outside an interval of length s errs by e (s + e) / 2 times the
// second derivative, (2 pi f)^2 for a tone at f. The largest group, and the
// grid points per input sample, that keep that within the bound above with no
// more than `kMostSharedPhases` points (so that a design stays quick).
constexpr std::size_t kMostSharedPhases = 1024;
constexpr std::size_t kLargestGroup = 32;

struct SharedPhases {
    std::size_t group;
    std::size_t phases;
};

std::optional<SharedPhases> shared_phases_for(double cutoff, double attenuation_db, double step) {
    const double allowed = std::pow(10.0, -(attenuation_db + 6.0) / 20.0);
    for (const std::size_t group : {kLargestGroup, kLargestGroup / 2, kLargestGroup / 4}) {
        const double spread = 0.5 * static_cast<double>(group - 1) * std::abs(step - 1.0);
        const double room = 2.0 * allowed / std::pow(2.0 * M_PI * cutoff, 2.0) - spread * spread;
        if (room <= 0.0) continue;
        const double phases = std::ceil(spread / room);
        if (phases <= static_cast<double>(kMostSharedPhases)) {
            return SharedPhases{group, static_cast<std::size_t>(phases)};
        }
    }
    return std::nullopt;
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
// Eight doubles and eight floats, for conversions.
using Doubles = double __attribute__((vector_size(64)));
using Floats = float __attribute__((vector_size(32)));

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
// `window` at input whole - (width / 2 - 1) - origin.
[[gnu::always_inline]] inline void output_sum(const FilterBank& bank, const float* window, std::int64_t origin,
                                              double instant, Lanes& result) {
    const auto whole = static_cast<std::int64_t>(instant);
    const double grid = (instant - static_cast<double>(whole)) * static_cast<double>(bank.phases);
    const std::size_t phase = std::min(static_cast<std::size_t>(grid), bank.phases - 1);
    const auto blend = static_cast<float>(grid - static_cast<double>(phase));
    const std::size_t taps = 2 * bank.width;
    blended_sum(bank.rows + phase * taps, bank.slopes + phase * taps, blend, window + 2 * (whole - origin), taps,
                result);
}

// Floats in a vector of type V, and complex numbers.
template <class V>
constexpr std::size_t kFloatsIn = sizeof(V) / sizeof(float);

// Eight floats, four complex numbers: one AVX2 register. The AVX2 clone
// holds only sixteen of them, and splits sixteen-float vectors badly.
using HalfLanes = float __attribute__((vector_size(32)));

// The complex floats of a vector as complex doubles at `out`.
[[gnu::always_inline]] inline void store_complex(const HalfLanes& half, double* out) {
    const Doubles wide = __builtin_convertvector(half, Doubles);
    std::memcpy(out, &wide, sizeof wide);
}

[[gnu::always_inline]] inline void store_complex(const Lanes& both, double* out) {
    store_complex(__builtin_shufflevector(both, both, 0, 1, 2, 3, 4, 5, 6, 7), out);
    store_complex(__builtin_shufflevector(both, both, 8, 9, 10, 11, 12, 13, 14, 15), out + 8);
}

// kVectors vectors of consecutive outputs that share one grid point's taps,
// each with its own blend (lanes 2i and 2i + 1 for output i): the filter
// runs across the outputs, one tap at a time over their inputs, so no sum
// needs folding and each tap serves every vector. `x` holds the first
// output's oldest input. Rows store each tap twice; one of the two is read.
template <class V, std::size_t kVectors>
[[gnu::always_inline]] inline void shared_phase_outputs(const FilterBank& bank, const float* x, std::size_t phase,
                                                        const V (&blends)[kVectors], V (&result)[kVectors]) {
    const float* row = bank.rows + phase * 2 * bank.width;
    const float* slope = bank.slopes + phase * 2 * bank.width;
    // Sums of alternate taps apart for fewer than four vectors, so that
    // enough additions are in flight.
    constexpr std::size_t kSplit = kVectors >= 4 ? 1 : 2;
    V taps[kSplit][kVectors] = {};
    V slopes[kSplit][kVectors] = {};
    for (std::size_t j = 0; j < bank.width; j += kSplit) {
#pragma GCC unroll 2
        for (std::size_t h = 0; h < kSplit; ++h) {
            const float tap = row[2 * (j + h)];
            const float change = slope[2 * (j + h)];
#pragma GCC unroll 4
            for (std::size_t v = 0; v < kVectors; ++v) {
                V in;
                std::memcpy(&in, x + 2 * (j + h) + kFloatsIn<V> * v, sizeof in);
                // Adding zero keeps `in` in a register: otherwise the compiler
                // reads it from memory for each of its two products, and the
                // loop waits on loads.
                in += V{};
                taps[h][v] += tap * in;
                slopes[h][v] += change * in;
            }
        }
    }
#pragma GCC unroll 4
    for (std::size_t v = 0; v < kVectors; ++v) {
        V tap_sum = taps[0][v];
        V slope_sum = slopes[0][v];
        for (std::size_t h = 1; h < kSplit; ++h) tap_sum += taps[h][v], slope_sum += slopes[h][v];
        result[v] = tap_sum + blends[v] * slope_sum;
    }
}

// The period read circularly. When the outputs overwrite it, the inputs past
// the seam come from `head`, a copy of its first samples taken beforehand,
// and those before its start from `tail`, a copy of its last `tail_size`.
struct Source {
    const double* parts;  // interleaved real and imaginary parts
    std::int64_t size;
    const float* head = nullptr;
    const float* tail = nullptr;
    std::int64_t tail_size = 0;
};

// Outputs first ... stop - 1 in groups of kGroup sharing a grid point,
// kVectors vectors of type V at a time; a last group reaches past `stop` and
// only its first outputs are stored. Output i of a group has instant
// centre + i + (i - middle) (step - 1): input whole + i at delay
// (centre - whole) + (i - middle) (step - 1). The inputs the next block will
// read, `lead` inputs on, are fetched into the cache meanwhile, so that the
// block's copy does not wait for memory.
template <class V, std::size_t kVectors, std::size_t kGroup>
[[gnu::always_inline]] inline void shared_phase_block(const FilterBank& bank, const float* window,
                                                      std::int64_t origin, double start, double step,
                                                      std::size_t first, std::size_t stop, std::span<Complex> out,
                                                      const Source& source, std::int64_t lead) {
    constexpr std::size_t kPerVector = kFloatsIn<V> / 2;  // outputs
    constexpr std::size_t kVectorsPerGroup = kGroup / kPerVector;
    static_assert(kVectorsPerGroup % kVectors == 0);
    const double middle = 0.5 * static_cast<double>(kGroup - 1);
    const double drift = step - 1.0;
    const auto phases = static_cast<double>(bank.phases);
    V spread[kVectorsPerGroup];
    for (std::size_t lane = 0; lane < kFloatsIn<V> * kVectorsPerGroup; ++lane) {
        spread[lane / kFloatsIn<V>][lane % kFloatsIn<V>] =
            static_cast<float>((static_cast<double>(lane / 2) - middle) * drift * phases);
    }
    auto* out_parts = reinterpret_cast<double*>(out.data());
    for (std::size_t k = first; k < stop; k += kGroup) {
        const double centre = start + static_cast<double>(k) * step + middle * drift;
        const double whole = std::floor(centre);
        const double grid = (centre - whole) * phases;
        const std::size_t phase = std::min(static_cast<std::size_t>(grid), bank.phases - 1);
        const auto blend = static_cast<float>(grid - static_cast<double>(phase));
        const std::int64_t ahead = static_cast<std::int64_t>(whole) + lead;
        if (ahead >= 0 && ahead + static_cast<std::int64_t>(kGroup) <= source.size) {
            for (std::size_t line = 0; line < kGroup * sizeof(Complex); line += 64) {
                __builtin_prefetch(reinterpret_cast<const char*>(source.parts + 2 * ahead) + line);
            }
        }
        const float* x = window + 2 * (static_cast<std::int64_t>(whole) - origin);
        for (std::size_t part = 0; part < kVectorsPerGroup; part += kVectors) {
            V blends[kVectors];
#pragma GCC unroll 4
            for (std::size_t v = 0; v < kVectors; ++v) blends[v] = spread[part + v] + blend;
            V sums[kVectors];
            shared_phase_outputs<V, kVectors>(bank, x + kFloatsIn<V> * part, phase, blends, sums);
#pragma GCC unroll 4
            for (std::size_t v = 0; v < kVectors; ++v) {
                const std::size_t at = k + kPerVector * (part + v);
                if (at + kPerVector <= stop) {
                    store_complex(sums[v], out_parts + 2 * at);
                } else if (at < stop) {
                    double last[kFloatsIn<V>];
                    store_complex(sums[v], last);
                    std::memcpy(out_parts + 2 * at, last, 2 * sizeof(double) * (stop - at));
                }
            }
        }
    }
}

// Groups of kGroup outputs sharing a grid point, in the vectors that suit
// the clone running: sixteen floats, four at a time, where AVX-512 is there
// (the clone for it is the one running), otherwise eight floats, two at a
// time, so that the sums stay in registers.
template <std::size_t kGroup>
[[gnu::always_inline]] inline void shared_phase_groups(bool wide, const FilterBank& bank, const float* window,
                                                       std::int64_t origin, double start, double step,
                                                       std::size_t first, std::size_t stop, std::span<Complex> out,
                                                       const Source& source, std::int64_t lead) {
    constexpr std::size_t kWideVectors = std::min<std::size_t>(4, kGroup / 8);
    if (wide) {
        shared_phase_block<Lanes, kWideVectors, kGroup>(bank, window, origin, start, step, first, stop, out, source,
                                                        lead);
    } else {
        shared_phase_block<HalfLanes, 2, kGroup>(bank, window, origin, start, step, first, stop, out, source, lead);
    }
}

// Inputs `from` ... `from + count - 1` (indices before the period's start
// or past its end wrap) into `window`, in pieces that do not cross the seam
// so that each converts as one run.
[[gnu::always_inline]] inline void fill(const Source& source, std::int64_t from, std::int64_t count, float* window) {
    const std::int64_t n = source.size;
    for (std::int64_t j = 0; j < count;) {
        const std::int64_t index = from + j;
        if (source.head != nullptr && index >= n) {
            std::memcpy(window + 2 * j, source.head + 2 * (index - n), 2 * sizeof(float) * (count - j));
            return;
        }
        if (source.tail != nullptr && index < 0) {
            const std::int64_t piece = std::min(count - j, -index);
            std::memcpy(window + 2 * j, source.tail + 2 * (source.tail_size + index), 2 * sizeof(float) * piece);
            j += piece;
            continue;
        }
        const std::int64_t at = (index % n + n) % n;
        const std::int64_t piece = std::min(count - j, n - at);
        const double* in = source.parts + 2 * at;
        float* to = window + 2 * j;
        std::int64_t t = 0;
        for (; t + 8 <= 2 * piece; t += 8) {
            Doubles parts;
            std::memcpy(&parts, in + t, sizeof parts);
            const auto single = __builtin_convertvector(parts, Floats);
            std::memcpy(to + t, &single, sizeof single);
        }
        for (; t < 2 * piece; ++t) to[t] = static_cast<float>(in[t]);
        j += piece;
    }
}

// Instants are start + k * step, never accumulated. Outputs go in blocks of
// whole groups: the inputs a block reads are first copied, in single
// precision and unwrapped across the seam, into a window that stays in
// cache, so no output needs a division or a gather, and no copy of the whole
// period is made. Consecutive windows overlap by about a filter's length;
// that overlap moves within the window instead of being read again, so
// outputs may overwrite inputs behind them. Blocks go `backward`, last
// first, when outputs lie ahead of their inputs (a step below one): then
// each block's outputs overwrite only inputs that the blocks after it
// (earlier ones) hold in the overlap. With a `group` of 8, 16 or 32, that
// many outputs at a time take the taps of one grid point; with 0 each output
// has its own. The whole loop is compiled for three vector widths so that
// the dot products inline into the wider clones.
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
void resample_from(const FilterBank& bank, const Source& source, double start, double step, std::size_t group,
                   bool backward, std::span<Complex> out) {
    const std::size_t width = bank.width;
    const auto back = static_cast<std::int64_t>(width / 2 - 1);  // inputs before the newest one
    auto* out_parts = reinterpret_cast<double*>(out.data());
    const auto instant_of = [&](std::size_t k) { return start + static_cast<double>(k) * step; };  // >= 0
    // About 8192 inputs a block, whole groups of outputs.
    const std::size_t block =
        std::max(kLargestGroup, static_cast<std::size_t>(8192.0 / step) / kLargestGroup * kLargestGroup);
    // One input of margin before, and room for a last group's outputs after.
    const auto margin = static_cast<std::int64_t>(std::ceil(static_cast<double>(kLargestGroup) * step)) + 2;
    const std::size_t longest = static_cast<std::size_t>(static_cast<double>(block) * step) + width + 2;
    // Every float is written before it is read.
    const auto window_floats = std::make_unique_for_overwrite<float[]>(2 * (longest + static_cast<std::size_t>(margin)));
    float* const window = window_floats.get();

    const auto lead = static_cast<std::int64_t>(static_cast<double>(block) * step) * (backward ? -1 : 1);
    const bool wide = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
                      __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512dq");
    // The inputs the window holds, none at first.
    std::int64_t held_from = std::numeric_limits<std::int64_t>::min();
    std::int64_t held_to = held_from;
    const std::size_t blocks = (out.size() + block - 1) / block;
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t first = (backward ? blocks - 1 - b : b) * block;
        const std::size_t count = std::min(block, out.size() - first);
        const auto whole_first = static_cast<std::int64_t>(instant_of(first));
        const auto whole_last = static_cast<std::int64_t>(instant_of(first + count - 1));
        const std::int64_t from = whole_first - back - 1;
        const std::int64_t to = whole_last - back + static_cast<std::int64_t>(width) + margin;
        const std::int64_t kept_from = std::max(from, held_from);
        const std::int64_t kept_to = std::min(to, held_to);
        if (kept_from < kept_to) {
            std::memmove(window + 2 * (kept_from - from), window + 2 * (kept_from - held_from),
                         2 * sizeof(float) * (kept_to - kept_from));
            fill(source, from, kept_from - from, window);
            fill(source, kept_to, to - kept_to, window + 2 * (kept_to - from));
        } else {
            fill(source, from, to - from, window);
        }
        held_from = from;
        held_to = to;
        const std::int64_t origin = from + back;  // the input whose window starts at the window's start

        const std::size_t stop = first + count;
        if (group == 32) {
            shared_phase_groups<32>(wide, bank, window, origin, start, step, first, stop, out, source, lead);
            continue;
        }
        if (group == 16) {
            shared_phase_groups<16>(wide, bank, window, origin, start, step, first, stop, out, source, lead);
            continue;
        }
        if (group == 8) {
            shared_phase_groups<8>(wide, bank, window, origin, start, step, first, stop, out, source, lead);
            continue;
        }
        // Eight outputs at a time share one reduction of their partial sums.
        std::size_t k = first;
        for (; k + 8 <= stop; k += 8) {
            Lanes sums[8];
#pragma GCC unroll 8
            for (std::size_t i = 0; i < 8; ++i) output_sum(bank, window, origin, instant_of(k + i), sums[i]);
            Lanes both;
            reduce_eight(sums, both);
            store_complex(both, out_parts + 2 * k);
        }
        for (; k < stop; ++k) {
            Lanes sum;
            output_sum(bank, window, origin, instant_of(k), sum);
            out[k] = reduce_one(sum);
        }
    }
}

// The zeroth-order modified Bessel function by its power series, which
// converges within a few dozen terms for the window's arguments (< 20). The
// terms' divisions by k^2 are products with a table: a design takes the
// function once for every two taps of its fine grid.
double bessel_i0(double x) {
    static constexpr auto kInverseSquares = [] {
        std::array<double, 64> inverse{};
        for (std::size_t k = 1; k < inverse.size(); ++k) inverse[k] = 1.0 / static_cast<double>(k * k);
        return inverse;
    }();
    const double quarter_square = 0.25 * x * x;
    double term = 1.0;
    double sum = 1.0;
    for (std::size_t k = 1; k < kInverseSquares.size() && term > 1e-17 * sum; ++k) {
        term *= quarter_square * kInverseSquares[k];
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
    if (const auto shared = shared_phases_for(stop_edge, options.attenuation_db, step)) {
        group_ = shared->group;
        phases_ = std::max(phases_, shared->phases);
    }

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
    const Source source{reinterpret_cast<const double*>(period.data()), static_cast<std::int64_t>(period.size())};
    resample_from({rows_.data(), slopes_.data(), width_, phases_}, source, start, step_, group_, false, out);
}

void PeriodicResampler::resample_in_place(Samples& period, std::size_t output_count) const {
    if (period.empty()) throw ConfigError("PeriodicResampler: the period holds no samples");
    const std::size_t n = period.size();
    // The furthest input any window reads (a last group of eight, its filter
    // and the window's margins), and how far past the seam that lies.
    const auto reach =
        static_cast<std::size_t>(static_cast<double>(output_count + kLargestGroup) * step_) + width_ + 4;
    const std::size_t past_seam = reach > n ? reach - n : 0;
    // A step of one or more reads inputs at or ahead of the outputs, so the
    // blocks go forward; a step below one reads inputs behind them, so they
    // go backward, and the first block's inputs before the seam come from a
    // copy of the last ones.
    const bool backward = step_ < 1.0;
    if ((!backward && output_count > n) || past_seam > n / 2 || width_ > n / 2) {
        Samples out(output_count);
        resample(period, 0.0, out);
        period = std::move(out);
        return;
    }
    // Outputs past the period's end need room; the vector's spare capacity
    // gives it without a copy.
    if (output_count > n) period.resize(output_count);
    const auto* parts = reinterpret_cast<const double*>(period.data());
    const auto single = [parts](std::size_t from, std::size_t count) {
        std::vector<float> copy(2 * count);
        for (std::size_t t = 0; t < copy.size(); ++t) copy[t] = static_cast<float>(parts[2 * from + t]);
        return copy;
    };
    const std::vector<float> head = single(0, past_seam);
    const std::vector<float> tail = backward ? single(n - width_, width_) : std::vector<float>{};
    const Source source{parts, static_cast<std::int64_t>(n), head.data(), backward ? tail.data() : nullptr,
                        static_cast<std::int64_t>(tail.size() / 2)};
    resample_from({rows_.data(), slopes_.data(), width_, phases_}, source, 0.0, step_, group_, backward,
                  std::span(period.data(), output_count));
    period.resize(output_count);
}

Samples resample_periodic(SampleSpan period, double step, std::size_t output_count, double first,
                          ResamplerOptions options) {
    Samples out(output_count);
    PeriodicResampler(step, options).resample(period, first, out);
    return out;
}

}  // namespace dot11b::resampling
