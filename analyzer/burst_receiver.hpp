#pragma once
// The receiver for one burst: chip timing, start frame delimiter, carrier
// offset, then the frame; a frame whose checks fail is tried once more with
// its spectrum mirrored (conjugated chips).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "analyzer/burst_detection.hpp"
#include "analyzer/chip_timing.hpp"
#include "analyzer/frame_decoder.hpp"
#include "analyzer/sfd_search.hpp"
#include "analyzer/sinc_interpolator.hpp"

namespace dot11b::analyzer {

struct ReceivedBurst {
    ChipStream stream;            // the chips with frame.removed taken off
    std::vector<double> seconds;  // the chip instants in seconds
    bool preamble_found = false;
    PreambleType preamble = PreambleType::Long;
    std::size_t sync_bits = 0;  // SYNC bits seen before the SFD
    FrameDecode frame;
    // The frame decodes only with its spectrum mirrored: the short header's CRC or
    // the FCS passes for the conjugated chips and not for the chips as recorded.
    bool mirrored = false;
    // The PSDU read from the conjugated chips, when nothing tells the two
    // orientations apart: a DBPSK header (long preamble), a PSDU whose reading
    // depends on the orientation, and no valid FCS either way.
    std::optional<std::vector<std::uint8_t>> mirrored_psdu;
};

ReceivedBurst receive_burst(const SincInterpolator& signal, double sample_rate_hz, const BurstExtent& extent);

}  // namespace dot11b::analyzer
