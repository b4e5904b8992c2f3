#pragma once
// SigMF recordings (core:version 1.2.5): the samples in <name>.sigmf-data and
// their metadata in <name>.sigmf-meta. Written as cf32_le; read from cf32_le,
// ci16_le and ci8 data.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/waveform_files/input_file.hpp"
#include "app/waveform_files/recording_reader.hpp"
#include "common/durable_file.hpp"
#include "common/types.hpp"

namespace dot11b::waveform_files {

struct SigmfAnnotation {
    std::size_t sample_start = 0;
    std::size_t sample_count = 0;
    std::string label;    // core:label, a short name
    std::string comment;  // core:comment, the longer text
};

struct SigmfDescription {
    double sample_rate_hz = 0;
    std::optional<double> center_frequency_hz;  // core:frequency of the one capture
    std::string recorder;                       // core:recorder, left out when empty
    std::string description;                    // core:description, left out when empty
    std::string hardware;                       // core:hw, the recording device; left out when empty
    std::string capture_time;                   // core:datetime of the capture (ISO 8601 UTC); left out when empty
    std::vector<SigmfAnnotation> annotations;
    std::optional<PulseFilter> pulse_filter;  // dot11b:filter of the global object
};

// The two files of the recording that `path` (either of them, any case of
// the extension) belongs to.
struct SigmfPaths {
    std::filesystem::path data;
    std::filesystem::path meta;
};
SigmfPaths sigmf_paths(const std::filesystem::path& path);

nlohmann::ordered_json sigmf_metadata(const SigmfDescription& description);

// Writes the cf32_le data and the metadata into the two files (of sigmf_paths).
void write_sigmf(DurableFile& data, DurableFile& meta, SampleSpan samples, const SigmfDescription& description);

// What the metadata says of the data file: the recording without its samples
// and markers, and how the data file is decoded.
struct SigmfData {
    Recording recording;
    nlohmann::json metadata;
    std::filesystem::path data;
    std::string type;  // core:datatype
    std::size_t sample_bytes = 0;
    SampleDecoder decode = nullptr;
};

// Reads and checks the metadata of the recording `path` belongs to; throws as read_sigmf.
SigmfData read_sigmf_metadata(const std::filesystem::path& path);

// Reads the recording `path` belongs to. Throws IoError "cannot open PATH:
// REASON" naming the file at fault: metadata that is not JSON, lacks
// core:datatype or core:sample_rate, holds more than one channel or names an
// unsupported datatype, and data as read_recording checks it.
Recording read_sigmf(const std::filesystem::path& path);

}  // namespace dot11b::waveform_files
