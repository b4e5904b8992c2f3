#pragma once
// A SigMF recording (core:version 1.2.5) of the waveform: the samples as
// cf32_le in <name>.sigmf-data and the metadata in <name>.sigmf-meta, with the
// burst and the frame annotated from the marker rows.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/gen/generated_waveform.hpp"

namespace dot11b::cli {

// The first run of ones of a marker row.
struct MarkedSpan {
    std::size_t start;
    std::size_t count;
};
std::optional<MarkedSpan> marked_span(BitSpan marker_row);

// A one-line description of the configuration, for core:description.
std::string describe_configuration(const app::FormatParameters& parameters, std::size_t psdu_bits);

nlohmann::ordered_json sigmf_metadata(const GeneratedWaveform& waveform);

// `path` names either file of the pair; both are written, data first, and
// returned in that order.
std::vector<std::filesystem::path> write_sigmf_recording(const std::filesystem::path& path,
                                                         const GeneratedWaveform& waveform);

}  // namespace dot11b::cli
