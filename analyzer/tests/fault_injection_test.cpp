#include <gtest/gtest.h>

#include "analyzer/analysis.hpp"
#include "analyzer/tests/test_waveforms.hpp"
#include "phy/frame_builder.hpp"

namespace dot11b::analyzer {
namespace {

using phy::DataRate;
using Type = phy::PreambleType;

// Without a filter at oversampling 2 every chip is two samples, so chips can be
// changed one by one; the ramp adds round(ramp_length / 2) chips in front.
app::FormatParameters unfiltered(DataRate rate, Type preamble) {
    app::FormatParameters p = test::short_frame(rate, 40, 2);
    p.filter = phy::FilterType::None;
    p.preamble = preamble;
    return p;
}

void negate_chips(Samples& samples, std::size_t first_chip, std::size_t count) {
    for (std::size_t i = 2 * first_chip; i < 2 * (first_chip + count); ++i) samples[i] = -samples[i];
}

BurstAnalysis only_burst(const Analysis& analysis) {
    EXPECT_EQ(analysis.bursts.size(), 1u);
    return analysis.bursts.at(0);
}

TEST(FaultInjection, HeaderErrorsFailTheCrcUnlessDespreadingAbsorbsThem) {
    for (const Type preamble : {Type::Long, Type::Short}) {
        const app::FormatParameters p = unfiltered(DataRate::Mbps11, preamble);
        const test::Waveform w = test::generate(p);
        const std::size_t header_chip = p.ramp_length / 2 + (preamble == Type::Long ? 1584 : 792);

        // One wrong chip leaves 9 of 11 in the Barker correlation: the symbol survives.
        Samples one_chip = w.samples;
        negate_chips(one_chip, header_chip + 5 * 11 + 4, 1);
        const BurstAnalysis survived = only_burst(analyse(one_chip, w.sample_rate_hz));
        EXPECT_EQ(survived.status, DecodeStatus::Decoded);
        EXPECT_EQ(survived.psdu, w.psdu);

        // A whole header symbol turned by pi changes two differential decisions.
        Samples one_symbol = w.samples;
        negate_chips(one_symbol, header_chip + 5 * 11, 11);
        const BurstAnalysis failed = only_burst(analyse(one_symbol, w.sample_rate_hz));
        EXPECT_EQ(failed.status, DecodeStatus::HeaderCrcError);
        ASSERT_TRUE(failed.header);
        EXPECT_FALSE(failed.header->crc_ok);
        EXPECT_EQ(failed.failures(), std::vector<std::string>{"PLCP header CRC error"});
    }
}

TEST(FaultInjection, AFlippedPsduBitFailsTheFcs) {
    app::FormatParameters p = test::short_frame(DataRate::Mbps5_5, 40);
    p.mac_header.active = true;
    p.fcs.active = true;
    app::refresh_derived_fields(p);
    Bits psdu = app::calculate(p).psdu;
    psdu[8 * 35 + 3] ^= 1U;
    const Samples samples = phy::build_frame(app::frame_config(p, psdu)).samples;
    const double rate = 11e6 * p.oversampling;

    AnalysisOptions expect_fcs;
    expect_fcs.expect_fcs = true;
    const BurstAnalysis checked = only_burst(analyse(samples, rate, expect_fcs));
    EXPECT_EQ(checked.status, DecodeStatus::Decoded);
    EXPECT_EQ(checked.psdu[35], test::generate(p).psdu[35] ^ 0x08);
    EXPECT_EQ(checked.fcs, FcsStatus::Invalid);
    EXPECT_EQ(checked.failures(), std::vector<std::string>{"FCS error"});
    // Without --fcs a PSDU need not end in one.
    EXPECT_EQ(only_burst(analyse(samples, rate)).fcs, FcsStatus::NotPresent);
}

TEST(FaultInjection, MirroredWaveformsDecodeWithMirrorAndAreRecognisedWhereChecksTell) {
    struct Case {
        DataRate rate;
        Type preamble;
        bool fcs;
        bool recognised;  // without the option: the short header's CRC or the FCS tells
        bool unchecked;   // nothing tells, and the two orientations read differently
    };
    const std::vector<Case> cases = {
        {DataRate::Mbps2, Type::Short, false, true, false},   // DQPSK header: the CRC fails as recorded
        {DataRate::Mbps11, Type::Long, true, true, false},    // DBPSK header, CCK PSDU: the FCS tells
        {DataRate::Mbps5_5, Type::Long, false, false, true},  // nothing can tell
        {DataRate::Mbps2, Type::Long, false, false, true},
        {DataRate::Mbps1, Type::Long, true, false, false},  // DBPSK throughout: both orientations decode alike
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(phy::rate_in_100kbps(c.rate)) + (c.preamble == Type::Long ? " long" : " short"));
        app::FormatParameters p = test::short_frame(c.rate, 30);
        p.preamble = c.preamble;
        p.fcs.active = c.fcs;
        p.mirror_spectrum = true;
        const test::Waveform w = test::generate(p);

        AnalysisOptions mirror;
        mirror.mirror = true;
        const BurstAnalysis with_option = only_burst(analyse(w.samples, w.sample_rate_hz, mirror));
        EXPECT_EQ(with_option.psdu, w.psdu);
        EXPECT_FALSE(with_option.mirrored);
        EXPECT_TRUE(with_option.passed()) << with_option.failures().front();
        EXPECT_EQ(with_option.mirrored_psdu.has_value(), c.unchecked);

        const BurstAnalysis without = only_burst(analyse(w.samples, w.sample_rate_hz));
        EXPECT_EQ(without.mirrored, c.recognised);
        if (c.recognised) {
            EXPECT_EQ(without.psdu, w.psdu);
            EXPECT_EQ(without.failures(),
                      std::vector<std::string>{"spectrum mirrored: the frame decodes only conjugated"});
        }
        // Where nothing can tell, the right PSDU is one of the two readings shown.
        ASSERT_EQ(without.mirrored_psdu.has_value(), c.unchecked);
        if (c.unchecked) {
            EXPECT_NE(without.psdu, w.psdu);
            EXPECT_EQ(*without.mirrored_psdu, w.psdu);
        }
    }
}

}  // namespace
}  // namespace dot11b::analyzer
