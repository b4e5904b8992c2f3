#include <gtest/gtest.h>

#include <string>

#include "app/calculation.hpp"
#include "app/records.hpp"
#include "common/errors.hpp"

namespace dot11b::app {
namespace {

TEST(Records, StartUpDefaultsAreTheApplicationsOwn) {
    const FormatParameters p;
    EXPECT_EQ(p.format_id, "dot11b - Format 1.0");
    EXPECT_TRUE(p.framed);
    EXPECT_EQ(p.rate, phy::DataRate::Mbps11);
    EXPECT_EQ(p.modulation, phy::Modulation::Cck);
    EXPECT_EQ(p.preamble, phy::PreambleType::Long);
    EXPECT_EQ(p.scrambler, phy::ScramblerMode::On);
    EXPECT_EQ(p.ramp, phy::RampType::Linear);
    EXPECT_EQ(p.ramp_length, 77U);
    EXPECT_EQ(p.idle_samples, 3850U);
    EXPECT_EQ(p.channel, 1);
    EXPECT_FALSE(p.mac_header.active);
    EXPECT_EQ(p.mac_header.length, 30U);
    EXPECT_EQ(p.mac_header.contents, mac::default_mac_header());
    EXPECT_FALSE(p.fcs.active);
    EXPECT_EQ(p.fcs.length, 4U);
    EXPECT_EQ(p.data_source, mac::PayloadSource::Zeros);
    EXPECT_EQ(p.data_length, 1024U);
    EXPECT_EQ(p.total_length, 1024U);
    EXPECT_EQ(p.oversampling, 3.5);
    EXPECT_EQ(p.filter, phy::FilterType::Gaussian);
    EXPECT_EQ(p.filter_factor, 0.5);
    EXPECT_EQ(p.filter_taps, 6);
    EXPECT_FALSE(p.projected_length.has_value());
    EXPECT_NO_THROW(p.validate());

    const SigGenSettings s;
    EXPECT_EQ(s.title, "dot11b");
    EXPECT_EQ(s.frequency, 2412000000);
    EXPECT_EQ(s.amplitude, -30);
    EXPECT_EQ(s.sampling_rate, 38500000);
    EXPECT_EQ(s.recon_filter, 4);
    EXPECT_TRUE(s.rf_blanking);
    EXPECT_FALSE(s.external_reference);
    EXPECT_FALSE(s.negative_markers);
    EXPECT_NO_THROW(s.validate());
}

TEST(Records, ValidationNamesTheFieldTheValueAndTheAllowedValues) {
    struct Case {
        const char* name;
        void (*change)(FormatParameters&);
        const char* message;
    };
    const Case cases[] = {
        {"22 framed", [](FormatParameters& p) { p.rate = phy::DataRate::Mbps22; },
         "parameters.dataRate is 22; allowed: 1, 2, 5.5, 11; 22 and 33 only unframed (generationMode 0) with PBCC"},
        {"channel", [](FormatParameters& p) { p.channel = 15; },
         "parameters.Channel is 15; allowed: whole numbers 1 to 14"},
        {"ramp", [](FormatParameters& p) { p.ramp_length = 38501; },
         "parameters.rampLength is 38501; allowed: 0 to 38500"},
        {"idle",
         [](FormatParameters& p) {
             p.oversampling = 2;
             p.idle_samples = 2200001;
         },
         "parameters.idleSamples is 2200001; allowed: 0 to 2200000"},
        {"oversampling", [](FormatParameters& p) { p.oversampling = 4; },
         "parameters.OverSampling is 4; allowed: 2, 2.5, 3, 3.5"},
        {"gaussian", [](FormatParameters& p) { p.filter_factor = 0.07; },
         "parameters.FilterFactor is 0.07; allowed: 0.1 to 1 (Gaussian BT)"},
        {"taps", [](FormatParameters& p) { p.filter_taps = 0.5; }, "parameters.FilterTaps is 0.5; allowed: 1 to 1000"},
        {"header length", [](FormatParameters& p) { p.mac_header.contents[mac::MacField::Address4].active = false; },
         "parameters.MACheader.Length is 30; allowed: 24, the octets of the active header fields"},
        {"data length", [](FormatParameters& p) { p.data_length = 2313; },
         "parameters.dataLength is 2313; allowed: 0 to 2312"},
        {"user bits", [](FormatParameters& p) { p.data_source_bits = Bits(18497); },
         "parameters.dataSourceBitstream is 18497 bits; allowed: at most 18496 bits"},
    };
    for (const auto& c : cases) {
        FormatParameters p;
        c.change(p);
        try {
            p.validate();
            ADD_FAILURE() << c.name;
        } catch (const ConfigError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
        }
    }
    FormatParameters pbcc22;
    pbcc22.framed = false;
    pbcc22.modulation = phy::Modulation::Pbcc;
    pbcc22.rate = phy::DataRate::Mbps33;
    EXPECT_NO_THROW(pbcc22.validate());
}

FormatParameters with_header_and_fcs(bool framed) {
    FormatParameters p;
    p.framed = framed;
    p.mac_header.active = true;
    p.fcs.active = true;
    return p;
}

TEST(Calculation, ProjectedLengthMatchesTheBuiltWaveform) {
    struct Case {
        const char* name;
        FormatParameters parameters;
        std::size_t octets;
    };
    FormatParameters unframed_2x = with_header_and_fcs(false);
    unframed_2x.oversampling = 2;
    FormatParameters empty_pn9;
    empty_pn9.rate = phy::DataRate::Mbps2;
    empty_pn9.data_source = mac::PayloadSource::Pn9;
    empty_pn9.data_length = 0;
    FormatParameters empty_pn15 = empty_pn9;
    empty_pn15.rate = phy::DataRate::Mbps11;
    empty_pn15.data_source = mac::PayloadSource::Pn15;
    const Case cases[] = {
        // (1584 + 528 + 8192) chips x 3.5 + 2 x 77 ramp samples + 3850 idle samples.
        {"defaults", FormatParameters{}, 1024},
        {"framed with header and FCS", with_header_and_fcs(true), 1058},
        // Unframed: the header and FCS are not sent, so they are not counted.
        {"unframed with header and FCS set", unframed_2x, 1024},
        {"empty PN9 payload at 2 Mbit/s", empty_pn9, 0},
        {"empty PN15 payload with CCK", empty_pn15, 0},
    };
    for (const auto& c : cases) {
        const Calculation result = calculate(c.parameters);
        EXPECT_EQ(psdu_octets(c.parameters), c.octets) << c.name;
        EXPECT_EQ(result.psdu.size(), 8 * c.octets) << c.name;
        EXPECT_EQ(projected_length(c.parameters), static_cast<double>(result.frame.samples.size())) << c.name;
    }
    EXPECT_EQ(projected_length(FormatParameters{}), 40068);
    EXPECT_EQ(projected_length(unframed_2x), 16384);
}

TEST(Calculation, DerivedFieldsFollowTheRecord) {
    FormatParameters p = with_header_and_fcs(true);
    p.mac_header.contents[mac::MacField::Address4].active = false;
    refresh_derived_fields(p);
    EXPECT_EQ(p.mac_header.length, 24U);
    EXPECT_EQ(p.total_length, 1024U + 24 + 4);
    // (1584 + 528 + 1052 x 8) chips x 3.5 + 2 x 77 ramp samples + 3850 idle samples.
    EXPECT_EQ(p.projected_length, 40852);

    p.framed = false;
    p.modulation = phy::Modulation::Pbcc;
    p.rate = phy::DataRate::Mbps22;
    refresh_derived_fields(p);
    EXPECT_EQ(p.total_length, 1024U);
    EXPECT_FALSE(p.projected_length.has_value());  // the estimate covers 1 to 11 Mbit/s only
}

TEST(Calculation, OversamplingChangeKeepsDurations) {
    FormatParameters p;
    SigGenSettings s;
    change_oversampling(p, s, 2);
    EXPECT_EQ(p.idle_samples, 2200U);  // still 100 us
    EXPECT_EQ(p.ramp_length, 44U);     // still 2 us
    EXPECT_EQ(s.sampling_rate, 22000000);
    change_oversampling(p, s, 2.5);
    EXPECT_EQ(p.idle_samples, 2750U);
    EXPECT_EQ(p.ramp_length, 55U);
    EXPECT_THROW(change_oversampling(p, s, 4), ConfigError);
}

TEST(Calculation, FrameBuilderTakesTheFilterLengthInSamples) {
    const phy::FrameConfig config = frame_config(FormatParameters{}, Bits(16, 1));
    EXPECT_EQ(config.filter_taps, 21);  // 6 symbols x 3.5
    EXPECT_EQ(config.data_bits, Bits(16, 1));
    EXPECT_EQ(config.ramp_length, 77U);
    EXPECT_EQ(config.idle_samples, 3850U);
}

// Unframed, the burst is the modulated bits alone: the ramp settings do not
// reach the frame builder, so a one-octet burst builds and row 1 of the
// markers covers all of it. 8 bits at 11 Mbit/s CCK are one 8-chip symbol,
// 16 samples at oversampling 2.
TEST(Calculation, UnframedWaveformsIgnoreTheRampSettings) {
    FormatParameters p;
    p.framed = false;
    p.data_length = 1;
    p.oversampling = 2;
    p.idle_samples = 2200;
    p.filter = phy::FilterType::None;
    refresh_derived_fields(p);
    const Calculation result = calculate(p);
    EXPECT_EQ(result.frame.samples.size(), 16U);
    EXPECT_EQ(result.frame.frame_marker, Bits(16, 1));
    EXPECT_EQ(result.frame.burst_marker, Bits(16, 1));
}

}  // namespace
}  // namespace dot11b::app
