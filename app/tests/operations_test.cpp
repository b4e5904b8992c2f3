#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/record_values.hpp"
#include "frame/registry.hpp"
#include "frame/tests/library_fixture.hpp"
#include "test_support.hpp"

namespace dot11b::app {
namespace {

using frame::Value;
using Operations = frame::LibraryTest;

Value call(std::string_view name, std::vector<Value> inputs) {
    return frame::call_by_name(name, 1, std::move(inputs)).front();
}

std::string text_of(const Value& bits) {
    std::string text;
    for (const double bit : bits.reals()) text.push_back(bit == 1 ? '1' : '0');
    return text;
}

std::string error_of(std::string_view name, std::vector<Value> inputs) {
    try {
        call(name, std::move(inputs));
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

TEST_F(Operations, PnGeneratorDefaultsAndReplacesUnusableInputs) {
    const Value row = Value::row({1, 2});
    struct Case {
        const char* name;
        std::vector<Value> inputs;
        std::string bits;
    };
    const std::vector<Case> cases = {
        {"PN9, 20 bits",
         {Value::scalar(9), Value::scalar(20)},
         "111111111"
         "00000111101"},
        {"PN15 complemented",
         {Value::scalar(15), Value::scalar(20)},
         "000000000000000"
         "11111"},
        {"PN15 plain",
         {Value::scalar(15), Value::scalar(20), Value::scalar(1)},
         "111111111111111"
         "00000"},
        // Order 3: s(i) = s(i-3) ^ s(i-1) from 1 1 1.
        {"order 2 acts as 3", {Value::scalar(2), Value::scalar(5)}, "11101"},
        {"order 40 acts as 31, complemented", {Value::scalar(40), Value::scalar(5)}, "00000"},
        {"length 0 gives one bit", {Value::scalar(9), Value::scalar(0)}, "1"},
        {"length 0 of PN15", {Value::scalar(15), Value::scalar(0)}, "0"},
        {"invert only for exactly 1", {Value::scalar(9), Value::scalar(10), Value::scalar(2)}, "1111111110"},
        // Order 4: s(i) = s(i-4) ^ s(i-1) from 0 0 0 1.
        {"scalar seed", {Value::scalar(4), Value::scalar(8), Value::scalar(0), Value::scalar(3)}, "00011110"},
        {"short seed vector", {Value::scalar(4), Value::scalar(4), Value::scalar(0), Value::row({0, 1})}, "1111"},
        {"all-zero seed vector",
         {Value::scalar(4), Value::scalar(4), Value::scalar(0), Value::row({0, 0, 0, 0, 0})},
         "0001"},
        {"vector order", {row, Value::scalar(10)}, "1111111110"},
    };
    for (const auto& c : cases) EXPECT_EQ(text_of(call("PNgenerator", c.inputs)), c.bits) << c.name;

    EXPECT_EQ(call("PNgenerator", {}).numel(), 511U);
    EXPECT_EQ(call("PNgenerator", {Value::scalar(9), row}).numel(), 511U);
    EXPECT_EQ(call("PNgenerator", {Value::scalar(5)}).numel(), 31U);
    EXPECT_EQ(error_of("PNgenerator", {Value::scalar(31)}),
              "PNgenerator: dataLength 2147483647 is not allowed; allowed: 1 to 67108864 bits");
    EXPECT_EQ(error_of("PNgenerator", {Value::text("9")}), "PNgenerator: n must be a real number");
}

TEST_F(Operations, GeneratePayloadReadsTheFormatRecord) {
    FormatParameters p;
    p.data_source = mac::PayloadSource::Pn9;
    p.data_length = 12;
    p.mac_header.active = true;
    p.mac_header.contents[mac::MacField::DurationID].contents = 0x013A;
    p.fcs.active = true;
    const Value bits = call("dot11_GeneratePayload", {to_value(p)});
    ASSERT_EQ(bits.numel(), 8U * (30 + 12 + 4));

    // Worked out here: the 30-octet header, all zero but DurationID 013A sent
    // as the octets 3A, 01, least significant bit first; then 96 bits of PN9,
    // nine ones followed by s(i) = s(i-9) xor s(i-5); then the FCS.
    std::string expected(240, '0');
    expected.replace(16, 16, "0101110010000000");
    std::string pn9(9, '1');
    while (pn9.size() < 96) pn9.push_back(pn9[pn9.size() - 9] == pn9[pn9.size() - 5] ? '0' : '1');
    expected += pn9;
    // IEEE 802.11 FCS: CRC-32 (generator 04C11DB7) over the bits in the order
    // sent, register preset to ones, complemented, highest-order bit first.
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char bit : expected) {
        const bool feedback = ((crc >> 31) & 1U) != static_cast<unsigned>(bit - '0');
        crc = (crc << 1) ^ (feedback ? 0x04C11DB7U : 0U);
    }
    for (int k = 31; k >= 0; --k) expected.push_back(((~crc >> k) & 1U) != 0 ? '1' : '0');
    EXPECT_EQ(text_of(bits), expected);

    p.data_length = 0;
    p.framed = false;
    EXPECT_TRUE(call("dot11_GeneratePayload", {to_value(p)}).empty());  // no stray PN bit

    Value unknown_source = to_value(p);
    unknown_source.set_field("dataSourceType", Value::scalar(9));
    EXPECT_TRUE(call("dot11_GeneratePayload", {unknown_source}).empty());
    ASSERT_EQ(console_.size(), 1U);
    EXPECT_NE(console_[0].find("dataSourceType 9 is not a payload source"), std::string::npos);

    EXPECT_EQ(error_of("dot11_GeneratePayload", {Value::scalar(1)}),
              "parameters must be a 1x1 structure; it is a 1x1 double array");
}

TEST_F(Operations, FormattingOperations) {
    EXPECT_EQ(call("num2Str", {Value::scalar(1024)}), Value::text("1024"));
    EXPECT_EQ(call("num2Str", {Value::text("as is")}), Value::text("as is"));
    EXPECT_EQ(call("num2Str", {Value::matrix(2, 2, {1, 30, 2, 4})}), Value::char_matrix(2, 6, u" 310      24"));
    EXPECT_EQ(call("num2Str", {Value::scalar(3.14159265358979), Value::scalar(3)}), Value::text("3.14"));
    EXPECT_EQ(call("num2Str", {Value::scalar(2.5), Value::text("%6.2f")}), Value::text("2.50"));
    EXPECT_EQ(error_of("num2Str", {Value::scalar(1), Value::text("%d")}), "Format must contain field width.");
    EXPECT_EQ(call("clock2str", {Value::row({2002, 10, 7, 14, 5, 9.7})}), Value::text("07OCT2002 14:05:09"));

    const Value parameters = to_value(FormatParameters{});
    Value changed = parameters;
    changed.set_field("dataRate", Value::scalar(2));
    EXPECT_EQ(call("compareStruct", {parameters, parameters}), Value::scalar(1));
    EXPECT_EQ(call("compareStruct", {parameters, changed}), Value::scalar(0));
}

}  // namespace
}  // namespace dot11b::app
