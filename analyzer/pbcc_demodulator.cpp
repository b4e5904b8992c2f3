#include "analyzer/pbcc_demodulator.hpp"

#include <cmath>
#include <numbers>
#include <vector>

#include "analyzer/complex_product.hpp"
#include "analyzer/constants.hpp"
#include "analyzer/pbcc_code.hpp"

namespace dot11b::analyzer {
namespace {

constexpr double kPhaseTrackingGain = 0.05;
// Coded symbols continue past the uncoded length with at least this share of the power.
constexpr double kCodedPowerShare = 0.25;
const Complex kEighthTurn = std::polar(1.0, std::numbers::pi / 4);

// Soft values (one per coded bit, positive for 0) of `symbols` symbols, the phase tracked from hard decisions;
// symbols past the end of `chips` give zeros (nothing known).
std::vector<double> soft_values(SampleSpan chips, bool eleven_mbps, std::size_t symbols, Complex reference) {
    const Bits cover = pbcc_cover(symbols);
    const Complex unit_reference = std::conj(reference) / std::abs(reference);
    std::vector<double> soft;
    soft.reserve(symbols * (eleven_mbps ? 2 : 1));
    Complex tracking = 1;  // removes the residual phase
    for (std::size_t k = 0; k < symbols; ++k) {
        if (k >= chips.size()) {
            soft.insert(soft.end(), eleven_mbps ? 2 : 1, 0.0);
            continue;
        }
        Complex z = chips[k] * unit_reference * tracking;
        if (cover[k]) z *= Complex(0, -1);
        Complex decision;
        if (eleven_mbps) {
            // Turned by pi/4, the real part decides the first bit and the imaginary part the second.
            const Complex w = z * kEighthTurn;
            soft.push_back(w.real());
            soft.push_back(w.imag());
            decision = Complex(w.real() >= 0 ? 1 : -1, w.imag() >= 0 ? 1 : -1) * std::conj(kEighthTurn);
        } else {
            soft.push_back(z.real());
            decision = z.real() >= 0 ? 1 : -1;
        }
        const double error = std::arg(z * std::conj(decision));
        tracking *= std::polar(1.0, -kPhaseTrackingGain * error);
    }
    return soft;
}

Samples map_symbols(BitSpan coded, bool eleven_mbps, Complex ideal_reference) {
    const std::size_t per_symbol = eleven_mbps ? 2 : 1;
    const std::size_t symbols = coded.size() / per_symbol;
    const Bits cover = pbcc_cover(symbols);
    Samples out(symbols);
    for (std::size_t k = 0; k < symbols; ++k) {
        Complex point;
        if (eleven_mbps) {
            const int d0 = coded[2 * k];
            const int d1 = coded[2 * k + 1];
            point = Complex(1 - d0 - d1, d0 - d1);
        } else {
            point = coded[k] ? -1 : 1;
        }
        out[k] = ideal_reference * point * (cover[k] ? Complex(0, 1) : Complex(1, 0));
    }
    return out;
}

double mean_power(SampleSpan chips) {
    double sum = 0;
    for (const Complex c : chips) sum += magnitude_squared(c);
    return chips.empty() ? 0 : sum / static_cast<double>(chips.size());
}

// The code doubles the symbols (and adds a tail): the burst is coded when it goes
// on with power where uncoded symbols would have ended.
bool carries_coded_length(SampleSpan chips, std::size_t uncoded_symbols, std::size_t coded_symbols) {
    if (chips.size() < coded_symbols) return false;
    const double tail = mean_power(chips.subspan(uncoded_symbols, coded_symbols - uncoded_symbols));
    const double body = uncoded_symbols > 0 ? mean_power(chips.first(uncoded_symbols)) : tail;
    return tail > 0 && tail >= kCodedPowerShare * body;
}

Bits hard_decisions(const std::vector<double>& soft) {
    Bits bits(soft.size());
    for (std::size_t i = 0; i < soft.size(); ++i) bits[i] = soft[i] < 0 ? 1 : 0;
    return bits;
}

}  // namespace

Bits pbcc_cover(std::size_t count) {
    Bits cover(count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t row = k / kPbccCoverSeed.size();
        const std::size_t column = k % kPbccCoverSeed.size();
        cover[k] = kPbccCoverSeed[(column + kPbccCoverShift * row) % kPbccCoverSeed.size()];
    }
    return cover;
}

PbccSymbols demodulate_pbcc(SampleSpan chips, bool eleven_mbps, std::size_t data_bits, Complex reference,
                            Complex ideal_reference) {
    const std::size_t per_symbol = eleven_mbps ? 2 : 1;
    const Complex ideal_unit = ideal_reference / std::abs(ideal_reference);
    const std::size_t uncoded_symbols = data_bits / per_symbol;
    const std::size_t coded_symbols = 2 * (data_bits + kPbccTailBits) / per_symbol;
    PbccSymbols out;
    out.coded = carries_coded_length(chips, uncoded_symbols, coded_symbols);
    if (out.coded) {
        const Bits decoded = viterbi_decode(soft_values(chips, eleven_mbps, coded_symbols, reference));
        out.bits.assign(decoded.begin(), decoded.begin() + static_cast<std::ptrdiff_t>(data_bits));
        out.ideal_chips = map_symbols(pbcc_encode(decoded), eleven_mbps, ideal_unit);
    } else {
        out.bits = hard_decisions(soft_values(chips, eleven_mbps, uncoded_symbols, reference));
        out.ideal_chips = map_symbols(out.bits, eleven_mbps, ideal_unit);
    }
    return out;
}

}  // namespace dot11b::analyzer
