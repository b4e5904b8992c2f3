#pragma once
// The PSDU bit stream: the payload of the chosen source, optionally preceded
// by the MAC header and followed by the frame check sequence.

#include <cstddef>
#include <optional>

#include "common/types.hpp"

namespace dot11b::mac {

// Payload source codes of the format configuration.
enum class PayloadSource {
    Zeros = 1,
    Ones = 2,
    Alternating01 = 3,  // 0 1 0 1 ...
    Alternating10 = 4,  // 1 0 1 0 ...
    Pn9 = 5,
    Pn15 = 6,
    UserData = 7,  // the bits of a user data file
};

// The source of a code 1 to 7, or nothing.
std::optional<PayloadSource> payload_source_from_code(double code);

struct PayloadConfig {
    PayloadSource source = PayloadSource::Zeros;
    std::size_t data_length = 1024;  // payload octets; not applied to user data
    Bits user_bits;                  // the payload of PayloadSource::UserData
    bool framed = true;              // the MAC header and FCS are added only to a framed PSDU
    bool mac_header_active = false;
    Bits mac_header_bits;  // the MAC header bit stream
    bool fcs_active = false;
};

// The payload alone: 8 * data_length bits of the source, or the user bits. A
// length of 0 gives an empty payload for every source, PN ones included.
Bits payload_data(const PayloadConfig& config);

// Header bits, payload bits and FCS bits in transmission order. The FCS
// covers the header and the payload.
Bits generate_payload(const PayloadConfig& config);

}  // namespace dot11b::mac
