#include "app/waveform_files/cf32_file.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>

namespace dot11b::waveform_files {
namespace {

constexpr std::size_t kChunkSamples = 4096;
constexpr std::size_t kSampleBytes = kCf32SampleBytes;

// The bit pattern of a float32 as the file holds it: little-endian.
std::uint32_t little_endian(std::uint32_t bits) {
    if constexpr (std::endian::native == std::endian::little) return bits;
    return (bits >> 24) | ((bits >> 8) & 0xFF00U) | ((bits << 8) & 0xFF0000U) | (bits << 24);
}

double get_float32(const std::uint8_t* in) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8U) | in[i];
    return std::bit_cast<float>(bits);
}

}  // namespace

// Whole chunks are converted in one loop the compiler vectorises, then written
// as they are.
void write_cf32(DurableFile& file, SampleSpan samples) {
    std::array<std::uint32_t, 2 * kChunkSamples> words;
    for (std::size_t start = 0; start < samples.size(); start += kChunkSamples) {
        const std::size_t count = std::min(kChunkSamples, samples.size() - start);
        const Complex* chunk = samples.data() + start;
        for (std::size_t k = 0; k < count; ++k) {
            words[2 * k] = little_endian(std::bit_cast<std::uint32_t>(static_cast<float>(chunk[k].real())));
            words[2 * k + 1] = little_endian(std::bit_cast<std::uint32_t>(static_cast<float>(chunk[k].imag())));
        }
        file.write(std::span(reinterpret_cast<const std::uint8_t*>(words.data()), count * kSampleBytes));
    }
}

Samples read_cf32(const std::filesystem::path& path) {
    InputFile file(path);
    return read_cf32(file);
}

void decode_cf32(std::span<const std::uint8_t> bytes, std::span<Complex> samples) {
    Complex* out = samples.data();
    if constexpr (std::endian::native == std::endian::little) {
        // The file's byte order is the host's: whole floats, in a loop the compiler vectorises.
        std::array<float, 2 * kChunkSamples> floats;
        for (std::size_t at = 0; at < bytes.size(); at += sizeof floats) {
            const std::size_t n = std::min(sizeof floats, bytes.size() - at);
            std::memcpy(floats.data(), bytes.data() + at, n);
            for (std::size_t k = 0; k < n / kSampleBytes; ++k) *out++ = {floats[2 * k], floats[2 * k + 1]};
        }
        return;
    }
    for (std::size_t at = 0; at < bytes.size(); at += kSampleBytes) {
        *out++ = {get_float32(&bytes[at]), get_float32(&bytes[at + 4])};
    }
}

Samples read_cf32(InputFile& file) { return read_samples(file, kSampleBytes, "cf32", decode_cf32); }

}  // namespace dot11b::waveform_files
