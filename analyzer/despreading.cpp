#include "analyzer/despreading.hpp"

#include <algorithm>

#include "analyzer/constants.hpp"
#include "analyzer/dqpsk_decision.hpp"

namespace dot11b::analyzer {

Samples despread(SampleSpan chips, std::size_t first, std::size_t count) {
    Samples symbols;
    if (first >= chips.size()) return symbols;
    count = std::min(count, (chips.size() - first) / kChipsPerSymbol);
    symbols.resize(count);
    const Complex* chip = chips.data() + first;
    for (std::size_t m = 0; m < count; ++m, chip += kChipsPerSymbol) {
        double re = 0;
        double im = 0;
        for (std::size_t i = 0; i < kChipsPerSymbol; ++i) {
            re += chip[i].real() * kBarker[i];
            im += chip[i].imag() * kBarker[i];
        }
        symbols[m] = Complex(re, im) / static_cast<double>(kChipsPerSymbol);
    }
    return symbols;
}

void append_spread(Complex symbol, Samples& chips) {
    for (const double chip : kBarker) chips.push_back(symbol * chip);
}

DifferentialSymbols detect_differential(SampleSpan symbols, Complex reference, Complex ideal_reference,
                                        bool two_bits_per_symbol) {
    DifferentialSymbols out;
    out.bits.reserve(symbols.size() * (two_bits_per_symbol ? 2 : 1));
    out.ideal.reserve(symbols.size());
    Complex previous = reference;
    Complex ideal = ideal_reference;
    for (const Complex symbol : symbols) {
        const Complex turn = symbol * std::conj(previous);
        if (two_bits_per_symbol) {
            const unsigned quarters = quarter_turns(turn);
            append_dibit(quarters, out.bits);
            ideal *= quarter_turn_phasor(quarters);
        } else {
            const bool flipped = turn.real() < 0;
            out.bits.push_back(flipped ? 1 : 0);
            if (flipped) ideal = -ideal;
        }
        out.ideal.push_back(ideal);
        previous = symbol;
    }
    return out;
}

}  // namespace dot11b::analyzer
