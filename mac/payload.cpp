#include "mac/payload.hpp"

#include "mac/crc32.hpp"
#include "mac/pn_generator.hpp"

namespace dot11b::mac {
namespace {

Bits alternating(std::size_t count, std::uint8_t first) {
    Bits bits(count);
    for (std::size_t i = 0; i < count; ++i) bits[i] = static_cast<std::uint8_t>(first ^ (i & 1U));
    return bits;
}

Bits pn_payload(int order, std::size_t count) {
    // The generator itself returns at least one bit; an empty payload stays empty.
    if (count == 0) return {};
    return pn_sequence(order, count, false, pn_default_seed(order), false);
}

}  // namespace

std::optional<PayloadSource> payload_source_from_code(double code) {
    for (int c = 1; c <= 7; ++c) {
        if (code == c) return static_cast<PayloadSource>(c);
    }
    return std::nullopt;
}

Bits payload_data(const PayloadConfig& config) {
    const std::size_t count = 8 * config.data_length;
    switch (config.source) {
    case PayloadSource::Zeros:
        return Bits(count, 0);
    case PayloadSource::Ones:
        return Bits(count, 1);
    case PayloadSource::Alternating01:
        return alternating(count, 0);
    case PayloadSource::Alternating10:
        return alternating(count, 1);
    case PayloadSource::Pn9:
        return pn_payload(9, count);
    case PayloadSource::Pn15:
        return pn_payload(15, count);
    case PayloadSource::UserData:
        return config.user_bits;
    }
    return {};
}

Bits generate_payload(const PayloadConfig& config) {
    Bits packet;
    if (config.framed && config.mac_header_active) packet = config.mac_header_bits;
    const Bits data = payload_data(config);
    packet.insert(packet.end(), data.begin(), data.end());
    if (config.framed && config.fcs_active) {
        const Bits fcs = crc32(packet);
        packet.insert(packet.end(), fcs.begin(), fcs.end());
    }
    return packet;
}

}  // namespace dot11b::mac
