#pragma once
// Decodes the PLCP header and the PSDU of a frame from its chips, once the
// start frame delimiter has fixed the symbol timing.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analyzer/carrier_offset.hpp"
#include "analyzer/plcp_header.hpp"
#include "analyzer/sfd_search.hpp"
#include "common/types.hpp"

namespace dot11b::analyzer {

enum class DecodeStatus { Decoded, NoPreamble, HeaderCrcError, UnsupportedRate, Truncated };
enum class Scrambling { On, Off, PreambleOnly };

struct FrameDecode {
    DecodeStatus status = DecodeStatus::NoPreamble;
    std::string problem;  // what went wrong, when status is not Decoded
    Scrambling scrambling = Scrambling::On;
    std::optional<PlcpHeader> header;
    std::optional<PsduFormat> format;
    bool pbcc_coded = true;
    std::vector<std::uint8_t> psdu;  // octets, each from 8 bits LSB first
    // Chips [frame_chip, end_chip) of the stream have their ideal values in `ideal`:
    // from the first full SYNC symbol seen to the end of the PSDU (or the header).
    // A truncated frame's `ideal` reaches as far as its chips were decided.
    std::size_t frame_chip = 0;
    std::size_t psdu_chip = 0;
    std::size_t end_chip = 0;
    Samples ideal;
    PhaseLine removed;  // the carrier offset and phase removed from the chips so far
};

// `chips` are the tracked chips with `removed` already taken off; the residual
// offset measured over the preamble and header is removed from them in place
// before the PSDU is demodulated. Symbols of the match before the SYNC field
// (ramp or noise) take no part.
FrameDecode decode_frame(std::span<Complex> chips, std::span<const double> seconds, const SfdMatch& sfd,
                         PhaseLine removed);

}  // namespace dot11b::analyzer
