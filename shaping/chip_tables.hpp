#pragma once
// Pulse shaping by table look-up where the chips take few values.
//
// DBPSK, DQPSK and CCK chips are quarter turns of one phasor (IEEE 802.11b
// clauses 18.4.6.3 to 18.4.6.5): within a run of such chips each chip is one
// of four values, told apart by its quadrant. The outputs come in blocks of
// factor / g outputs over step / g chips (g = gcd(factor, step)), and a
// block depends only on its chips and the width - 1 chips before them. For a
// short filter all 4^L blocks of such a window of L chips are computed once
// per run and then copied. The entries are computed with the operations of
// PolyphaseFilter in the same order, so the outputs are the same to the last
// bit. Outputs over the power ramps, where a run changes its phasor, near the
// wrap-around, and for runs too short to repay a table are left to the filter.

#include <cstddef>
#include <span>

#include "shaping/polyphase_filter.hpp"
#include "shaping/sample_appender.hpp"

namespace dot11b::shaping {

// Appends outputs 0 ... count - 1 of PolyphaseFilter(chips, factor, step,
// taps, mean), the mean taken from the chips as full_rate_mean() does.
void append_shaped_with_chip_tables(SampleSpan chips, std::size_t factor, std::size_t step,
                                    std::span<const double> taps, std::size_t count, SampleAppender& out);

}  // namespace dot11b::shaping
