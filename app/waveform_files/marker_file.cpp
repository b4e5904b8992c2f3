#include "app/waveform_files/marker_file.hpp"

#include <algorithm>

namespace dot11b::waveform_files {

std::vector<std::uint8_t> marker_bytes(BitSpan frame_marker, BitSpan burst_marker) {
    std::vector<std::uint8_t> bytes(std::max(frame_marker.size(), burst_marker.size()), 0);
    for (std::size_t k = 0; k < frame_marker.size(); ++k) bytes[k] |= frame_marker[k] != 0 ? 1 : 0;
    for (std::size_t k = 0; k < burst_marker.size(); ++k) bytes[k] |= burst_marker[k] != 0 ? 2 : 0;
    return bytes;
}

void write_markers(DurableFile& file, BitSpan frame_marker, BitSpan burst_marker) {
    file.write(marker_bytes(frame_marker, burst_marker));
}

std::optional<MarkedSpan> marked_span(BitSpan row) {
    const auto first = std::find_if(row.begin(), row.end(), [](std::uint8_t bit) { return bit != 0; });
    if (first == row.end()) return std::nullopt;
    const auto end = std::find(first, row.end(), 0);
    return MarkedSpan{static_cast<std::size_t>(first - row.begin()), static_cast<std::size_t>(end - first)};
}

}  // namespace dot11b::waveform_files
