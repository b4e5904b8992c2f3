#pragma once
// Reading a waveform recording from any of the waveform file formats, for
// the plot tool, the analyser and the window. Every file is untrusted: sizes
// are checked against the real file, and every fault is an error naming the
// file ("cannot open PATH: REASON").

#include <complex>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/waveform_files/file_format.hpp"
#include "app/waveform_files/pulse_filter.hpp"

namespace dot11b::waveform_files {

struct Recording {
    std::vector<std::complex<double>> samples;
    double sample_rate_hz = 0;                  // from the file, or from ReadOptions
    std::optional<double> center_frequency_hz;  // SigMF core:frequency when present and above 0
    std::string description;                    // SigMF core:description when present
    std::optional<PulseFilter> pulse_filter;    // SigMF dot11b:filter when present and well formed
    // The marker rows of a SigMF recording's "frame" and "burst" annotations
    // (rows 1 and 2, as a waveform is written); empty when it has neither.
    std::vector<std::uint8_t> frame_marker;
    std::vector<std::uint8_t> burst_marker;
};

struct ReadOptions {
    // The sample rate of a .wfm or .cf32 file, which do not hold one; the
    // rate held by a SigMF recording or a .mat file is used as it is.
    std::optional<double> sample_rate_hz;
};

// Reads the recording in the format of the file's extension (format_of):
// .wfm words are divided by 32766, .cf32 samples are taken as they are,
// SigMF cf32_le, ci16_le and ci8 data are read (integers divided by 32768 and
// 128, so that full scale is 1), and the .mat file's `wave` columns are I and
// Q. Throws ConfigError for an unknown extension or a .wfm/.cf32 file without
// a sample rate, IoError for a file that cannot be read or whose contents are
// not valid.
Recording read_recording(const std::filesystem::path& path, const ReadOptions& options = {});

// The files the recording `path` names is read from: both files of a SigMF
// recording, else the file itself. Throws ConfigError for an unknown extension.
std::vector<std::filesystem::path> recording_files(const std::filesystem::path& path);

}  // namespace dot11b::waveform_files
