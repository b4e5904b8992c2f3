#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "analyzer/frame_tally.hpp"

namespace dot11b::analyzer {
namespace {

// One received burst: its SeqCntrl (sequence number << 4 | fragment) and
// transmitter, or a burst that did not decode, or one with an FCS error.
struct Received {
    std::optional<std::uint16_t> sequence_control;
    std::uint8_t transmitter = 1;
    DecodeStatus status = DecodeStatus::Decoded;
    FcsStatus fcs = FcsStatus::Valid;
};

BurstAnalysis burst_of(const Received& r) {
    BurstAnalysis b;
    b.status = r.status;
    b.fcs = r.fcs;
    if (r.sequence_control) {
        MacHeaderFields mac;
        mac.address2 = MacAddress{0, 0, 0, 0, 0, r.transmitter};
        mac.sequence_control = r.sequence_control;
        b.mac = mac;
    }
    return b;
}

constexpr std::uint16_t seq(unsigned number, unsigned fragment = 0) {
    return static_cast<std::uint16_t>(number << 4U | fragment);
}

TEST(FrameTally, CountsFramesRepeatsAndGapsAsAReceiverWould) {
    const Received kLost{std::nullopt, 1, DecodeStatus::HeaderCrcError};
    const struct Case {
        const char* name;
        std::vector<Received> bursts;
        FrameSummary expected;
    } kCases[] = {
        {"consecutive", {{seq(5)}, {seq(6)}, {seq(7)}}, {3, 3, 0, 3, 0, 0}},
        {"one repeated", {{seq(5)}, {seq(6)}, {seq(6)}, {seq(7)}}, {4, 4, 0, 3, 1, 0}},
        {"two removed", {{seq(5)}, {seq(7)}, {seq(9)}}, {3, 3, 0, 3, 0, 2}},
        {"across the 12-bit wrap", {{seq(4094)}, {seq(4095)}, {seq(1)}}, {3, 3, 0, 3, 0, 1}},
        {"arriving out of order", {{seq(9)}, {seq(7)}, {seq(8)}}, {3, 3, 0, 3, 0, 0}},
        {"fragments of one number", {{seq(3, 0)}, {seq(3, 1)}, {seq(4)}}, {3, 3, 0, 3, 0, 0}},
        {"same number, other transmitter", {{seq(3), 1}, {seq(3), 2}}, {2, 2, 0, 2, 0, 0}},
        {"an FCS error neither counts nor fills a gap",
         {{seq(1)}, {seq(2), 1, DecodeStatus::Decoded, FcsStatus::Invalid}, {seq(3)}},
         {3, 3, 1, 2, 0, 1}},
        {"undecoded bursts", {kLost, {seq(1)}, kLost}, {3, 1, 0, 1, 0, 0}},
        {"no MAC header: every frame distinct", {{std::nullopt}, {std::nullopt}}, {2, 2, 0, 2, 0, 0}},
    };
    for (const Case& c : kCases) {
        FrameTally tally;
        for (const Received& r : c.bursts) tally.add(burst_of(r));
        const FrameSummary& s = tally.summary();
        EXPECT_EQ(s.bursts, c.expected.bursts) << c.name;
        EXPECT_EQ(s.decoded, c.expected.decoded) << c.name;
        EXPECT_EQ(s.fcs_errors, c.expected.fcs_errors) << c.name;
        EXPECT_EQ(s.distinct, c.expected.distinct) << c.name;
        EXPECT_EQ(s.duplicates, c.expected.duplicates) << c.name;
        EXPECT_EQ(s.missing, c.expected.missing) << c.name;
    }
}

TEST(FrameTally, PacketErrorRateIsTheShareOfExpectedFramesNotReceived) {
    FrameSummary s;
    s.distinct = 18;
    EXPECT_FALSE(s.packet_error_rate(std::nullopt));
    EXPECT_TRUE(s.enough(std::nullopt));
    EXPECT_DOUBLE_EQ(*s.packet_error_rate(20), 0.1);
    EXPECT_FALSE(s.enough(20));
    EXPECT_DOUBLE_EQ(*s.packet_error_rate(18), 0.0);
    EXPECT_TRUE(s.enough(18));
    EXPECT_DOUBLE_EQ(*s.packet_error_rate(10), 0.0);
}

}  // namespace
}  // namespace dot11b::analyzer
