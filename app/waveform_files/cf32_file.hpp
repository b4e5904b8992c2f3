#pragma once
// Raw complex float32 samples (.cf32): I then Q, little-endian whatever the
// host, not scaled. Also the data file of a cf32_le SigMF recording.

#include <filesystem>

#include "app/waveform_files/input_file.hpp"
#include "common/durable_file.hpp"
#include "common/types.hpp"

namespace dot11b::waveform_files {

inline constexpr std::size_t kCf32SampleBytes = 8;

// Appends the samples of whole cf32 samples `bytes` to `samples`.
void decode_cf32(std::span<const std::uint8_t> bytes, std::span<Complex> out);

// Writes the samples into `file`, converting a bounded chunk at a time.
// Throws IoError naming the file.
void write_cf32(DurableFile& file, SampleSpan samples);

// Throws IoError "cannot open PATH: REASON" for an empty file, a size that is
// not a whole number of samples, or a sample that is not a finite number.
Samples read_cf32(const std::filesystem::path& path);
Samples read_cf32(InputFile& file);

}  // namespace dot11b::waveform_files
