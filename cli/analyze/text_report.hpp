#pragma once
// The readable report of dot11b-analyze: one block per burst and an overall line.

#include <ostream>
#include <string>

#include "analyzer/analysis.hpp"

namespace dot11b::cli {

void print_report(std::ostream& out, const std::string& file, const analyzer::Analysis& analysis);

// "PASS" or "FAIL: " and the failed checks.
std::string verdict_text(const analyzer::BurstAnalysis& burst);

// The first `count` octets in hexadecimal pairs, "..." after them when there are more.
std::string octets_text(const std::vector<std::uint8_t>& octets, std::size_t count);

}  // namespace dot11b::cli
