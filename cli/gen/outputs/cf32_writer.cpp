#include "cli/gen/outputs/cf32_writer.hpp"

#include <bit>

namespace dot11b::cli {
namespace {

void append_float32(std::vector<std::uint8_t>& bytes, double value) {
    const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(value));
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
}

}  // namespace

std::vector<std::uint8_t> cf32_bytes(SampleSpan samples) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(8 * samples.size());
    for (const Complex z : samples) {
        append_float32(bytes, z.real());
        append_float32(bytes, z.imag());
    }
    return bytes;
}

}  // namespace dot11b::cli
