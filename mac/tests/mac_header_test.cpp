#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "common/errors.hpp"
#include "mac/mac_header.hpp"

namespace dot11b::mac {
namespace {

std::string text_of(BitSpan bits) {
    std::string text;
    for (const auto bit : bits) text.push_back(bit ? '1' : '0');
    return text;
}

TEST(MacHeader, DefaultsToThirtyZeroOctets) {
    const MacHeader header = default_mac_header();
    EXPECT_EQ(header.bit_stream(), Bits(240, 0));
    EXPECT_EQ(header.length_bytes(), 30U);
    for (const MacField field : kMacFields) {
        EXPECT_EQ(header[field].contents, 0U);
        EXPECT_TRUE(header[field].active);
        EXPECT_EQ(mac_field_from_name(mac_field_name(field)), field);
    }
    EXPECT_EQ(mac_field_from_name("Address5"), std::nullopt);
}

TEST(MacHeader, FieldsAreSentInHeaderOrderEachLeastSignificantOctetAndBitFirst) {
    MacHeader header;
    header[MacField::FrameCntrl].contents = 0x0801;  // a data frame to the distribution system
    header[MacField::Address1].contents = 0x112233445566;
    header[MacField::SeqCntrl].contents = 0xABCD;
    const Bits bits = header.bit_stream();
    const BitSpan all(bits);
    // Octet 01 then 08, each least significant bit first.
    EXPECT_EQ(text_of(all.subspan(0, 16)), "1000000000010000");
    EXPECT_EQ(text_of(all.subspan(16, 16)), std::string(16, '0'));
    // Address 1 starts at octet 4 with 66 (0110 0110 sent as 01100110 reversed).
    EXPECT_EQ(text_of(all.subspan(32, 16)), "0110011010101010");
    EXPECT_EQ(text_of(all.subspan(72, 8)), "10001000");  // 11
    // Sequence control follows Address 3, at octet 22: CD then AB.
    EXPECT_EQ(text_of(all.subspan(176, 16)), "1011001111010101");
}

TEST(MacHeader, InactiveFieldsLeaveTheStream) {
    MacHeader header;
    header[MacField::Address3].contents = 0xFFFFFFFFFFFF;
    header[MacField::Address4].contents = 0x800000000001;
    const Bits full = header.bit_stream();

    header[MacField::SeqCntrl].active = false;
    const Bits without_sequence = header.bit_stream();
    ASSERT_EQ(without_sequence.size(), 224U);
    EXPECT_EQ(header.length_bytes(), 28U);
    // Address 4 now follows Address 3 directly.
    EXPECT_TRUE(std::equal(full.begin(), full.begin() + 176, without_sequence.begin()));
    EXPECT_TRUE(std::equal(full.begin() + 192, full.end(), without_sequence.begin() + 176));

    header[MacField::SeqCntrl].active = true;
    EXPECT_EQ(header.bit_stream(), full);
    header[MacField::Address4].active = false;
    EXPECT_EQ(header.length_bytes(), 24U);
    for (const MacField field : kMacFields) header[field].active = false;
    EXPECT_TRUE(header.bit_stream().empty());
}

TEST(MacHeader, HexEntriesAreClampedToTheFieldWidth) {
    struct Case {
        MacField field;
        std::string_view text;
        std::uint64_t entered;
    };
    const Case cases[] = {
        {MacField::FrameCntrl, "FFFFF", 0xFFFF},
        {MacField::FrameCntrl, "0801", 0x0801},
        {MacField::DurationID, "  2c ", 0x2C},
        {MacField::Address2, "0000aabbccddeeff", 0xAABBCCDDEEFF},
        {MacField::Address2, "1aabbccddeeff", 0xFFFFFFFFFFFF},
        {MacField::Address4, "123456789ABCDEF0123456789", 0xFFFFFFFFFFFF},  // wider than 64 bits
    };
    for (const auto& c : cases) EXPECT_EQ(enter_hex_field(c.field, c.text), c.entered) << c.text;
    EXPECT_EQ(parse_hex_field(MacField::FrameCntrl, "FFFFF"), 0xFFFFFU);
    EXPECT_EQ(mac_field_max(MacField::SeqCntrl), 0xFFFFU);
    EXPECT_EQ(mac_field_max(MacField::Address1), 0xFFFFFFFFFFFFU);
}

TEST(MacHeader, NonHexEntriesAreRefusedNamingTheField) {
    for (const std::string_view text : {"", "   ", "12G4", "0x12", "-1", "1 2"}) {
        try {
            parse_hex_field(MacField::SeqCntrl, text);
            ADD_FAILURE() << "accepted \"" << text << "\"";
        } catch (const ConfigError& e) {
            EXPECT_EQ(std::string(e.what()), "SeqCntrl: \"" + std::string(text) + "\" is not a hexadecimal number");
        }
    }
}

}  // namespace
}  // namespace dot11b::mac
