#pragma once
// The output files of dot11b-gen, their format chosen by the file extension.

#include <filesystem>
#include <optional>
#include <vector>

#include "cli/gen/generated_waveform.hpp"

namespace dot11b::cli {

enum class OutputFormat {
    InstrumentWaveform,  // .wfm: 16-bit big-endian I/Q words for the generator
    Cf32,                // .cf32: raw little-endian float32 I, Q
    SigMf,               // .sigmf-meta / .sigmf-data: a SigMF recording
    SaveWave,            // .mat: samplePoints, sampleRate and the N x 2 wave
};

// The format of a file name, or nothing for an extension no writer knows.
std::optional<OutputFormat> output_format_of(const std::filesystem::path& path);

// "Allowed extensions" text for messages.
const char* output_extensions();

// Writes the waveform in the format of the file's extension and returns the
// files written (a SigMF recording is two); each file is written under a
// temporary name and renamed into place. Throws IoError naming the file,
// ConfigError for an unknown extension.
std::vector<std::filesystem::path> write_output(const std::filesystem::path& path, const GeneratedWaveform& waveform);

// One byte per sample: bit 0 marker row 1 (the frame), bit 1 marker row 2 (the burst).
void write_markers(const std::filesystem::path& path, const GeneratedWaveform& waveform);

}  // namespace dot11b::cli
