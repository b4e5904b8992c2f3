#pragma once
// The instrument waveform file (.wfm): no header, two 16-bit two's-complement
// words per sample (I, then Q), most significant byte first. The largest I or
// Q magnitude maps to 32766 x scale.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "common/durable_file.hpp"
#include "common/types.hpp"

namespace dot11b::waveform_files {

// Full-scale word at a scale factor of 1 (2^15 - 2).
inline constexpr double kWfmFullScale = 32766;

// The allowed scale factors; others are limited to this range.
inline constexpr double kMinWfmScale = 1e-05;
inline constexpr double kMaxWfmScale = 1;

// The interleaved words I0, Q0, I1, Q1, ... Throws ConfigError for a sample
// that is not finite.
std::vector<std::int16_t> wfm_words(SampleSpan samples, double scale = 1);

// The file contents (also the instrument's waveform block): the words of
// wfm_words, each high byte first.
std::vector<std::uint8_t> wfm_bytes(SampleSpan samples, double scale = 1);

// Writes the file contents into `file`, converting a bounded chunk at a time.
// Throws ConfigError as wfm_words, IoError naming the file.
void write_wfm(DurableFile& file, SampleSpan samples, double scale = 1);

// Replaces the file at `path` durably; a failure leaves any old file as it was.
void write_wfm(const std::filesystem::path& path, SampleSpan samples, double scale = 1);

inline constexpr std::size_t kWfmSampleBytes = 4;
inline constexpr const char* kWfmSampleType = "16-bit I/Q word pair";  // in messages

// Appends the samples of whole word pairs `bytes` to `samples`, each word divided by 32766.
void decode_wfm(std::span<const std::uint8_t> bytes, std::span<Complex> out);

// The samples of a .wfm file, each word divided by 32766, so that a file
// written at scale 1 reads back with its largest I or Q magnitude at 1.
// Throws IoError "cannot open PATH: REASON".
Samples read_wfm(const std::filesystem::path& path);

}  // namespace dot11b::waveform_files
