#pragma once
// Error vector magnitude at the chip instants (IEEE 802.11-2016 clauses 16 and
// 17, transmit modulation accuracy): the received chips, with the DC offset
// and the complex gain that fit them best to the ideal chips removed, against
// the ideal chips of unit magnitude.

#include <cstddef>
#include <optional>
#include <vector>

#include "common/types.hpp"

namespace dot11b::analyzer {

struct EvmFigures {
    double rms = 0;  // relative to the ideal chip magnitude (0.1 = 10 %)
    double peak = 0;
};

struct EvmResult {
    std::size_t chips = 0;
    EvmFigures overall;
    std::vector<EvmFigures> blocks;  // per 1000 chips; a shorter last block counts too
    bool passed() const;             // every peak within 35 %
};

// `received` and `ideal` hold the same chips, carrier offset already removed.
EvmResult measure_evm(SampleSpan received, SampleSpan ideal);

// The error vectors of the received chips, with the DC offset and complex gain
// that fit them best to the ideal chips removed; none when no gain fits (no
// chips, ideal chips without energy, or no correlation).
std::optional<Samples> fitted_errors(SampleSpan received, SampleSpan ideal);

// The figures of error vectors already scaled to the ideal magnitude.
EvmResult evm_of_errors(SampleSpan errors);

double to_db(double ratio);  // 20 log10

}  // namespace dot11b::analyzer
