#include "app/waveform_files/cf32_file.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>


namespace dot11b::waveform_files {
namespace {

constexpr std::size_t kChunkSamples = 4096;
constexpr std::size_t kSampleBytes = 8;

std::uint8_t* put_float32(double value, std::uint8_t* out) {
    const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(value));
    for (int shift = 0; shift < 32; shift += 8) *out++ = static_cast<std::uint8_t>(bits >> shift);
    return out;
}

double get_float32(const std::uint8_t* in) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8U) | in[i];
    return std::bit_cast<float>(bits);
}

}  // namespace

void write_cf32(DurableFile& file, SampleSpan samples) {
    std::array<std::uint8_t, kChunkSamples * kSampleBytes> buffer;
    for (std::size_t start = 0; start < samples.size(); start += kChunkSamples) {
        const SampleSpan chunk = samples.subspan(start, std::min(kChunkSamples, samples.size() - start));
        std::uint8_t* out = buffer.data();
        for (const Complex z : chunk) out = put_float32(z.imag(), put_float32(z.real(), out));
        file.write(std::span(buffer.data(), chunk.size() * kSampleBytes));
    }
}

Samples read_cf32(const std::filesystem::path& path) {
    InputFile file(path);
    return read_cf32(file);
}

Samples read_cf32(InputFile& file) {
    return read_samples(file, kSampleBytes, "cf32", [](std::span<const std::uint8_t> bytes, Samples& samples) {
        for (std::size_t at = 0; at < bytes.size(); at += kSampleBytes) {
            samples.emplace_back(get_float32(&bytes[at]), get_float32(&bytes[at + 4]));
        }
    });
}

}  // namespace dot11b::waveform_files
