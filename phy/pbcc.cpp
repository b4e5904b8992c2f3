#include "phy/pbcc.hpp"

#include <bit>
#include <cstdint>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "mac/bit_conversion.hpp"
#include "phy/quarter_turns.hpp"

namespace dot11b::phy {
namespace {

constexpr std::array<std::uint8_t, 16> kCoverSeed = {0, 0, 1, 1, 0, 0, 1, 1, 1, 0, 0, 0, 1, 0, 1, 1};

// Bit i of the cover sequence: its 16-bit row i / 16 is the seed rotated left by 3 (i / 16) places.
std::uint8_t cover_bit(std::size_t i) { return kCoverSeed[(i + 3 * (i / 16)) % 16]; }

std::size_t coded_bits_per_symbol(DataRate rate, const char* operation) {
    switch (rate) {
    case DataRate::Mbps5_5: return 1;
    case DataRate::Mbps11: return 2;
    case DataRate::Mbps22:
    case DataRate::Mbps33: return 3;
    default: break;
    }
    std::ostringstream message;
    message << operation << ": DATArate " << rate_in_mbps(rate)
            << " has no PBCC mode; allowed are 5.5, 11, 22, 33 (Mbit/s)";
    throw ConfigError(message.str());
}

// Throws unless the rate has a PBCC mode and coded_bits fill whole symbols of it.
void require_whole_symbols(std::size_t coded_bits, DataRate rate, const char* operation) {
    const std::size_t per_symbol = coded_bits_per_symbol(rate, operation);
    if (coded_bits % per_symbol != 0) {
        std::ostringstream message;
        message << operation << ": at " << rate_in_mbps(rate) << " Mbit/s the coded bits must fill whole "
                << per_symbol << "-bit symbols, got " << coded_bits << " coded bits";
        throw ConfigError(message.str());
    }
}

std::size_t coded_bit_count(std::size_t bit_count, bool encoder_active) {
    return encoder_active ? 2 * (bit_count + kPbccTailBits) : bit_count;
}

// BPSK: bit 1 turns by pi, cover bit 1 by pi/2.
Samples map_bpsk(BitSpan coded, Complex reference) {
    Samples symbols(coded.size());
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        symbols[i] = rotate_quarter_turns(reference, 2U * coded[i] + cover_bit(i));
    }
    return symbols;
}

// QPSK: the pair (d0, d1), indexed by 2 d0 + d1, maps 00 -> 1, 01 -> -j, 10 -> j, 11 -> -1;
// cover bit 1 turns by pi/2.
Samples map_qpsk(BitSpan coded, Complex reference) {
    static constexpr std::array<unsigned, 4> kPairTurns = {0, 3, 1, 2};
    Samples symbols(coded.size() / 2);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        symbols[i] = rotate_quarter_turns(reference, kPairTurns[2U * coded[2 * i] + coded[2 * i + 1]] + cover_bit(i));
    }
    return symbols;
}

// 8-PSK: the triple (b1, b2, b3) selects point b1 + 2 b2 + 4 b3 of the cover bit's row; the
// points are turned by pi/4 and divided by the reference (unlike BPSK and QPSK, which
// multiply), so that the unframed start phase (1+j)/sqrt(2) leaves the table's points as they are.
Samples map_8psk(BitSpan coded, Complex reference) {
    const double z = 1 / std::numbers::sqrt2;
    const std::array<Complex, 8> base = {Complex(z, z), Complex(-z, z), Complex(-z, -z), Complex(z, -z),
                                         Complex(0, 1), Complex(-1, 0), Complex(0, -1), Complex(1, 0)};
    const Complex turn = Complex(1, 1) / std::numbers::sqrt2 / reference;
    std::array<std::array<Complex, 8>, 2> points{};
    for (std::size_t k = 0; k < base.size(); ++k) {
        points[0][k] = base[k] * turn;
        points[1][k] = rotate_quarter_turns(base[k], 1) * turn;
    }
    Samples symbols(coded.size() / 3);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        symbols[i] = points[cover_bit(i)][coded[3 * i] + 2U * coded[3 * i + 1] + 4U * coded[3 * i + 2]];
    }
    return symbols;
}

// The rate has been checked by require_whole_symbols.
Samples map_symbols(BitSpan coded, DataRate rate, Complex reference) {
    if (rate == DataRate::Mbps5_5) return map_bpsk(coded, reference);
    if (rate == DataRate::Mbps11) return map_qpsk(coded, reference);
    return map_8psk(coded, reference);
}

}  // namespace

Bits convolutional_encode(BitSpan data, std::size_t constraint_length, std::span<const unsigned> octal_generators) {
    if (octal_generators.empty()) throw ConfigError("convolEncoder: genMatrix must hold at least one generator");
    if (constraint_length < 1 || constraint_length > 32) {
        throw ConfigError("convolEncoder: k must be 1 to 32, got " + std::to_string(constraint_length));
    }
    // Bit m of a mask is the coefficient of D^m.
    std::vector<std::uint64_t> masks;
    masks.reserve(octal_generators.size());
    for (const unsigned generator : octal_generators) {
        const auto mask = static_cast<std::uint64_t>(mac::oct2dec(generator));
        if (mask >> constraint_length != 0) {
            throw ConfigError("convolEncoder: generator " + std::to_string(generator) + " has taps beyond D^" +
                              std::to_string(constraint_length - 1) + " of constraint length k = " +
                              std::to_string(constraint_length));
        }
        masks.push_back(mask);
    }

    Bits coded(data.size() * masks.size());
    auto out = coded.begin();
    std::uint64_t history = 0;  // bit m holds the input bit m steps back
    for (const std::uint8_t bit : data) {
        history = (history << 1) | bit;
        for (const std::uint64_t mask : masks) *out++ = static_cast<std::uint8_t>(std::popcount(history & mask) & 1);
    }
    return coded;
}

Bits pbcc_cover_bits(std::size_t count) {
    Bits cover(count);
    for (std::size_t i = 0; i < count; ++i) cover[i] = cover_bit(i);
    return cover;
}

Samples map_pbcc(BitSpan coded_bits, DataRate rate, Complex reference) {
    require_whole_symbols(coded_bits.size(), rate, "map_PBCC");
    return map_symbols(coded_bits, rate, reference);
}

Samples pbcc_modulate(BitSpan bits, DataRate rate, bool encoder_active, Complex reference) {
    require_whole_symbols(coded_bit_count(bits.size(), encoder_active), rate, "dot11b_PBCC");
    if (!encoder_active) return map_symbols(bits, rate, reference);
    Bits tailed(bits.begin(), bits.end());
    tailed.resize(bits.size() + kPbccTailBits, 0);
    return map_symbols(convolutional_encode(tailed, kPbccConstraintLength, kPbccGenerators), rate, reference);
}

std::size_t pbcc_chip_count(std::size_t bit_count, DataRate rate, bool encoder_active) {
    const std::size_t coded_bits = coded_bit_count(bit_count, encoder_active);
    require_whole_symbols(coded_bits, rate, "dot11b_PBCC");
    return coded_bits / coded_bits_per_symbol(rate, "dot11b_PBCC");
}

}  // namespace dot11b::phy
