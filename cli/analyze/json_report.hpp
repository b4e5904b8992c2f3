#pragma once
// dot11b-analyze --json: one JSON object per burst, the PSDU in full.

#include <nlohmann/json.hpp>

#include "analyzer/analysis.hpp"

namespace dot11b::cli {

nlohmann::ordered_json burst_json(const analyzer::Analysis& analysis, std::size_t index);

// The object printed for a recording without bursts.
nlohmann::ordered_json no_burst_json(const analyzer::Analysis& analysis);

}  // namespace dot11b::cli
