#include <gtest/gtest.h>

#include <string>

#include "analyzer/analysis.hpp"
#include "analyzer/report_text.hpp"

namespace dot11b::analyzer {
namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

BurstAnalysis decoded_burst(std::uint8_t signal, std::uint8_t service, FrequencyMeasurement frequency) {
    BurstAnalysis b;
    b.status = DecodeStatus::Decoded;
    b.header = PlcpHeader{signal, service, 100, 0, true};
    b.frequency = frequency;
    return b;
}

std::string report_of(const BurstAnalysis& burst) {
    Analysis analysis;
    analysis.sample_rate_hz = 22e6;
    analysis.bursts.push_back(burst);
    return report_text("rec", analysis);
}

TEST(ReportText, OffsetsThatRoundToZeroPrintWithoutASign) {
    const std::string report = report_of(decoded_burst(10, 0, {-0.3, -1.2e-4, -0.004}));
    EXPECT_TRUE(contains(report, "carrier offset:     0 Hz (0.00 ppm of 2412 MHz, assumed)")) << report;
    EXPECT_TRUE(contains(report, "chip clock offset:  0.00 ppm")) << report;
    EXPECT_FALSE(contains(report, "-0 Hz") || contains(report, "-0.00")) << report;
    EXPECT_TRUE(contains(report_of(decoded_burst(10, 0, {-0.6, -2.4e-4, -0.006})), "-1 Hz (0.00 ppm")) << "rounded";
}

// The modulation bit (b3) belongs to 5.5 and 11 Mbit/s, the length extension
// bit (b7) to 11 Mbit/s.
TEST(ReportText, ServiceIsDescribedPerRate) {
    struct Case {
        std::uint8_t signal;
        std::uint8_t service;
        const char* text;
    };
    for (const Case& c : {Case{10, 0x04, "0x04: clocks locked\n"}, Case{20, 0x00, "0x00: clocks not locked\n"},
                          Case{55, 0x08, "0x08: PBCC, clocks not locked\n"},
                          Case{110, 0x84, "0x84: CCK, clocks locked, length extension 1\n"}}) {
        const std::string report = report_of(decoded_burst(c.signal, c.service, {}));
        EXPECT_TRUE(contains(report, std::string("SERVICE:            ") + c.text)) << report;
    }
}

// With locked clocks the carrier and the chip clock are off by the same ppm.
TEST(ReportText, LockedClocksMustShowOffsetsThatAgree) {
    struct Case {
        std::uint8_t service;
        double carrier_ppm;
        double clock_ppm;
        bool passes;
    };
    for (const Case& c : {Case{0x04, 10, 11.5, true}, Case{0x04, 10, 5, false}, Case{0x04, -3, 3, false},
                          Case{0x00, 10, 5, true}}) {
        const BurstAnalysis b = decoded_burst(110, c.service, {c.carrier_ppm * 2412, c.carrier_ppm, c.clock_ppm});
        EXPECT_EQ(b.passed(), c.passes) << c.carrier_ppm << " " << c.clock_ppm;
        const std::string report = report_of(b);
        if (c.service & 0x04) {
            EXPECT_TRUE(contains(report, c.passes ? "ppm apart: PASS (limit 2 ppm)" : "ppm apart: FAIL (limit 2 ppm)"))
                << report;
        } else {
            EXPECT_TRUE(contains(report, "locked clocks:      not claimed")) << report;
        }
    }
}

}  // namespace
}  // namespace dot11b::analyzer
