#include "shaping/chip_tables.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

namespace dot11b::shaping {
namespace {

// 4^6 windows: 64 to 196 KiB of table for 2 and 3 outputs per chip.
constexpr std::size_t kMaxWindowChips = 6;
// A table must be used for this many times its own number of blocks.
constexpr std::size_t kPayoff = 2;

using Alphabet = std::array<Complex, 4>;

// Quadrants 0 to 3 of a phasor off the axes in the order of its quarter
// turns: (+, +), (-, +), (-, -), (+, -).
unsigned quadrant(Complex z) {
    const unsigned re_negative = std::signbit(z.real()) ? 1U : 0U;
    const unsigned im_negative = std::signbit(z.imag()) ? 3U : 0U;
    return im_negative ^ re_negative;
}

// Non-zero unless a and b are the same value (neither is zero or NaN here).
std::uint64_t difference(Complex a, Complex b) {
    return (std::bit_cast<std::uint64_t>(a.real()) ^ std::bit_cast<std::uint64_t>(b.real())) |
           (std::bit_cast<std::uint64_t>(a.imag()) ^ std::bit_cast<std::uint64_t>(b.imag()));
}

// z j^k, exactly.
Complex quarter_turn(Complex z, unsigned k) {
    switch (k & 3U) {
    case 1: return {-z.imag(), z.real()};
    case 2: return -z;
    case 3: return {z.imag(), -z.real()};
    default: return z;
    }
}

// The four quarter turns of z, indexed by their quadrant.
Alphabet alphabet_of(Complex z) {
    Alphabet values;
    const unsigned q = quadrant(z);
    for (unsigned k = 0; k < 4; ++k) values[(q + k) & 3U] = quarter_turn(z, k);
    return values;
}

struct Run {
    std::size_t begin;
    std::size_t end;
    Alphabet values;
};

struct ChipScan {
    std::vector<Run> runs;
    std::vector<std::uint8_t> quadrants;  // of each chip in a run
    Complex sum;                          // of all chips, which this pass reads anyway
};

// Maximal runs of at least min_length chips that are quarter turns of one another.
ChipScan scan_chips(SampleSpan chips, std::size_t min_length) {
    ChipScan scan;
    scan.quadrants.assign(chips.size(), 0);
    std::array<Complex, 4> partial{};  // interleaved sums: one running sum waits for every addition
    std::size_t i = 0;
    while (i < chips.size()) {
        const Complex first = chips[i];
        if (first.real() == 0 || first.imag() == 0) {
            partial[0] += first;
            ++i;
            continue;
        }
        const Alphabet values = alphabet_of(first);
        // Whole groups without a branch per chip, then chip by chip to the end of the run.
        constexpr std::size_t kGroup = 16;
        std::size_t j = i;
        for (; j + kGroup <= chips.size(); j += kGroup) {
            std::uint64_t mismatch = 0;
            std::array<Complex, 4> group = {};
            for (std::size_t k = j; k < j + kGroup; k += 4) {
                for (std::size_t u = 0; u < 4; ++u) {
                    const unsigned q = quadrant(chips[k + u]);
                    scan.quadrants[k + u] = static_cast<std::uint8_t>(q);
                    mismatch |= difference(chips[k + u], values[q]);
                    group[u] += chips[k + u];
                }
            }
            if (mismatch != 0) break;
            for (std::size_t k = 0; k < 4; ++k) partial[k] += group[k];
        }
        for (; j < chips.size(); ++j) {
            const unsigned q = quadrant(chips[j]);
            if (difference(chips[j], values[q]) != 0) break;
            scan.quadrants[j] = static_cast<std::uint8_t>(q);
            partial[0] += chips[j];
        }
        if (j - i >= min_length) scan.runs.push_back({i, j, values});
        i = j;
    }
    scan.sum = (partial[0] + partial[1]) + (partial[2] + partial[3]);
    return scan;
}

// Where the blocks fall: block m holds outputs first_output + m P ... + P - 1,
// whose newest chips are first_chip + m C ... + C - 1 (unwrapped).
struct BlockPlan {
    std::size_t outputs;  // P
    std::size_t chips;    // C
    std::size_t window;   // L = C + width - 1 chips, oldest first
    std::size_t first_output;
    std::size_t first_chip;
    std::size_t start_position;  // full-rate position of a block's first output, modulo factor
};

BlockPlan block_plan(std::size_t factor, std::size_t step, std::size_t width, std::size_t delay) {
    const std::size_t g = std::gcd(factor, step);
    BlockPlan plan{factor / g, step / g, step / g + width - 1, 0, 0, delay % g};
    // The first output that sits on the earliest position of its chip a block can start at.
    while ((plan.first_output * step + delay) % factor != plan.start_position) ++plan.first_output;
    plan.first_chip = (plan.first_output * step + delay) / factor;
    return plan;
}

// Entry w P + k: output k of the block whose window chip t has quadrant (w >> 2t) & 3.
std::vector<Complex> block_table(const PolyphaseFilter& filter, const BlockPlan& plan, const Alphabet& values) {
    const std::size_t width = filter.width();
    const std::size_t windows = std::size_t{1} << (2 * plan.window);
    std::vector<Complex> table(windows * plan.outputs);
    for (std::size_t w = 0; w < windows; ++w) {
        for (std::size_t k = 0; k < plan.outputs; ++k) {
            const std::size_t position = plan.start_position + k * filter.step();
            const std::size_t newest = position / filter.factor() + width - 1;  // window index of the newest chip
            const double* h = filter.phase_taps(position % filter.factor());
            double re = -filter.mean().real();
            double im = -filter.mean().imag();
            for (std::size_t j = 0; j < width; ++j) {
                const Complex c = values[(w >> (2 * (newest - j))) & 3U];
                re += h[j] * c.real();
                im += h[j] * c.imag();
            }
            table[w * plan.outputs + k] = Complex(re, im);
        }
    }
    return table;
}

// Appends `blocks` blocks from the table, the first of whose windows starts at
// q. The block size is a compile-time constant for the usual ratios (0: any),
// so the copy is a few moves rather than a call to a block-copy routine.
template <std::size_t kOutputs>
void copy_blocks(const std::vector<Complex>& table, const BlockPlan& plan, const std::uint8_t* q, std::size_t blocks,
                 SampleAppender& out) {
    const std::size_t outputs = kOutputs != 0 ? kOutputs : plan.outputs;
    // The window index of the first block, then shifted by the block's chips.
    std::size_t w = 0;
    for (std::size_t t = 0; t < plan.window; ++t) w |= std::size_t{q[t]} << (2 * t);
    const std::size_t newest_shift = 2 * (plan.window - plan.chips);
    for (std::size_t m = 0; m < blocks; ++m) {
        if (m > 0) {
            q += plan.chips;
            w >>= 2 * plan.chips;
            for (std::size_t t = 0; t < plan.chips; ++t) {
                w |= std::size_t{q[plan.window - plan.chips + t]} << (newest_shift + 2 * t);
            }
        }
        const Complex* entry = table.data() + w * outputs;
        Complex* to = out.space(outputs);
        for (std::size_t k = 0; k < outputs; ++k) to[k] = entry[k];
        out.commit(outputs);
    }
}

}  // namespace

void append_shaped_with_chip_tables(SampleSpan chips, std::size_t factor, std::size_t step,
                                    std::span<const double> taps, std::size_t count, SampleAppender& out) {
    const double gain = std::accumulate(taps.begin(), taps.end(), 0.0);
    const std::size_t width = (taps.size() + factor - 1) / factor;
    const BlockPlan plan = block_plan(factor, step, width, taps.size() / 2);
    const std::size_t windows = std::size_t{1} << (2 * std::min(plan.window, kMaxWindowChips));
    const std::size_t min_blocks = kPayoff * windows;
    if (plan.window > kMaxWindowChips || plan.outputs > SampleAppender::kChunk ||
        count < plan.first_output + min_blocks * plan.outputs) {
        const Complex mean = full_rate_mean(sum_of(chips), gain, chips.size(), factor);
        PolyphaseFilter(chips, factor, step, taps, mean).append(0, count, out);
        return;
    }
    const ChipScan scan = scan_chips(chips, min_blocks * plan.chips);
    const PolyphaseFilter filter(chips, factor, step, taps, full_rate_mean(scan.sum, gain, chips.size(), factor));
    const std::size_t blocks_in_output = (count - plan.first_output) / plan.outputs;
    std::size_t next = 0;  // the next output to append
    for (const Run& run : scan.runs) {
        // Blocks whose whole window lies in the run: chips from first_chip + m C - (width - 1)
        // to first_chip + m C + C - 1.
        const std::size_t lowest = run.begin + width - 1;
        const std::size_t first_block =
            lowest <= plan.first_chip ? 0 : (lowest - plan.first_chip + plan.chips - 1) / plan.chips;
        if (run.end < plan.first_chip + plan.chips) continue;
        const std::size_t end_block =
            std::min((run.end - plan.first_chip - plan.chips) / plan.chips + 1, blocks_in_output);
        if (end_block < first_block + min_blocks) continue;

        const std::vector<Complex> table = block_table(filter, plan, run.values);
        const std::size_t start = plan.first_output + first_block * plan.outputs;
        filter.append(next, start, out);
        const std::uint8_t* q = scan.quadrants.data() + plan.first_chip + first_block * plan.chips - (width - 1);
        switch (plan.outputs) {
        case 2: copy_blocks<2>(table, plan, q, end_block - first_block, out); break;
        case 3: copy_blocks<3>(table, plan, q, end_block - first_block, out); break;
        case 5: copy_blocks<5>(table, plan, q, end_block - first_block, out); break;
        case 7: copy_blocks<7>(table, plan, q, end_block - first_block, out); break;
        default: copy_blocks<0>(table, plan, q, end_block - first_block, out); break;
        }
        next = plan.first_output + end_block * plan.outputs;
    }
    filter.append(next, count, out);
}

}  // namespace dot11b::shaping
