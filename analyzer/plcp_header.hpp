#pragma once
// The PLCP header fields SIGNAL, SERVICE, LENGTH and CRC (IEEE 802.11-2016
// clauses 16 and 17) and the PSDU they announce.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "analyzer/constants.hpp"
#include "common/types.hpp"

namespace dot11b::analyzer {

struct PlcpHeader {
    std::uint8_t signal = 0;   // data rate in units of 100 kbit/s
    std::uint8_t service = 0;  // b0 in the least significant bit
    std::uint16_t length = 0;  // PSDU duration in microseconds
    std::uint16_t crc = 0;     // as received, the first bit most significant
    bool crc_ok = false;

    bool locked_clocks() const { return (service >> kServiceLockedClocksBit) & 1U; }
    bool pbcc() const { return (service >> kServicePbccBit) & 1U; }
    bool length_extension() const { return (service >> kServiceLengthExtensionBit) & 1U; }
};

// Parses the 48 descrambled header bits, each field least significant bit first,
// and checks the CRC-16 over SIGNAL, SERVICE and LENGTH.
PlcpHeader parse_plcp_header(BitSpan bits);

enum class PsduModulation { Dbpsk, Dqpsk, Cck, Pbcc };

struct PsduFormat {
    int rate_100kbps = 0;
    PsduModulation modulation = PsduModulation::Dbpsk;
    std::size_t octets = 0;
};

// The modulation and the PSDU octets of a 1, 2, 5.5 or 11 Mbit/s header:
// floor(LENGTH x rate / 8 bits), less the length extension bit at 11 Mbit/s and
// less the octet PBCC adds for its tail. Nothing for another SIGNAL (including
// the 22 and 33 Mbit/s PBCC modes, which are not supported) or a LENGTH too
// short for a PBCC tail.
std::optional<PsduFormat> psdu_format(const PlcpHeader& header);

// Chips of the PSDU at 11 Mchip/s: 11 per bit at 1 Mbit/s, 11 per 2 bits at 2,
// 8 per 4 or 8 bits with CCK at 5.5 or 11, and with PBCC one per coded bit at 5.5
// and per 2 coded bits at 11 (coded: twice the bits plus an 8-bit tail).
std::size_t psdu_chip_count(const PsduFormat& format, bool pbcc_coded);

const char* modulation_name(PsduModulation modulation);

// A rate in units of 100 kbit/s as Mbit/s: "1", "5.5", "11".
std::string rate_text(int rate_100kbps);

}  // namespace dot11b::analyzer
