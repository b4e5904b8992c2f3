#pragma once
// Writing a waveform in the format of a file name's extension: the one set
// of writers of the command line and the window.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/waveform_files/file_format.hpp"
#include "app/waveform_files/pulse_filter.hpp"
#include "common/durable_file.hpp"
#include "common/types.hpp"

namespace dot11b::waveform_files {

// A waveform and what the formats that hold more than samples record of it.
// The spans refer to the caller's data, which is written from where it lies.
struct WaveformOutput {
    SampleSpan samples;
    double sample_rate_hz = 0;                  // SigMF and .mat
    std::optional<double> center_frequency_hz;  // SigMF core:frequency
    BitSpan frame_marker;                       // SigMF annotation "frame"; may be empty
    BitSpan burst_marker;                       // SigMF annotation "burst"; may be empty
    std::string recorder;                       // SigMF core:recorder
    std::string description;                    // SigMF core:description
    std::string hardware;                       // SigMF core:hw
    std::string capture_time;                   // SigMF core:datetime of the capture, ISO 8601 UTC
    std::optional<PulseFilter> pulse_filter;    // SigMF dot11b:filter
};

// Adds the files of `path` (a SigMF recording is two, data first) to `files`
// and writes them there; they replace the targets when `files` is committed.
// Returns the files' paths. Throws ConfigError for an unknown extension, a
// sample that is not finite or, for the formats that record it, a sample rate
// that is not above 0; IoError naming the file.
std::vector<std::filesystem::path> stage_waveform(DurableFileSet& files, const std::filesystem::path& path,
                                                  const WaveformOutput& waveform);

}  // namespace dot11b::waveform_files
