#include "analyzer/plcp_header.hpp"

#include <algorithm>

#include "analyzer/checksums.hpp"
#include "analyzer/constants.hpp"

namespace dot11b::analyzer {
namespace {

unsigned field(BitSpan bits, std::size_t first, std::size_t count) {
    unsigned value = 0;
    for (std::size_t k = 0; k < count; ++k) value |= static_cast<unsigned>(bits[first + k] & 1U) << k;
    return value;
}

}  // namespace

PlcpHeader parse_plcp_header(BitSpan bits) {
    PlcpHeader header;
    header.signal = static_cast<std::uint8_t>(field(bits, 0, 8));
    header.service = static_cast<std::uint8_t>(field(bits, 8, 8));
    header.length = static_cast<std::uint16_t>(field(bits, 16, 16));
    for (std::size_t k = 32; k < kHeaderBits; ++k) header.crc = static_cast<std::uint16_t>((header.crc << 1) | bits[k]);
    const Bits expected = header_crc16(bits.first(32));
    header.crc_ok = std::equal(expected.begin(), expected.end(), bits.begin() + 32);
    return header;
}

std::optional<PsduFormat> psdu_format(const PlcpHeader& header) {
    PsduFormat format;
    format.rate_100kbps = header.signal;
    switch (header.signal) {
    case 10: format.modulation = PsduModulation::Dbpsk; break;
    case 20: format.modulation = PsduModulation::Dqpsk; break;
    case 55:
    case 110: format.modulation = header.pbcc() ? PsduModulation::Pbcc : PsduModulation::Cck; break;
    default: return std::nullopt;
    }
    // LENGTH x rate in bits, with the rate in units of 100 kbit/s: divide by 8 x 10.
    long long octets = static_cast<long long>(header.length) * header.signal / 80;
    if (header.signal == 110 && header.length_extension()) --octets;
    if (format.modulation == PsduModulation::Pbcc) --octets;
    if (octets < 0) return std::nullopt;
    format.octets = static_cast<std::size_t>(octets);
    return format;
}

std::size_t psdu_chip_count(const PsduFormat& format, bool pbcc_coded) {
    const std::size_t bits = 8 * format.octets;
    switch (format.modulation) {
    case PsduModulation::Dbpsk: return kChipsPerSymbol * bits;
    case PsduModulation::Dqpsk: return kChipsPerSymbol * (bits / 2);
    case PsduModulation::Cck: return format.rate_100kbps == 110 ? bits : 2 * bits;
    case PsduModulation::Pbcc: {
        const std::size_t coded = pbcc_coded ? 2 * (bits + kPbccTailBits) : bits;
        return format.rate_100kbps == 110 ? coded / 2 : coded;
    }
    }
    return 0;
}

const char* modulation_name(PsduModulation modulation) {
    switch (modulation) {
    case PsduModulation::Dbpsk: return "DBPSK";
    case PsduModulation::Dqpsk: return "DQPSK";
    case PsduModulation::Cck: return "CCK";
    case PsduModulation::Pbcc: return "PBCC";
    }
    return "";
}

std::string rate_text(int rate_100kbps) {
    std::string text = std::to_string(rate_100kbps / 10);
    if (rate_100kbps % 10 != 0) text += "." + std::to_string(rate_100kbps % 10);
    return text;
}

}  // namespace dot11b::analyzer
