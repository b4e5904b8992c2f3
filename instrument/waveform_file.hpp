#pragma once
// The instrument waveform file: no header, two 16-bit two's-complement words
// per sample (I, then Q), most significant byte first. The largest I or Q
// magnitude maps to 32766 x scale.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "common/types.hpp"

namespace dot11b::instrument {

// Full-scale word at a scale factor of 1 (2^15 - 2).
inline constexpr double kWaveformFullScale = 32766;

// The allowed scale factors; others are limited to this range.
inline constexpr double kMinWaveformScale = 1e-05;
inline constexpr double kMaxWaveformScale = 1;

// The interleaved words I0, Q0, I1, Q1, ... Throws ConfigError for a sample
// that is not finite.
std::vector<std::int16_t> waveform_words(SampleSpan samples, double scale = 1);

// The file contents: the words of waveform_words, each high byte first.
std::vector<std::uint8_t> waveform_file_bytes(SampleSpan samples, double scale = 1);

// Writes the file through a temporary file in the same folder that is renamed
// into place, so an existing file is replaced whole or not at all. Throws
// IoError naming the path and the reason, ConfigError as waveform_words.
void write_waveform_file(const std::filesystem::path& path, SampleSpan samples, double scale = 1);

}  // namespace dot11b::instrument
