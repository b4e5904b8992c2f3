#include "plots/analysis_view.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analyzer/report_text.hpp"

namespace dot11b::plots {
namespace {

constexpr double kHzPerMHz = 1e6;
// Room above the 0 dBr peak, so the peak does not hide in the frame.
constexpr double kTopDbr = 10;
// Low enough to show the outer mask limit of -50 dBr with room below it.
constexpr double kHighestBottomDbr = -60;
constexpr double kDeepestBottomDbr = -100;

void add_point(Polyline& line, double x, double y) {
    line.x.push_back(x);
    line.y.push_back(y);
}

AxisRange level_range(const std::vector<double>& levels) {
    const double lowest = levels.empty() ? 0 : *std::min_element(levels.begin(), levels.end());
    return {std::clamp(10 * std::floor(lowest / 10), kDeepestBottomDbr, kHighestBottomDbr), kTopDbr};
}

}  // namespace

Polyline mask_polyline(const std::vector<analyzer::MaskSegment>& limits) {
    Polyline line;
    for (std::size_t k = 0; k < limits.size(); ++k) {
        const analyzer::MaskSegment& segment = limits[k];
        if (k > 0 && limits[k - 1].to_hz != segment.from_hz) {
            add_point(line, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN());
        }
        add_point(line, segment.from_hz / kHzPerMHz, segment.limit_dbr);
        add_point(line, segment.to_hz / kHzPerMHz, segment.limit_dbr);
    }
    return line;
}

AnalysisView analysis_view(const analyzer::Analysis& analysis, const std::string& source) {
    AnalysisView view;
    const double edge = analysis.sample_rate_hz / 2 / kHzPerMHz;
    view.x = {-edge, edge};
    if (!analysis.bursts.empty()) {
        const analyzer::BurstAnalysis& burst = analysis.bursts.front();
        for (const double f : burst.spectrum.frequency_hz) view.spectrum.x.push_back(f / kHzPerMHz);
        view.spectrum.y = burst.spectrum.level_dbr;
    }
    const analyzer::ChipErrors chips = first_burst_chips(analysis);
    view.constellation = constellation(chips);
    view.chip_evm = chip_evm(chips);
    view.mask = mask_polyline(analyzer::mask_limits(analysis.sample_rate_hz));
    view.y = level_range(view.spectrum.y);
    view.report = analyzer::report_text(source, analysis);
    view.verdict = analyzer::overall_verdict_text(analysis);
    view.passed = analysis.passed();
    return view;
}

}  // namespace dot11b::plots
