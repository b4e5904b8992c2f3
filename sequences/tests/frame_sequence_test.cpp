#include <gtest/gtest.h>

#include <algorithm>

#include "analyzer/analysis.hpp"
#include "mac/mac_header.hpp"
#include "sequences/frame_sequence.hpp"

namespace dot11b::sequences {
namespace {

struct Sequence {
    mac::PayloadConfig payload;
    mac::MacHeader header = mac::default_mac_header();
    phy::FrameConfig frame;

    Sequence(std::size_t octets, mac::PayloadSource source) {
        payload.source = source;
        payload.data_length = octets;
        frame.idle_samples = 400;
    }
    void number_from(std::uint64_t seq_cntrl) {
        header[mac::MacField::SeqCntrl].contents = seq_cntrl;
        payload.mac_header_active = true;
        payload.mac_header_bits = header.bit_stream();
        payload.fcs_active = true;
    }
    phy::FrameWaveform build(std::size_t frames, bool payload_continue = false) const {
        return build_sequence(frame, sequence_psdus(payload, header, frames, payload_continue));
    }
};

TEST(FrameSequence, TwentyFramesDecodeWithConsecutiveSequenceNumbersAndGoodFcs) {
    Sequence sequence(40, mac::PayloadSource::Pn9);
    sequence.number_from(0xFFD3);  // sequence number 4093, fragment 3: wraps after three frames
    const phy::FrameWaveform period = sequence.build(20, true);
    analyzer::AnalysisOptions options;
    options.expect_fcs = true;
    const analyzer::Analysis analysis = analyzer::analyse(period.samples, 38.5e6, options);
    ASSERT_EQ(analysis.bursts.size(), 20U);
    std::vector<std::vector<std::uint8_t>> payloads;
    for (std::size_t k = 0; k < 20; ++k) {
        const analyzer::BurstAnalysis& burst = analysis.bursts[k];
        EXPECT_EQ(burst.fcs, analyzer::FcsStatus::Valid) << k;
        ASSERT_TRUE(burst.mac && burst.mac->sequence_control) << k;
        EXPECT_EQ(*burst.mac->sequence_control >> 4, (4093 + k) % 4096) << k;
        EXPECT_EQ(*burst.mac->sequence_control & 0xF, 3) << k;
        payloads.emplace_back(burst.psdu.begin() + 30, burst.psdu.end() - 4);
    }
    // The PN9 payload ran on: no two frames carry the same payload.
    std::sort(payloads.begin(), payloads.end());
    EXPECT_EQ(std::unique(payloads.begin(), payloads.end()), payloads.end());
}

TEST(FrameSequence, OneFrameIsTheSingleFrameAndNFramesAreNTimesItsLength) {
    Sequence sequence(25, mac::PayloadSource::Pn15);
    phy::FrameConfig single = sequence.frame;
    single.data_bits = mac::generate_payload(sequence.payload);
    const phy::FrameWaveform one = phy::build_frame(single);
    const phy::FrameWaveform built = sequence.build(1);
    EXPECT_EQ(built.samples, one.samples);
    EXPECT_EQ(built.burst_marker, one.burst_marker);

    // Without a header and without running on, the frames are copies, markers included.
    const phy::FrameWaveform three = sequence.build(3);
    ASSERT_EQ(three.samples.size(), 3 * one.samples.size());
    for (std::size_t k = 0; k < 3; ++k) {
        const auto at = static_cast<std::ptrdiff_t>(k * one.samples.size());
        EXPECT_TRUE(std::equal(one.samples.begin(), one.samples.end(), three.samples.begin() + at)) << k;
        EXPECT_TRUE(std::equal(one.frame_marker.begin(), one.frame_marker.end(), three.frame_marker.begin() + at));
    }
    // Running on changes the payloads but not the length.
    EXPECT_EQ(sequence.build(3, true).samples.size(), three.samples.size());
    EXPECT_NE(sequence.build(3, true).samples, three.samples);
}

}  // namespace
}  // namespace dot11b::sequences
