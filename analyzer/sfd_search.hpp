#pragma once
// Finds the start frame delimiter of the long or the short PLCP preamble in a
// stream of chips, and with it the symbol timing, the preamble type and
// whether the transmitter scrambled the preamble.

#include <cstddef>
#include <optional>

#include "common/types.hpp"

namespace dot11b::analyzer {

enum class PreambleType { Long, Short };

struct SfdMatch {
    PreambleType preamble = PreambleType::Long;
    bool scrambled = true;              // the SYNC and SFD were scrambled
    std::size_t first_symbol_chip = 0;  // chip index of the first despread symbol
    std::size_t header_chip = 0;        // chip index of the first PLCP header chip
    std::size_t sync_bits = 0;          // SYNC bits seen before the SFD
    Bits raw_bits;                      // detected bits from the first symbol to the end of the SFD
    Samples symbols;                    // the despread symbols behind raw_bits
};

// Tries the 11 symbol alignments, strongest first: DBPSK detection, then the
// SFD preceded by at least 16 SYNC bits (ones before the long SFD, zeros before
// the short one), searched in the descrambled bits and, for an unscrambled
// preamble, in the bits as received. Looks at most `max_symbols` symbols in.
std::optional<SfdMatch> find_sfd(SampleSpan chips, std::size_t max_symbols);

}  // namespace dot11b::analyzer
