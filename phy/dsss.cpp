#include "phy/dsss.hpp"

#include <string>

#include "common/errors.hpp"
#include "phy/quarter_turns.hpp"

namespace dot11b::phy {
namespace {

DsssChips spread_with_last(Samples symbols, Complex reference) {
    const Complex last = symbols.empty() ? reference : symbols.back();
    return {barker_spread(symbols), last};
}

}  // namespace

Samples dbpsk(BitSpan bits, Complex reference) {
    Samples symbols(bits.size());
    Complex phase = reference;
    for (std::size_t i = 0; i < bits.size(); ++i) {
        phase = rotate_quarter_turns(phase, bits[i] ? 2U : 0U);
        symbols[i] = phase;
    }
    return symbols;
}

Samples dqpsk(BitSpan bits, Complex reference) {
    if (bits.size() % 2 != 0) {
        throw ConfigError("dot11b_DQPSK: data must have an even number of bits, got " + std::to_string(bits.size()));
    }
    // Quarter turns for the dibit (first, second), indexed by 2 * first + second.
    static constexpr unsigned kTurns[4] = {0, 1, 3, 2};
    Samples symbols(bits.size() / 2);
    Complex phase = reference;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        phase = rotate_quarter_turns(phase, kTurns[2U * bits[2 * i] + bits[2 * i + 1]]);
        symbols[i] = phase;
    }
    return symbols;
}

Samples barker_spread(SampleSpan symbols) {
    Samples chips;
    append_barker_spread(symbols, chips);
    return chips;
}

void append_barker_spread(SampleSpan symbols, Samples& chips) {
    chips.reserve(chips.size() + symbols.size() * kBarker.size());
    for (const Complex symbol : symbols) {
        for (const double chip : kBarker) chips.push_back(chip * symbol);
    }
}

DsssChips modulate_1mbps(BitSpan bits, Complex reference) { return spread_with_last(dbpsk(bits, reference), reference); }

DsssChips modulate_2mbps(BitSpan bits, Complex reference) { return spread_with_last(dqpsk(bits, reference), reference); }

}  // namespace dot11b::phy
