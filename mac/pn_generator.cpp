#include "mac/pn_generator.hpp"

#include <algorithm>
#include <array>
#include <string>

#include "common/errors.hpp"
#include "mac/lfsr_sequence.hpp"

namespace dot11b::mac {
namespace {

void check_order(int order) {
    if (order < kMinPnOrder || order > kMaxPnOrder) {
        throw ConfigError("PNgenerator: order " + std::to_string(order) + " is not allowed; allowed: 3 to 31");
    }
}

// Run-length limit of the zero-suppressed order-20 sequence.
constexpr std::size_t kMaxZeroRun = 14;

}  // namespace

PnPolynomial pn_polynomial(int order, bool zero_suppression) {
    check_order(order);
    // Feedback delays of maximal-length sequences, orders 3 to 31. Order 24 needs
    // four taps: with 24, 7, 2 alone the polynomial has an even number of terms,
    // is divisible by x + 1 and cannot give a maximal-length sequence.
    static const std::array<PnPolynomial, kMaxPnOrder - kMinPnOrder + 1> table = {{
        {{3, 1}, false},        {{4, 1}, false},         {{5, 2}, false},        {{6, 1}, false},
        {{7, 1}, false},        {{8, 4, 3, 2}, false},   {{9, 5}, false},        {{10, 3}, false},
        {{11, 9}, false},       {{12, 6, 4, 1}, false},  {{13, 4, 3, 1}, false}, {{14, 12, 2, 1}, false},
        {{15, 14}, true},       {{16, 12, 3, 1}, false}, {{17, 3}, false},       {{18, 7}, false},
        {{19, 5, 2, 1}, false}, {{20, 3}, false},        {{21, 2}, false},       {{22, 1}, false},
        {{23, 18}, true},       {{24, 7, 2, 1}, false},  {{25, 3}, false},       {{26, 6, 2, 1}, false},
        {{27, 5, 2, 1}, false}, {{28, 3}, false},        {{29, 27}, true},       {{30, 23, 2, 1}, false},
        {{31, 28}, true},
    }};
    if (order == 20 && zero_suppression) return {{20, 17}, false};
    return table[static_cast<std::size_t>(order - kMinPnOrder)];
}

Bits pn_default_seed(int order) {
    check_order(order);
    return Bits(static_cast<std::size_t>(order), 1);
}

Bits pn_seed_from_scalar(int order, double seed) {
    check_order(order);
    if (seed == 0) return pn_default_seed(order);
    Bits bits(static_cast<std::size_t>(order), 0);
    bits.back() = 1;
    return bits;
}

Bits pn_seed_from_vector(int order, BitSpan seed) {
    check_order(order);
    const auto n = static_cast<std::size_t>(order);
    if (seed.size() < n) return pn_default_seed(order);
    Bits bits(seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(n));
    if (std::all_of(bits.begin(), bits.end(), [](std::uint8_t b) { return b == 0; })) bits.back() = 1;
    return bits;
}

Bits pn_sequence(int order, std::size_t length, bool invert, BitSpan seed, bool zero_suppression) {
    const PnPolynomial polynomial = pn_polynomial(order, zero_suppression);
    const auto n = static_cast<std::size_t>(order);
    if (seed.size() != n) {
        throw ConfigError("PNgenerator: seed has " + std::to_string(seed.size()) + " bits; order " +
                          std::to_string(order) + " needs " + std::to_string(order));
    }
    // lfsr_sequence weights the oldest of the last n bits first: delay d sits at n - d.
    Bits taps(n, 0);
    for (const int delay : polynomial.delays) taps[n - static_cast<std::size_t>(delay)] = 1;
    Bits sequence = lfsr_sequence(n, taps, length, seed);

    if (order == 20 && zero_suppression) {
        // Scan left to right: a window of 15 zeros gets its last bit set, so the
        // forced 1 also breaks the runs that would follow from it.
        std::size_t run = 0;
        for (auto& bit : sequence) {
            run = bit == 0 ? run + 1 : 0;
            if (run > kMaxZeroRun) {
                bit = 1;
                run = 0;
            }
        }
    }
    if (polynomial.complemented != invert) {
        for (auto& bit : sequence) bit ^= 1U;
    }
    return sequence;
}

}  // namespace dot11b::mac
