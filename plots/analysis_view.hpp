#pragma once
// What the analysis window shows of an analysis: the transmit spectrum and
// its mask limit in MHz off the carrier and dB relative to the peak, the
// report, and the verdict.

#include <string>
#include <vector>

#include "analyzer/analysis.hpp"
#include "plots/axis_range.hpp"
#include "plots/chip_views.hpp"

namespace dot11b::plots {

struct Polyline {
    std::vector<double> x;
    std::vector<double> y;  // NaN breaks the line
};

struct AnalysisView {
    Polyline spectrum;  // MHz, dBr; the first burst's, none without a burst
    Polyline mask;      // MHz, dBr
    AxisRange x;        // the span the sample rate covers
    AxisRange y;        // dBr, the mask and at most 100 dB below the peak
    // The first burst's chips (first_burst_chips).
    Constellation constellation;
    ChipEvm chip_evm;
    std::string report;
    std::string verdict;
    bool passed = false;
};

// The mask limit of ascending segments (analyzer::mask_limits) as one line per
// side of the carrier: steps drawn upright, broken where the segments leave a
// gap, as between the sides.
Polyline mask_polyline(const std::vector<analyzer::MaskSegment>& limits);

// `source` names the waveform in the report's first line.
AnalysisView analysis_view(const analyzer::Analysis& analysis, const std::string& source);

}  // namespace dot11b::plots
