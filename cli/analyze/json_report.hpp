#pragma once
// dot11b-analyze --json: one JSON object per burst, the PSDU in full.

#include <vector>

#include <nlohmann/json.hpp>

#include "analyzer/analysis.hpp"

namespace dot11b::cli {

nlohmann::ordered_json burst_json(const analyzer::Analysis& analysis, std::size_t index);

// The object printed for a recording without bursts.
nlohmann::ordered_json no_burst_json(const analyzer::Analysis& analysis);

// What --json prints, one object per line: one per burst, or the one of no_burst_json.
std::vector<nlohmann::ordered_json> report_json(const analyzer::Analysis& analysis);

}  // namespace dot11b::cli
