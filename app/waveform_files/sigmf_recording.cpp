#include "app/waveform_files/sigmf_recording.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "app/waveform_files/cf32_file.hpp"
#include "app/waveform_files/input_file.hpp"
#include "common/number_text.hpp"
#include "common/sample_rate_range.hpp"

namespace dot11b::waveform_files {
namespace {

// Metadata of one recording is a few kilobytes; this bounds what is parsed.
constexpr std::uintmax_t kMaxMetadataBytes = std::uintmax_t{16} << 20;

constexpr std::string_view kSupportedDatatypes = "cf32_le, ci16_le, ci8";

nlohmann::json read_metadata(const std::filesystem::path& path) {
    InputFile file(path);
    if (file.size() > kMaxMetadataBytes) {
        file.fail(std::to_string(file.size()) + " bytes are more than SigMF metadata read here may hold");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
    file.read(bytes);
    nlohmann::json metadata = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (metadata.is_discarded()) file.fail("the SigMF metadata is not JSON");
    if (!metadata.is_object() || !metadata.contains("global") || !metadata["global"].is_object()) {
        file.fail("the SigMF metadata has no \"global\" object");
    }
    return metadata;
}

// A finite number under `key` of `object`, if there is one.
std::optional<double> number_at(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_number()) return std::nullopt;
    const double value = found->get<double>();
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

// The transmitter's filter; a field that is not an object with a string type
// and numbers is ignored, as a capture of unknown origin.
std::optional<PulseFilter> pulse_filter_at(const nlohmann::json& global) {
    const auto field = global.find("dot11b:filter");
    if (field == global.end() || !field->is_object()) return std::nullopt;
    const auto type = field->find("type");
    if (type == field->end() || !type->is_string()) return std::nullopt;
    PulseFilter filter;
    filter.type = type->get<std::string>();
    filter.factor = number_at(*field, "factor").value_or(0);
    filter.length_symbols = number_at(*field, "length_symbols").value_or(0);
    return filter;
}

// Two's-complement integers of `Bytes` bytes, little-endian, I then Q.
template <std::size_t Bytes>
void decode_integers(std::span<const std::uint8_t> bytes, std::span<Complex> samples) {
    constexpr double full_scale = static_cast<double>(std::uint64_t{1} << (8 * Bytes - 1));
    const auto integer = [&](std::size_t at) {
        std::uint64_t pattern = 0;
        for (std::size_t i = Bytes; i-- > 0;) pattern = (pattern << 8U) | bytes[at + i];
        const auto sign = std::uint64_t{1} << (8 * Bytes - 1);
        return static_cast<double>(static_cast<std::int64_t>(pattern ^ sign) - static_cast<std::int64_t>(sign));
    };
    for (std::size_t k = 0, at = 0; at < bytes.size(); ++k, at += 2 * Bytes) {
        samples[k] = {integer(at) / full_scale, integer(at + Bytes) / full_scale};
    }
}

// The rows of the annotations labelled "frame" and "burst", each annotation
// a run of ones clipped to the recording; both empty when there is neither.
void read_marker_rows(const nlohmann::json& metadata, Recording& recording) {
    const auto annotations = metadata.find("annotations");
    if (annotations == metadata.end() || !annotations->is_array()) return;
    const std::size_t n = recording.samples.size();
    for (const nlohmann::json& annotation : *annotations) {
        if (!annotation.is_object()) continue;
        const auto label = annotation.find("core:label");
        if (label == annotation.end() || (*label != "frame" && *label != "burst")) continue;
        const auto start = number_at(annotation, "core:sample_start");
        const auto count = number_at(annotation, "core:sample_count");
        if (!start || !count || *start < 0 || *count < 0) continue;
        Bits& row = *label == "frame" ? recording.frame_marker : recording.burst_marker;
        row.resize(n, 0);
        const double first = std::min(*start, static_cast<double>(n));
        const double end = std::min(first + *count, static_cast<double>(n));
        std::fill(row.begin() + static_cast<std::ptrdiff_t>(first), row.begin() + static_cast<std::ptrdiff_t>(end), 1);
    }
    if (!recording.frame_marker.empty() || !recording.burst_marker.empty()) {
        recording.frame_marker.resize(n, 0);
        recording.burst_marker.resize(n, 0);
    }
}

}  // namespace

SigmfPaths sigmf_paths(const std::filesystem::path& path) {
    std::filesystem::path base = path;
    base.replace_extension();
    SigmfPaths paths{base, base};
    paths.data += ".sigmf-data";
    paths.meta += ".sigmf-meta";
    return paths;
}

nlohmann::ordered_json sigmf_metadata(const SigmfDescription& d) {
    nlohmann::ordered_json global = {{"core:datatype", "cf32_le"},
                                     {"core:sample_rate", d.sample_rate_hz},
                                     {"core:version", "1.2.5"},
                                     {"core:num_channels", 1}};
    if (!d.recorder.empty()) global["core:recorder"] = d.recorder;
    if (!d.hardware.empty()) global["core:hw"] = d.hardware;
    if (!d.description.empty()) global["core:description"] = d.description;
    if (d.pulse_filter) {
        global["dot11b:filter"] = {{"type", d.pulse_filter->type},
                                   {"factor", d.pulse_filter->factor},
                                   {"length_symbols", d.pulse_filter->length_symbols}};
    }
    nlohmann::ordered_json capture = {{"core:sample_start", 0}};
    if (d.center_frequency_hz) capture["core:frequency"] = *d.center_frequency_hz;
    if (!d.capture_time.empty()) capture["core:datetime"] = d.capture_time;
    nlohmann::ordered_json annotations = nlohmann::ordered_json::array();
    for (const SigmfAnnotation& a : d.annotations) {
        annotations.push_back({{"core:sample_start", a.sample_start},
                               {"core:sample_count", a.sample_count},
                               {"core:label", a.label},
                               {"core:comment", a.comment}});
    }
    return {{"global", global}, {"captures", nlohmann::ordered_json::array({capture})}, {"annotations", annotations}};
}

void write_sigmf(DurableFile& data, DurableFile& meta, SampleSpan samples, const SigmfDescription& description) {
    write_cf32(data, samples);
    const std::string text = sigmf_metadata(description).dump(2) + "\n";
    meta.write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

SigmfData read_sigmf_metadata(const std::filesystem::path& path) {
    const SigmfPaths paths = sigmf_paths(path);
    SigmfData sigmf;
    sigmf.metadata = read_metadata(paths.meta);
    sigmf.data = paths.data;
    const nlohmann::json& global = sigmf.metadata["global"];
    const auto datatype = global.find("core:datatype");
    if (datatype == global.end() || !datatype->is_string()) {
        fail_to_open(paths.meta, "the SigMF metadata has no core:datatype");
    }
    const auto rate = number_at(global, "core:sample_rate");
    if (!rate) fail_to_open(paths.meta, "the SigMF metadata has no core:sample_rate");
    if (!sample_rate_allowed(*rate)) {
        fail_to_open(paths.meta, "core:sample_rate " + number_text(*rate) + " Hz is not allowed; allowed: " +
                                     allowed_sample_rates());
    }
    if (const auto channels = number_at(global, "core:num_channels"); channels && *channels != 1) {
        fail_to_open(paths.meta, "core:num_channels is " + global["core:num_channels"].dump() +
                                     "; only one channel is read");
    }
    sigmf.type = datatype->get<std::string>();
    if (sigmf.type == "cf32_le") {
        sigmf.sample_bytes = kCf32SampleBytes;
        sigmf.decode = decode_cf32;
    } else if (sigmf.type == "ci16_le") {
        sigmf.sample_bytes = 4;
        sigmf.decode = decode_integers<2>;
    } else if (sigmf.type == "ci8") {
        sigmf.sample_bytes = 2;
        sigmf.decode = decode_integers<1>;
    } else {
        fail_to_open(paths.meta, "core:datatype \"" + sigmf.type + "\" is not supported; supported: " +
                                     std::string(kSupportedDatatypes));
    }

    Recording& recording = sigmf.recording;
    recording.sample_rate_hz = *rate;
    if (const auto description = global.find("core:description");
        description != global.end() && description->is_string()) {
        recording.description = description->get<std::string>();
    }
    const nlohmann::json& metadata = sigmf.metadata;
    recording.pulse_filter = pulse_filter_at(global);
    if (const auto captures = metadata.find("captures");
        captures != metadata.end() && captures->is_array() && !captures->empty() && (*captures)[0].is_object()) {
        // Capture tools write 0 (or less) for a baseband recording: no carrier known.
        const auto frequency = number_at((*captures)[0], "core:frequency");
        if (frequency && *frequency > 0) recording.center_frequency_hz = frequency;
    }
    return sigmf;
}

Recording read_sigmf(const std::filesystem::path& path) {
    SigmfData sigmf = read_sigmf_metadata(path);
    InputFile data(sigmf.data);
    sigmf.recording.samples = read_samples(data, sigmf.sample_bytes, sigmf.type, sigmf.decode);
    read_marker_rows(sigmf.metadata, sigmf.recording);
    return std::move(sigmf.recording);
}

}  // namespace dot11b::waveform_files
