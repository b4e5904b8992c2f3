#include "analyzer/frame_tally.hpp"

namespace dot11b::analyzer {
namespace {

constexpr std::int64_t kSequenceModulus = 4096;  // SeqCntrl bits 4-15

std::uint64_t address_number(const std::optional<MacAddress>& address) {
    std::uint64_t number = 0;
    if (address) {
        for (const std::uint8_t octet : *address) number = (number << 8U) | octet;
    }
    return number;
}

}  // namespace

std::optional<double> FrameSummary::packet_error_rate(std::optional<std::size_t> expected) const {
    if (!expected || *expected == 0) return std::nullopt;
    if (distinct >= *expected) return 0.0;
    return 1.0 - static_cast<double>(distinct) / static_cast<double>(*expected);
}

std::optional<unsigned> sequence_number(const BurstAnalysis& burst) {
    if (!burst.mac || !burst.mac->sequence_control) return std::nullopt;
    return *burst.mac->sequence_control >> 4U;
}

void FrameTally::add(const BurstAnalysis& burst) {
    ++summary_.bursts;
    if (burst.status != DecodeStatus::Decoded) return;
    ++summary_.decoded;
    if (burst.fcs == FcsStatus::Invalid) {
        // Its header cannot be trusted: it neither repeats nor fills a gap.
        ++summary_.fcs_errors;
        return;
    }
    const std::optional<unsigned> number = sequence_number(burst);
    if (!number) {
        ++summary_.distinct;
        return;
    }
    // A retransmission repeats the whole SeqCntrl (number and fragment) from the same transmitter.
    if (!seen_.emplace(*burst.mac->sequence_control, address_number(burst.mac->address2)).second) {
        ++summary_.duplicates;
        return;
    }
    ++summary_.distinct;
    // The step from the previous number, taken as the shorter way round the
    // 12-bit counter, so that a sequence running past 4095 stays in order.
    std::int64_t unwrapped = *number;
    if (last_number_) {
        std::int64_t step = (*number - *last_number_ % kSequenceModulus + kSequenceModulus) % kSequenceModulus;
        if (step > kSequenceModulus / 2) step -= kSequenceModulus;
        unwrapped = *last_number_ + step;
    }
    last_number_ = unwrapped;
    numbers_.insert(unwrapped);
    const std::int64_t span = *numbers_.rbegin() - *numbers_.begin() + 1;
    summary_.missing = static_cast<std::size_t>(span) - numbers_.size();
}

}  // namespace dot11b::analyzer
