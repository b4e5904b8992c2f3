#pragma once
// The MAC level of a PSDU: the frame check sequence and the MAC header fields
// (IEEE 802.11-2016 clause 9.2).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace dot11b::analyzer {

using MacAddress = std::array<std::uint8_t, 6>;  // in transmission order

struct MacHeaderFields {
    std::uint16_t frame_control = 0;  // FrameCntrl, sent least significant octet first
    std::uint16_t duration_id = 0;    // DurationID
    MacAddress address1{};
    std::optional<MacAddress> address2;
    std::optional<MacAddress> address3;
    std::optional<std::uint16_t> sequence_control;  // SeqCntrl
    std::optional<MacAddress> address4;
    std::size_t octets = 0;  // header length

    unsigned type() const { return (frame_control >> 2) & 3U; }
    unsigned subtype() const { return (frame_control >> 4) & 15U; }
    bool to_ds() const { return (frame_control >> 8) & 1U; }
    bool from_ds() const { return (frame_control >> 9) & 1U; }
};

// True when the PSDU holds at least 4 octets and its last four carry the CRC-32
// of the octets before them.
bool fcs_valid(std::span<const std::uint8_t> psdu);

// The header fields the frame control announces: management and data frames carry
// Address1-3 and SeqCntrl, data frames to and from the distribution system also
// Address4; ACK and CTS carry Address1, other control frames Address1-2. Nothing
// when the octets are too few or the type is the extension type.
std::optional<MacHeaderFields> parse_mac_header(std::span<const std::uint8_t> mpdu);

// For example "data", "management", "control (ACK)".
std::string frame_type_name(const MacHeaderFields& header);

// Six octets as hexadecimal pairs joined by colons, in transmission order.
std::string address_text(const MacAddress& address);

}  // namespace dot11b::analyzer
