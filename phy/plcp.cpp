#include "phy/plcp.hpp"

#include <algorithm>
#include <array>
#include <sstream>
#include <string>

#include "common/errors.hpp"
#include "mac/bit_conversion.hpp"
#include "mac/lfsr_checksum.hpp"

namespace dot11b::phy {
namespace {

// Long-preamble start frame delimiter F3A0h, least significant bit first; the
// short preamble sends it reversed.
constexpr std::array<std::uint8_t, 16> kLongSfd = {0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 0, 0, 1, 1, 1, 1};

}  // namespace

PreambleType preamble_type_from_value(double value, std::string_view context) {
    if (value == 0) return PreambleType::Long;
    if (value == 1) return PreambleType::Short;
    std::ostringstream message;
    message << context << ": preambleType " << value << " is not 0 (long) or 1 (short)";
    throw ConfigError(message.str());
}

Bits preamble_bits(PreambleType type) {
    Bits bits;
    if (type == PreambleType::Long) {
        bits.assign(128, 1);
        bits.insert(bits.end(), kLongSfd.begin(), kLongSfd.end());
    } else {
        bits.assign(56, 0);
        bits.insert(bits.end(), kLongSfd.rbegin(), kLongSfd.rend());
    }
    return bits;
}

Bits signal_field(DataRate rate) {
    if (rate == DataRate::Mbps22 || rate == DataRate::Mbps33) {
        std::ostringstream message;
        message << "dot11b_SIGNAL: DATArate " << rate_in_mbps(rate)
                << " has no SIGNAL code; allowed are 1, 2, 5.5, 11 (Mbit/s)";
        throw ConfigError(message.str());
    }
    return mac::bit_vector(rate_in_100kbps(rate), 8);
}

Bits service_field(std::uint8_t locked, std::uint8_t mod, std::uint8_t b5, std::uint8_t b6, std::uint8_t b7) {
    return {0, 0, locked, mod, 0, b5, b6, b7};
}

LengthField length_field(std::size_t psdu_bits, DataRate rate, std::uint8_t mod) {
    // Work in tenths of a bit so that 5.5 Mbit/s stays exact: the duration is
    // ceil(bits / rate) microseconds and `spare` the bits that would fit in it
    // but are not sent.
    const auto rate10 = static_cast<std::uint64_t>(rate_in_100kbps(rate));
    const std::uint64_t sent10 = 10 * (static_cast<std::uint64_t>(psdu_bits) + 8U * mod);
    const std::uint64_t micros = (sent10 + rate10 - 1) / rate10;
    if (micros > 0xFFFF) {
        throw ConfigError("dot11b_LENGTH: a PSDU of " + std::to_string(psdu_bits) + " bits lasts " +
                          std::to_string(micros) + " us, more than the 65535 us a LENGTH field holds");
    }
    const std::uint64_t spare10 = rate10 * micros - sent10;

    LengthField field;
    field.bits = mac::bit_vector(static_cast<double>(micros), 16);
    // The extension bits count whole spare octets (b5 the most significant);
    // only 11, 22 and 33 Mbit/s can leave a spare octet in the last microsecond.
    if (rate == DataRate::Mbps11 || rate == DataRate::Mbps22 || rate == DataRate::Mbps33) {
        const std::uint64_t spare_octets = spare10 / 80;
        field.b5 = static_cast<std::uint8_t>((spare_octets >> 2) & 1U);
        field.b6 = static_cast<std::uint8_t>((spare_octets >> 1) & 1U);
        field.b7 = static_cast<std::uint8_t>(spare_octets & 1U);
    }
    return field;
}

Bits crc16(BitSpan bits) {
    static constexpr std::array<std::uint8_t, 17> kGenerator = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1};
    static constexpr std::array<std::uint8_t, 16> kPreset = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    Bits crc = mac::lfsr_checksum(kGenerator, kPreset, bits);
    for (auto& bit : crc) bit ^= 1U;
    return crc;
}

Bits header_bits(std::size_t psdu_bits, DataRate rate, std::uint8_t mod, std::uint8_t locked) {
    Bits header = signal_field(rate);
    const LengthField length = length_field(psdu_bits, rate, mod);
    const Bits service = service_field(locked, mod, length.b5, length.b6, length.b7);
    header.insert(header.end(), service.begin(), service.end());
    header.insert(header.end(), length.bits.begin(), length.bits.end());
    const Bits crc = crc16(header);
    header.insert(header.end(), crc.begin(), crc.end());
    return header;
}

}  // namespace dot11b::phy
