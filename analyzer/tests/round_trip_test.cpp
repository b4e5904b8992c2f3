#include <gtest/gtest.h>

#include "analyzer/analysis.hpp"
#include "analyzer/tests/test_waveforms.hpp"

namespace dot11b::analyzer {
namespace {

using phy::DataRate;
using phy::FilterType;
using phy::Modulation;
using phy::ScramblerMode;
using Type = phy::PreambleType;

struct Row {
    DataRate rate;
    Modulation modulation;
    Type preamble;
    double oversampling;
    FilterType filter;
    ScramblerMode scrambler;
    bool mirror;
    bool mac;  // MAC header and FCS
    bool encoder;
    bool locked;
};

constexpr std::size_t kPayloadOctets = 21;  // at 11 Mbit/s CCK 8 spare bits: extension bit set

// LENGTH = ceil(8 x (octets + 1 for PBCC) / rate) us; at 11 Mbit/s the extension
// bit is set when 8 or more of the bits that fit in LENGTH are not sent.
struct ExpectedHeader {
    unsigned length;
    bool extension;
};

ExpectedHeader expected_header(std::size_t octets, int rate_100kbps, bool pbcc) {
    const std::size_t bits_x10 = 80 * (octets + (pbcc ? 1 : 0));
    const auto length = static_cast<unsigned>((bits_x10 + static_cast<std::size_t>(rate_100kbps) - 1) /
                                              static_cast<std::size_t>(rate_100kbps));
    const std::size_t spare_x10 = length * static_cast<std::size_t>(rate_100kbps) - bits_x10;
    return {length, rate_100kbps == 110 && spare_x10 >= 80};
}

app::FormatParameters parameters_of(const Row& row) {
    app::FormatParameters p = test::short_frame(row.rate, kPayloadOctets, row.oversampling);
    p.modulation = row.modulation;
    p.preamble = row.preamble;
    p.filter = row.filter;
    p.scrambler = row.scrambler;
    p.mirror_spectrum = row.mirror;
    p.pbcc_encoder = row.encoder;
    p.locked_clocks = row.locked;
    p.mac_header.active = row.mac;
    p.fcs.active = row.mac;
    // Data frame to and from the distribution system: all seven fields are present.
    p.mac_header.contents[mac::MacField::FrameCntrl].contents = 0x0308;
    p.mac_header.contents[mac::MacField::DurationID].contents = 0x1234;
    p.mac_header.contents[mac::MacField::Address1].contents = 0x0A0B0C0D0E0F;
    p.mac_header.contents[mac::MacField::SeqCntrl].contents = 0xBEEF;
    p.mac_header.contents[mac::MacField::Address4].contents = 0x112233445566;
    return p;
}

TEST(RoundTrip, RecoversThePsduAndTheHeaderOfEveryConfiguration) {
    // Every rate and modulation with both preambles; oversampling, filter, scrambler,
    // mirror, MAC header and FCS, PBCC encoder and locked clocks vary across rows.
    // clang-format off
    const std::vector<Row> rows = {
        {DataRate::Mbps1, Modulation::Cck, Type::Long, 2, FilterType::None, ScramblerMode::On, false, true, true, false},
        {DataRate::Mbps1, Modulation::Pbcc, Type::Short, 2.5, FilterType::Gaussian, ScramblerMode::PreambleOnly, true, false, true, false},
        {DataRate::Mbps2, Modulation::Cck, Type::Long, 3, FilterType::RootCosine, ScramblerMode::Off, false, true, true, false},
        {DataRate::Mbps2, Modulation::Cck, Type::Short, 3.5, FilterType::None, ScramblerMode::On, true, false, true, true},
        {DataRate::Mbps5_5, Modulation::Cck, Type::Long, 2.5, FilterType::RootCosine, ScramblerMode::On, false, true, true, false},
        {DataRate::Mbps5_5, Modulation::Cck, Type::Short, 3, FilterType::Gaussian, ScramblerMode::Off, false, false, true, false},
        {DataRate::Mbps5_5, Modulation::Pbcc, Type::Long, 3.5, FilterType::Gaussian, ScramblerMode::On, false, true, true, true},
        {DataRate::Mbps5_5, Modulation::Pbcc, Type::Short, 2, FilterType::RootCosine, ScramblerMode::On, true, false, false, false},
        {DataRate::Mbps11, Modulation::Cck, Type::Long, 3, FilterType::None, ScramblerMode::On, true, true, true, false},
        {DataRate::Mbps11, Modulation::Cck, Type::Short, 3.5, FilterType::RootCosine, ScramblerMode::PreambleOnly, false, false, true, true},
        {DataRate::Mbps11, Modulation::Pbcc, Type::Long, 2, FilterType::Gaussian, ScramblerMode::On, false, false, false, false},
        {DataRate::Mbps11, Modulation::Pbcc, Type::Short, 2.5, FilterType::None, ScramblerMode::Off, true, true, true, false},
    };
    // clang-format on
    for (std::size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE("row " + std::to_string(r + 1));
        const Row& row = rows[r];
        const test::Waveform w = test::generate(parameters_of(row));
        AnalysisOptions options;
        options.mirror = row.mirror;
        options.expect_fcs = row.mac;
        const Analysis analysis = analyse(w.samples, w.sample_rate_hz, options);
        ASSERT_EQ(analysis.bursts.size(), 1u);
        const BurstAnalysis& b = analysis.bursts[0];
        ASSERT_EQ(b.status, DecodeStatus::Decoded) << b.problem;
        EXPECT_EQ(b.psdu, w.psdu);
        EXPECT_EQ(b.preamble == PreambleType::Short, row.preamble == Type::Short);
        const Scrambling scrambling = row.scrambler == ScramblerMode::On    ? Scrambling::On
                                      : row.scrambler == ScramblerMode::Off ? Scrambling::Off
                                                                            : Scrambling::PreambleOnly;
        EXPECT_EQ(b.scrambling, scrambling);
        EXPECT_FALSE(b.mirrored);

        const int rate = phy::rate_in_100kbps(row.rate);
        const bool pbcc = row.modulation == Modulation::Pbcc && rate > 20;
        const ExpectedHeader expected = expected_header(w.psdu.size(), rate, pbcc);
        ASSERT_TRUE(b.header);
        EXPECT_TRUE(b.header->crc_ok);
        EXPECT_EQ(b.header->signal, rate);
        EXPECT_EQ(b.header->length, expected.length);
        EXPECT_EQ(b.header->pbcc(), pbcc);
        EXPECT_EQ(b.header->locked_clocks(), row.locked);
        EXPECT_EQ(b.header->length_extension(), expected.extension);
        if (pbcc) {
            EXPECT_EQ(b.pbcc_coded, row.encoder);
        }

        EXPECT_EQ(b.fcs, row.mac ? FcsStatus::Valid : FcsStatus::NotPresent);
        ASSERT_EQ(b.mac.has_value(), row.mac);
        if (!row.mac) continue;
        EXPECT_EQ(b.mac->octets, 30u);
        EXPECT_EQ(b.mac->frame_control, 0x0308);
        EXPECT_EQ(b.mac->duration_id, 0x1234);
        EXPECT_EQ(address_text(b.mac->address1), "0f:0e:0d:0c:0b:0a");  // least significant octet first
        EXPECT_EQ(b.mac->sequence_control, 0xBEEF);
        ASSERT_TRUE(b.mac->address4);
        EXPECT_EQ(address_text(*b.mac->address4), "66:55:44:33:22:11");
    }
}

}  // namespace
}  // namespace dot11b::analyzer
