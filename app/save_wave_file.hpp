#pragma once
// The Save Wave file: a Level 5 MAT-file with the waveform as an N x 2 matrix
// `wave` (I in the first column, Q in the second), its length `samplePoints`
// and `sampleRate` in Hz.

#include <filesystem>

#include "common/types.hpp"

namespace dot11b::app {

// Throws IoError naming the file.
void save_wave_file(const std::filesystem::path& path, SampleSpan waveform, double sample_rate);

}  // namespace dot11b::app
