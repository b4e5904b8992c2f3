#pragma once
// A period of N frames back to back, each with its ramps and idle interval:
// frame k carries sequence number (s + k) mod 4096 in its MAC header and its
// own FCS, and PN payloads may run on from frame to frame.

#include <cstddef>
#include <vector>

#include "common/types.hpp"
#include "mac/mac_header.hpp"
#include "mac/payload.hpp"
#include "phy/frame_builder.hpp"

namespace dot11b::sequences {

inline constexpr std::size_t kMaxFrames = 1000;

// The PSDU of each of `frames` frames. With a MAC header, frame k's SeqCntrl
// bits 4 to 15 hold (s + k) mod 4096, s being the header's own number; with
// `payload_continue`, a PN9 or PN15 payload takes the next bits of one long
// sequence instead of restarting. `header` is the MAC header of the payload
// configuration (its bit stream is `payload.mac_header_bits`).
std::vector<Bits> sequence_psdus(const mac::PayloadConfig& payload, const mac::MacHeader& header,
                                 std::size_t frames, bool payload_continue);

// The frames of `config` (whose data bits are ignored) for each PSDU, in order,
// with their markers. Identical PSDUs are built once.
phy::FrameWaveform build_sequence(phy::FrameConfig config, const std::vector<Bits>& psdus);

}  // namespace dot11b::sequences
