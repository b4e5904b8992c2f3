#pragma once
// The Save Wave file (.mat): a Level 5 MAT-file with the waveform as an N x 2
// matrix `wave` (I in the first column, Q in the second), its length
// `samplePoints` and `sampleRate` in Hz.

#include <filesystem>

#include "app/waveform_files/recording_reader.hpp"
#include "common/durable_file.hpp"
#include "common/types.hpp"

namespace dot11b::waveform_files {

// Writes the MAT-file into `file`. Throws IoError naming the file.
void write_save_wave(DurableFile& file, SampleSpan waveform, double sample_rate);

// Replaces the file at `path` durably. Throws IoError naming the file.
void write_save_wave(const std::filesystem::path& path, SampleSpan waveform, double sample_rate);

// Reads `wave` and `sampleRate`; `samplePoints`, when present, must match the
// rows of `wave`. Throws IoError naming the file.
Recording read_save_wave(const std::filesystem::path& path);

}  // namespace dot11b::waveform_files
