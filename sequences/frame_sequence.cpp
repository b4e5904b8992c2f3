#include "sequences/frame_sequence.hpp"

#include <algorithm>

#include "mac/pn_generator.hpp"

namespace dot11b::sequences {
namespace {

constexpr std::uint64_t kSequenceNumbers = 4096;

// SeqCntrl: fragment number in bits 0 to 3, sequence number in bits 4 to 15.
std::uint64_t with_sequence_number(std::uint64_t seq_cntrl, std::size_t k) {
    const std::uint64_t number = ((seq_cntrl >> 4) + k) % kSequenceNumbers;
    return (seq_cntrl & 0xFU) | (number << 4);
}

bool is_pn(mac::PayloadSource source) {
    return source == mac::PayloadSource::Pn9 || source == mac::PayloadSource::Pn15;
}

void append(phy::FrameWaveform& to, const phy::FrameWaveform& frame) {
    to.samples.insert(to.samples.end(), frame.samples.begin(), frame.samples.end());
    to.frame_marker.insert(to.frame_marker.end(), frame.frame_marker.begin(), frame.frame_marker.end());
    to.burst_marker.insert(to.burst_marker.end(), frame.burst_marker.begin(), frame.burst_marker.end());
}

}  // namespace

std::vector<Bits> sequence_psdus(const mac::PayloadConfig& payload, const mac::MacHeader& header,
                                 std::size_t frames, bool payload_continue) {
    const bool numbered = payload.framed && payload.mac_header_active;
    const bool running = payload_continue && is_pn(payload.source) && payload.data_length > 0;
    Bits stream;
    const std::size_t count = 8 * payload.data_length;
    if (running) {
        const int order = payload.source == mac::PayloadSource::Pn9 ? 9 : 15;
        stream = mac::pn_sequence(order, count * frames, false, mac::pn_default_seed(order), false);
    }
    std::vector<Bits> psdus;
    psdus.reserve(frames);
    for (std::size_t k = 0; k < frames; ++k) {
        mac::PayloadConfig frame = payload;
        if (numbered) {
            mac::MacHeader numbered_header = header;
            auto& seq = numbered_header[mac::MacField::SeqCntrl].contents;
            seq = with_sequence_number(seq, k);
            frame.mac_header_bits = numbered_header.bit_stream();
        }
        if (running) {
            frame.source = mac::PayloadSource::UserData;
            frame.user_bits.assign(stream.begin() + static_cast<std::ptrdiff_t>(k * count),
                                   stream.begin() + static_cast<std::ptrdiff_t>((k + 1) * count));
        }
        psdus.push_back(mac::generate_payload(frame));
    }
    return psdus;
}

phy::FrameWaveform build_sequence(phy::FrameConfig config, const std::vector<Bits>& psdus) {
    phy::FrameWaveform sequence;
    phy::FrameWaveform frame;
    for (std::size_t k = 0; k < psdus.size(); ++k) {
        if (k == 0 || psdus[k] != psdus[k - 1]) {
            config.data_bits = psdus[k];
            frame = phy::build_frame(config);
        }
        if (k == 0) {
            const std::size_t total = phy::period_capacity(frame.samples.size() * psdus.size());
            sequence.samples.reserve(total);
            sequence.frame_marker.reserve(total);
            sequence.burst_marker.reserve(total);
        }
        append(sequence, frame);
    }
    return sequence;
}

}  // namespace dot11b::sequences
