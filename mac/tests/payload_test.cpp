#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "mac/crc32.hpp"
#include "mac/payload.hpp"
#include "mac/pn_generator.hpp"

namespace dot11b::mac {
namespace {

std::string text_of(BitSpan bits) {
    std::string text;
    for (const auto bit : bits) text.push_back(bit ? '1' : '0');
    return text;
}

std::uint32_t as_number(BitSpan bits) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bits.size(); ++i) value |= static_cast<std::uint32_t>(bits[i]) << i;
    return value;
}

PayloadConfig source(PayloadSource kind, std::size_t octets) {
    PayloadConfig config;
    config.source = kind;
    config.data_length = octets;
    return config;
}

TEST(Payload, EverySourceGivesItsBits) {
    struct Case {
        PayloadSource source;
        const char* first16;
    };
    const Case cases[] = {
        {PayloadSource::Zeros, "0000000000000000"},
        {PayloadSource::Ones, "1111111111111111"},
        {PayloadSource::Alternating01, "0101010101010101"},
        {PayloadSource::Alternating10, "1010101010101010"},
        // PN9 from nine ones: s(i) = s(i-9) ^ s(i-5).
        {PayloadSource::Pn9, "1111111110000011"},
        // PN15 from fifteen ones, complemented.
        {PayloadSource::Pn15, "0000000000000001"},
    };
    for (const auto& c : cases) {
        const Bits bits = payload_data(source(c.source, 3));
        ASSERT_EQ(bits.size(), 24U);
        EXPECT_EQ(text_of(BitSpan(bits).first(16)), c.first16) << static_cast<int>(c.source);
    }
    // A long PN9 payload repeats with the period of the sequence.
    const Bits pn9 = payload_data(source(PayloadSource::Pn9, 200));
    EXPECT_TRUE(std::equal(pn9.begin(), pn9.end() - 511, pn9.begin() + 511));

    PayloadConfig user = source(PayloadSource::UserData, 1000);
    user.user_bits = {1, 0, 0, 1, 1};
    EXPECT_EQ(payload_data(user), user.user_bits);  // its own length, not data_length
}

TEST(Payload, ZeroLengthIsEmptyForEverySource) {
    for (int code = 1; code <= 6; ++code) {
        EXPECT_TRUE(payload_data(source(static_cast<PayloadSource>(code), 0)).empty()) << code;
    }
}

TEST(Payload, FramedHeaderAndFcsSurroundThePayload) {
    PayloadConfig config = source(PayloadSource::Alternating10, 4);
    config.mac_header_active = true;
    config.mac_header_bits = Bits(240, 0);
    config.mac_header_bits[0] = 1;
    config.fcs_active = true;

    const Bits psdu = generate_payload(config);
    ASSERT_EQ(psdu.size(), 240U + 32 + 32);
    EXPECT_EQ(Bits(psdu.begin(), psdu.begin() + 240), config.mac_header_bits);
    EXPECT_EQ(text_of(BitSpan(psdu).subspan(240, 32)), "10101010101010101010101010101010");
    // The FCS covers header and payload: the whole PSDU leaves the CRC-32
    // residue (IEEE 802.11 clause 7.1.3.6), whatever the bits it covers.
    EXPECT_EQ(as_number(crc32(psdu)), 0x2144DF1CU);

    config.data_length = 0;
    const Bits header_only = generate_payload(config);
    ASSERT_EQ(header_only.size(), 272U);
    EXPECT_EQ(Bits(header_only.begin(), header_only.begin() + 240), config.mac_header_bits);
    EXPECT_EQ(as_number(crc32(header_only)), 0x2144DF1CU);

    config.fcs_active = false;
    EXPECT_EQ(generate_payload(config), config.mac_header_bits);
}

TEST(Payload, UnframedPayloadIgnoresHeaderAndFcs) {
    PayloadConfig config = source(PayloadSource::Pn15, 8);
    config.framed = false;
    config.mac_header_active = true;
    config.mac_header_bits = Bits(240, 1);
    config.fcs_active = true;
    // The 64 bits of PN15 alone (fifteen ones, complemented), no header of ones before them.
    const Bits psdu = generate_payload(config);
    ASSERT_EQ(psdu.size(), 64U);
    EXPECT_EQ(text_of(BitSpan(psdu).first(16)), "0000000000000001");
}

TEST(Payload, SourceCodesOneToSeven) {
    for (int code = 1; code <= 7; ++code) EXPECT_EQ(payload_source_from_code(code), static_cast<PayloadSource>(code));
    for (const double bad : {0.0, 8.0, 2.5, -1.0}) EXPECT_EQ(payload_source_from_code(bad), std::nullopt);
}

}  // namespace
}  // namespace dot11b::mac
