#pragma once
// Ideal receivers for tests: a Barker despreader with differential detection
// and a CCK code-word correlator. They check modulators (and whole frames) by
// recovering the bits rather than by restating the transmit formulas.

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "common/types.hpp"
#include "phy/cck.hpp"
#include "phy/data_rate.hpp"
#include "phy/dsss.hpp"

namespace dot11b::test {

// DBPSK (1 Mbit/s) or DQPSK (2 Mbit/s) bits of Barker-spread chips, the phase
// chain starting from `reference`.
inline Bits dsss_demodulate(SampleSpan chips, phy::DataRate rate, Complex reference) {
    Bits bits;
    Complex previous = reference;
    for (std::size_t s = 0; s + 11 <= chips.size(); s += 11) {
        Complex symbol = 0;
        for (std::size_t k = 0; k < 11; ++k) symbol += chips[s + k] * phy::kBarker[k];
        const Complex turn = symbol * std::conj(previous);
        if (rate == phy::DataRate::Mbps1) {
            bits.push_back(turn.real() < 0 ? 1 : 0);
        } else {
            // 00 -> 0, 01 -> +pi/2, 11 -> pi, 10 -> -pi/2
            const long quarter = std::lround(std::arg(turn) / (std::numbers::pi / 2)) & 3;
            bits.push_back(quarter >= 2 ? 1 : 0);
            bits.push_back(quarter == 1 || quarter == 2 ? 1 : 0);
        }
        previous = symbol;
    }
    return bits;
}

// CCK bits: correlate each code word with those of phi1 = 0; the best match
// gives the bits of phi2..phi4, the correlation's phase phi1, whose change
// (less pi on every second symbol) gives (d0, d1).
inline Bits cck_demodulate(SampleSpan chips, phy::DataRate rate, Complex reference) {
    constexpr double kPi = std::numbers::pi;
    const std::size_t per = rate == phy::DataRate::Mbps11 ? 8 : 4;
    std::vector<std::pair<Bits, phy::CckCodeword>> book;
    for (unsigned v = 0; v < (1U << (per - 2)); ++v) {
        Bits d(per - 2);
        for (std::size_t k = 0; k < d.size(); ++k) d[k] = (v >> k) & 1U;
        const auto pair = [&](std::size_t k) { return d[k] * kPi + d[k + 1] * kPi / 2; };
        book.emplace_back(d, per == 8 ? phy::cck_codeword(0, pair(0), pair(2), pair(4))
                                      : phy::cck_codeword(0, d[0] * kPi + kPi / 2, 0, d[1] * kPi));
    }
    Bits bits;
    Complex previous = reference / std::abs(reference);
    for (std::size_t s = 0; s * 8 + 8 <= chips.size(); ++s) {
        Complex best = 0;
        const Bits* best_bits = nullptr;
        for (const auto& [d, cw] : book) {
            Complex sum = 0;
            for (std::size_t k = 0; k < 8; ++k) sum += chips[8 * s + k] * std::conj(cw[k]);
            if (std::abs(sum) > std::abs(best)) {
                best = sum;
                best_bits = &d;
            }
        }
        best /= 8.0;
        const Complex turn = best * std::conj(previous) * (s % 2 == 1 ? -1.0 : 1.0);
        const long quarter = std::lround(std::arg(turn) / (kPi / 2)) & 3;  // 00, 01, 11, 10
        bits.push_back(quarter >= 2);
        bits.push_back(quarter == 1 || quarter == 2);
        bits.insert(bits.end(), best_bits->begin(), best_bits->end());
        previous = best;
    }
    return bits;
}

}  // namespace dot11b::test
