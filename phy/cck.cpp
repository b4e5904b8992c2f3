#include "phy/cck.hpp"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <sstream>
#include <string>

#include "common/errors.hpp"
#include "phy/quarter_turns.hpp"

namespace dot11b::phy {
namespace {

using ChipTurns = std::array<std::uint8_t, kCckChipsPerCodeword>;

// Every phase of a CCK code word is phi1 plus a multiple of pi/2. For phi2, phi3, phi4 of
// q2, q3, q4 quarter turns, entry q2 + 4 q3 + 16 q4 holds each chip's quarter turns
// relative to phi1 (a minus sign of the code word is two turns).
constexpr std::array<ChipTurns, 64> make_code_turns() {
    std::array<ChipTurns, 64> table{};
    for (unsigned index = 0; index < table.size(); ++index) {
        const unsigned q2 = index & 3U;
        const unsigned q3 = (index >> 2) & 3U;
        const unsigned q4 = index >> 4;
        const std::array<unsigned, kCckChipsPerCodeword> turns = {q2 + q3 + q4, q3 + q4, q2 + q4, q4 + 2,
                                                                  q2 + q3,      q3,      q2 + 2,  0};
        for (std::size_t k = 0; k < turns.size(); ++k) table[index][k] = static_cast<std::uint8_t>(turns[k] & 3U);
    }
    return table;
}

constexpr auto kCodeTurns = make_code_turns();

// Change of phi1 in quarter turns for the pair (d0, d1), indexed by 2 d0 + d1:
// 00 -> 0, 01 -> +pi/2, 10 -> -pi/2, 11 -> pi.
constexpr std::array<int, 4> kDqpskTurns = {0, 1, -1, 2};

// The 2nd, 4th, ... symbol (odd zero-based index) gets an extra pi.
int phi1_change(std::uint8_t d0, std::uint8_t d1, std::size_t symbol) {
    return kDqpskTurns[2U * d0 + d1] + (symbol % 2 == 1 ? 2 : 0);
}

// atan2 of the reference in (-pi, pi]; a negative-zero imaginary part would give -pi.
double reference_angle(Complex reference) {
    const double angle = std::arg(reference);
    return angle == -std::numbers::pi ? std::numbers::pi : angle;
}

void require_whole_symbols(std::size_t bit_count, std::size_t bits_per_symbol, const char* operation) {
    if (bit_count % bits_per_symbol != 0) {
        throw ConfigError(std::string(operation) + ": data must hold a multiple of " +
                          std::to_string(bits_per_symbol) + " bits, got " + std::to_string(bit_count));
    }
}

std::size_t cck_bits_per_symbol(DataRate rate) {
    switch (rate) {
    case DataRate::Mbps5_5: return 4;
    case DataRate::Mbps11: return 8;
    default: break;
    }
    std::ostringstream message;
    message << "dot11b_CCK: DATArate " << rate_in_mbps(rate) << " has no CCK mode; allowed are 5.5, 11 (Mbit/s)";
    throw ConfigError(message.str());
}

// One code word per BitsPerSymbol bits; code_index(d) gives the kCodeTurns entry of the
// symbol whose bits start at d.
template <std::size_t BitsPerSymbol, typename CodeIndex>
Samples modulate_codewords(BitSpan bits, Complex reference, CodeIndex code_index) {
    const auto turned = quarter_turns_of(std::polar(1.0, reference_angle(reference)));
    const std::size_t symbols = bits.size() / BitsPerSymbol;
    Samples chips(symbols * kCckChipsPerCodeword);
    auto out = chips.begin();
    unsigned phi1 = 0;  // quarter turns from the reference, modulo 4 by unsigned wrap-around
    for (std::size_t s = 0; s < symbols; ++s) {
        const std::uint8_t* d = bits.data() + s * BitsPerSymbol;
        phi1 += static_cast<unsigned>(phi1_change(d[0], d[1], s));
        for (const std::uint8_t turn : kCodeTurns[code_index(d)]) *out++ = turned[(phi1 + turn) & 3U];
    }
    return chips;
}

}  // namespace

CckCodeword cck_codeword(double phi1, double phi2, double phi3, double phi4) {
    const auto e = [](double x) { return std::polar(1.0, x); };
    return {e(phi1 + phi2 + phi3 + phi4), e(phi1 + phi3 + phi4), e(phi1 + phi2 + phi4), -e(phi1 + phi4),
            e(phi1 + phi2 + phi3),        e(phi1 + phi3),        -e(phi1 + phi2),        e(phi1)};
}

std::vector<double> cck_dqpsk(BitSpan d0, BitSpan d1, double initial_phase) {
    if (d0.size() != d1.size()) {
        throw ConfigError("dot11b_CCK_DQPSK: d0 and d1 must have the same length, got " + std::to_string(d0.size()) +
                          " and " + std::to_string(d1.size()));
    }
    // Counting whole quarter turns keeps the unwrapped phase free of accumulated rounding.
    std::vector<double> phi1(d0.size());
    long long turns = 0;
    for (std::size_t i = 0; i < phi1.size(); ++i) {
        turns += phi1_change(d0[i], d1[i], i);
        phi1[i] = initial_phase + static_cast<double>(turns) * (std::numbers::pi / 2);
    }
    return phi1;
}

Samples cck5(BitSpan bits, Complex reference) {
    require_whole_symbols(bits.size(), 4, "dot11b_CCK5");
    // phi2 = d2 pi + pi/2, phi3 = 0, phi4 = d3 pi.
    return modulate_codewords<4>(bits, reference,
                                 [](const std::uint8_t* d) { return (2U * d[2] + 1U) + 16U * (2U * d[3]); });
}

Samples cck11(BitSpan bits, Complex reference) {
    require_whole_symbols(bits.size(), 8, "dot11b_CCK11");
    // phi2, phi3, phi4 from the pairs (d2, d3), (d4, d5), (d6, d7), the first bit worth pi.
    return modulate_codewords<8>(bits, reference, [](const std::uint8_t* d) {
        return (2U * d[2] + d[3]) + 4U * (2U * d[4] + d[5]) + 16U * (2U * d[6] + d[7]);
    });
}

Samples cck_modulate(BitSpan bits, DataRate rate, Complex reference) {
    return cck_bits_per_symbol(rate) == 4 ? cck5(bits, reference) : cck11(bits, reference);
}

std::size_t cck_chip_count(std::size_t bit_count, DataRate rate) {
    const std::size_t bits_per_symbol = cck_bits_per_symbol(rate);
    require_whole_symbols(bit_count, bits_per_symbol, "dot11b_CCK");
    return bit_count / bits_per_symbol * kCckChipsPerCodeword;
}

}  // namespace dot11b::phy
