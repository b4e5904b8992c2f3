#pragma once
// Counts the frames of a recording that holds a sequence of them, as a
// receiver under test would: frames decoded, FCS errors, repeated and missing
// sequence numbers, and the packet error rate against the frames sent.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "analyzer/analysis.hpp"

namespace dot11b::analyzer {

struct FrameSummary {
    std::size_t bursts = 0;
    std::size_t decoded = 0;     // bursts whose PSDU decoded
    std::size_t fcs_errors = 0;  // decoded, but the FCS is wrong
    // Frames decoded without an FCS error that are not repeats; each counts
    // once when no sequence number tells frames apart.
    std::size_t distinct = 0;
    std::size_t duplicates = 0;  // a sequence number (and fragment) seen again
    // Sequence numbers between the lowest and the highest seen (modulo 4096,
    // in the order received) that no frame carried.
    std::size_t missing = 0;

    // 1 - distinct / expected, 0 when more arrived; nothing without an expectation.
    std::optional<double> packet_error_rate(std::optional<std::size_t> expected) const;
    // At least `expected` distinct frames arrived (always, without an expectation).
    bool enough(std::optional<std::size_t> expected) const;
};

// The summary lines of the report: the counts, then with an expectation the
// packet error rate and its verdict.
std::string frame_summary_text(const FrameSummary& summary, std::optional<std::size_t> expected);

// The sequence number of a burst, when its MAC header decodes and holds one.
std::optional<unsigned> sequence_number(const BurstAnalysis& burst);

class FrameTally {
public:
    // Bursts are added in the order they were received.
    void add(const BurstAnalysis& burst);
    const FrameSummary& summary() const { return summary_; }

private:
    FrameSummary summary_;
    // (SeqCntrl, transmitter address as a number) of the frames seen.
    std::set<std::pair<std::uint16_t, std::uint64_t>> seen_;
    // Sequence numbers unwrapped past 4095 in the order received.
    std::set<std::int64_t> numbers_;
    std::optional<std::int64_t> last_number_;
};

}  // namespace dot11b::analyzer
