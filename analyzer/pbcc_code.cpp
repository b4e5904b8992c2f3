#include "analyzer/pbcc_code.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

#include "analyzer/constants.hpp"

namespace dot11b::analyzer {
namespace {

constexpr unsigned kStates = 1U << kPbccMemory;

// The register holds d(n) in bit 0 and d(n - k) in bit k; G0 and G1 weight D^k by bit k.
struct Outputs {
    std::uint8_t y0;
    std::uint8_t y1;
};

Outputs outputs(unsigned reg) {
    return {static_cast<std::uint8_t>(std::popcount(reg & kPbccG0) & 1),
            static_cast<std::uint8_t>(std::popcount(reg & kPbccG1) & 1)};
}

}  // namespace

Bits pbcc_encode(BitSpan bits) {
    Bits coded;
    coded.reserve(2 * bits.size());
    unsigned reg = 0;
    for (const std::uint8_t bit : bits) {
        reg = ((reg << 1) | (bit & 1U)) & ((kStates << 1) - 1);
        const Outputs y = outputs(reg);
        coded.push_back(y.y0);
        coded.push_back(y.y1);
    }
    return coded;
}

Bits viterbi_decode(std::span<const double> soft) {
    const std::size_t steps = soft.size() / 2;
    // A state is the last six input bits, the newest in bit 0. State s' is reached
    // from (s' >> 1) | (x << 5) with input bit s' & 1, x = 0 or 1.
    std::array<std::array<Outputs, 2>, kStates> branch{};
    for (unsigned next = 0; next < kStates; ++next) {
        for (unsigned x = 0; x < 2; ++x) {
            const unsigned previous = (next >> 1) | (x << (kPbccMemory - 1));
            branch[next][x] = outputs((previous << 1) | (next & 1U));
        }
    }
    constexpr double kUnreached = -std::numeric_limits<double>::infinity();
    std::array<double, kStates> metric;
    metric.fill(kUnreached);
    metric[0] = 0;
    std::vector<std::uint64_t> choices(steps);
    for (std::size_t n = 0; n < steps; ++n) {
        const double s0 = soft[2 * n];
        const double s1 = soft[2 * n + 1];
        std::array<double, kStates> updated;
        std::uint64_t chosen = 0;
        for (unsigned next = 0; next < kStates; ++next) {
            double best = kUnreached;
            for (unsigned x = 0; x < 2; ++x) {
                const unsigned previous = (next >> 1) | (x << (kPbccMemory - 1));
                const Outputs y = branch[next][x];
                const double candidate = metric[previous] + (y.y0 ? -s0 : s0) + (y.y1 ? -s1 : s1);
                if (candidate > best) {
                    best = candidate;
                    if (x == 1) chosen |= std::uint64_t{1} << next;
                }
            }
            updated[next] = best;
        }
        const double top = *std::max_element(updated.begin(), updated.end());
        for (double& m : updated) m -= top;
        metric = updated;
        choices[n] = chosen;
    }
    Bits decoded(steps);
    unsigned state = 0;
    for (std::size_t n = steps; n-- > 0;) {
        decoded[n] = static_cast<std::uint8_t>(state & 1U);
        const unsigned x = (choices[n] >> state) & 1U;
        state = (state >> 1) | (x << (kPbccMemory - 1));
    }
    return decoded;
}

}  // namespace dot11b::analyzer
