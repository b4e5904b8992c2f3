#pragma once
// dot11b-analyze --json: one JSON object per burst, the PSDU in full.

#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "analyzer/analysis.hpp"
#include "analyzer/frame_tally.hpp"

namespace dot11b::cli {

// `analysis` gives the recording's rate and carrier; its bursts are not used.
nlohmann::ordered_json burst_json(const analyzer::Analysis& analysis, const analyzer::BurstAnalysis& burst,
                                  std::size_t index);

// The object printed for a recording without bursts.
nlohmann::ordered_json no_burst_json(const analyzer::Analysis& analysis);

// The last line when frames are counted: the counts of frame_tally.hpp and,
// with an expectation, the packet error rate.
nlohmann::ordered_json frame_summary_json(const analyzer::FrameSummary& summary, std::optional<std::size_t> expected);

// What --json prints, one object per line: one per burst, or the one of no_burst_json.
std::vector<nlohmann::ordered_json> report_json(const analyzer::Analysis& analysis);

}  // namespace dot11b::cli
