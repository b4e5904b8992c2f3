#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "analyzer/checksums.hpp"
#include "analyzer/descrambler.hpp"
#include "analyzer/mac_frame.hpp"
#include "analyzer/plcp_header.hpp"
#include "phy/plcp.hpp"
#include "phy/scrambler.hpp"
#include "phy/tests/test_bits.hpp"

namespace dot11b::analyzer {
namespace {

using dot11b::test::random_bits;

Bits bits_of_octets(const std::string& text) {
    Bits bits;
    for (const unsigned char c : text) {
        for (int k = 0; k < 8; ++k) bits.push_back(static_cast<std::uint8_t>((c >> k) & 1U));
    }
    return bits;
}

std::vector<std::uint8_t> octets_of(const std::string& text) { return {text.begin(), text.end()}; }

TEST(Checksums, MatchTheCatalogueCheckValues) {
    // CRC-16/X-25 and CRC-32/ISO-HDLC of "123456789" (the CRC catalogue): the
    // header CRC sent x^15 first is the X-25 value read first bit least significant.
    const Bits crc = header_crc16(bits_of_octets("123456789"));
    unsigned value = 0;
    for (std::size_t k = 0; k < crc.size(); ++k) value |= static_cast<unsigned>(crc[k]) << k;
    EXPECT_EQ(value, 0x906Eu);
    EXPECT_EQ(fcs_crc32(octets_of("123456789")), 0xCBF43926u);
}

TEST(PlcpHeader, EverySingleBitErrorFailsTheCrc) {
    const Bits header = phy::header_bits(8 * 100, phy::DataRate::Mbps11, 0, 1);
    const PlcpHeader clean = parse_plcp_header(header);
    ASSERT_TRUE(clean.crc_ok);
    EXPECT_EQ(clean.signal, 110);
    EXPECT_TRUE(clean.locked_clocks());
    EXPECT_EQ(clean.length, 73);  // ceil(800 / 11) us
    for (std::size_t k = 0; k < header.size(); ++k) {
        Bits flipped = header;
        flipped[k] ^= 1U;
        EXPECT_FALSE(parse_plcp_header(flipped).crc_ok) << "bit " << k;
    }
}

TEST(PlcpHeader, LengthGivesThePsduOctets) {
    struct Case {
        std::uint8_t signal;
        std::uint8_t service;
        std::uint16_t length;
        std::optional<std::size_t> octets;
        PsduModulation modulation;
    };
    // LENGTH = ceil(8 x octets / rate) us (one octet more with PBCC); at 11 Mbit/s
    // the extension bit b7 marks 8 or more spare bits in the last microsecond.
    const std::vector<Case> cases = {
        {10, 0x00, 8192, 1024, PsduModulation::Dbpsk},       {20, 0x00, 4096, 1024, PsduModulation::Dqpsk},
        {55, 0x00, 1490, 1024, PsduModulation::Cck},   // 8192 / 5.5 = 1489.5
        {110, 0x00, 745, 1024, PsduModulation::Cck},   // 8192 / 11 = 744.7
        {110, 0x80, 747, 1026, PsduModulation::Cck},   // 8208 / 11 = 746.2, 9 spare bits
        {110, 0x08, 746, 1024, PsduModulation::Pbcc},  // 8200 / 11 = 745.5
        {55, 0x08, 1492, 1024, PsduModulation::Pbcc},  // 8200 / 5.5 = 1490.9
        {55, 0x08, 0, std::nullopt, PsduModulation::Pbcc},   {220, 0x08, 373, std::nullopt, PsduModulation::Pbcc},
        {0, 0x00, 100, std::nullopt, PsduModulation::Dbpsk},
    };
    for (const Case& c : cases) {
        PlcpHeader header;
        header.signal = c.signal;
        header.service = c.service;
        header.length = c.length;
        const auto format = psdu_format(header);
        ASSERT_EQ(format.has_value(), c.octets.has_value()) << int(c.signal) << " " << c.length;
        if (!format) continue;
        EXPECT_EQ(format->octets, *c.octets) << int(c.signal) << " " << c.length;
        EXPECT_EQ(format->modulation, c.modulation) << int(c.signal);
    }
}

TEST(Descrambler, UndoesTheScramblerAfterSevenBitsWhateverTheSeed) {
    const Bits data = random_bits(500, 3);
    for (const auto type : {phy::PreambleType::Long, phy::PreambleType::Short}) {
        const Bits received = phy::scramble_741(data, phy::scrambler_seed(type));
        const Bits recovered = Descrambler().run(received);
        EXPECT_TRUE(std::equal(recovered.begin() + 7, recovered.end(), data.begin() + 7));
    }
}

std::vector<std::uint8_t> frame_with_fcs(std::vector<std::uint8_t> octets) {
    const std::uint32_t fcs = fcs_crc32(octets);
    for (int k = 0; k < 4; ++k) octets.push_back(static_cast<std::uint8_t>(fcs >> (8 * k)));
    return octets;
}

TEST(MacFrame, FcsChecksTheLastFourOctets) {
    std::vector<std::uint8_t> frame = frame_with_fcs(octets_of("123456789"));
    EXPECT_EQ(frame[9], 0x26);  // CBF43926h, least significant octet first
    EXPECT_TRUE(fcs_valid(frame));
    frame[3] ^= 0x10;
    EXPECT_FALSE(fcs_valid(frame));
    EXPECT_FALSE(fcs_valid(std::vector<std::uint8_t>{0, 0, 0}));
}

TEST(MacFrame, HeaderFieldsFollowTheFrameType) {
    struct Case {
        std::uint16_t frame_control;
        std::size_t octets;  // 0: no header
        bool address2, address3, sequence, address4;
        const char* type;
    };
    // Frame control: type in bits 2-3, subtype in 4-7, To DS bit 8, From DS bit 9.
    const std::vector<Case> cases = {
        {0x0308, 30, true, true, true, true, "data"},         // data, To DS and From DS
        {0x0108, 24, true, true, true, false, "data"},        // data, To DS
        {0x0080, 24, true, true, true, false, "management"},  // beacon
        {0x00D4, 10, false, false, false, false, "control (ACK)"},
        {0x00B4, 16, true, false, false, false, "control"},  // RTS
        {0x000C, 0, false, false, false, false, ""},         // extension type
    };
    std::vector<std::uint8_t> octets(40);
    for (std::size_t k = 0; k < octets.size(); ++k) octets[k] = static_cast<std::uint8_t>(k);
    for (const Case& c : cases) {
        octets[0] = static_cast<std::uint8_t>(c.frame_control);
        octets[1] = static_cast<std::uint8_t>(c.frame_control >> 8);
        const auto header = parse_mac_header(octets);
        ASSERT_EQ(header.has_value(), c.octets > 0) << c.frame_control;
        if (!header) continue;
        EXPECT_EQ(header->octets, c.octets) << c.frame_control;
        EXPECT_EQ(header->frame_control, c.frame_control);
        EXPECT_EQ(header->duration_id, 0x0302);
        EXPECT_EQ(address_text(header->address1), "04:05:06:07:08:09");
        EXPECT_EQ(header->address2.has_value(), c.address2) << c.frame_control;
        EXPECT_EQ(header->address3.has_value(), c.address3) << c.frame_control;
        EXPECT_EQ(header->sequence_control.has_value(), c.sequence) << c.frame_control;
        EXPECT_EQ(header->address4.has_value(), c.address4) << c.frame_control;
        EXPECT_EQ(frame_type_name(*header), c.type);
        // Too few octets for the fields the type announces.
        EXPECT_FALSE(parse_mac_header(std::span(octets).first(c.octets - 1))) << c.frame_control;
    }
}

}  // namespace
}  // namespace dot11b::analyzer
