#pragma once
// The two marker rows of a waveform packed one byte per sample: bit 0 marker
// row 1 (the frame without its ramps), bit 1 marker row 2 (the burst with its
// ramps). The same bytes go to the markers file and to the instrument.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/durable_file.hpp"
#include "common/types.hpp"

namespace dot11b::waveform_files {

// As long as the longer row; a shorter row counts as 0 beyond its end.
std::vector<std::uint8_t> marker_bytes(BitSpan frame_marker, BitSpan burst_marker);

void write_markers(DurableFile& file, BitSpan frame_marker, BitSpan burst_marker);

// The first run of ones of a marker row.
struct MarkedSpan {
    std::size_t start = 0;
    std::size_t count = 0;
};
std::optional<MarkedSpan> marked_span(BitSpan marker_row);

}  // namespace dot11b::waveform_files
