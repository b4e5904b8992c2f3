#include "analyzer/checksums.hpp"

#include <array>

namespace dot11b::analyzer {
namespace {

constexpr std::uint16_t kCrc16Polynomial = 0x1021;
constexpr std::uint32_t kCrc32ReflectedPolynomial = 0xEDB88320;

// One entry per octet value: the reflected CRC-32 register update.
constexpr std::array<std::uint32_t, 256> make_crc32_table() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t value = 0; value < 256; ++value) {
        std::uint32_t reg = value;
        for (int bit = 0; bit < 8; ++bit) reg = (reg & 1U) ? (reg >> 1) ^ kCrc32ReflectedPolynomial : reg >> 1;
        table[value] = reg;
    }
    return table;
}

constexpr auto kCrc32Table = make_crc32_table();

}  // namespace

Bits header_crc16(BitSpan bits) {
    std::uint16_t reg = 0xFFFF;
    for (const std::uint8_t bit : bits) {
        const bool feedback = ((reg >> 15) & 1U) != (bit & 1U);
        reg = static_cast<std::uint16_t>(reg << 1);
        if (feedback) reg ^= kCrc16Polynomial;
    }
    reg = static_cast<std::uint16_t>(~reg);
    Bits crc(16);
    for (int k = 0; k < 16; ++k) crc[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>((reg >> (15 - k)) & 1U);
    return crc;
}

std::uint32_t fcs_crc32(std::span<const std::uint8_t> octets) {
    std::uint32_t reg = 0xFFFFFFFF;
    for (const std::uint8_t octet : octets) reg = (reg >> 8) ^ kCrc32Table[(reg ^ octet) & 0xFFU];
    return ~reg;
}

}  // namespace dot11b::analyzer
