#pragma once
// The readable report of an analysis: a line naming the recording, one block
// per burst and an overall line. dot11b-analyze prints it; the analysis
// window shows it.

#include <cstdint>
#include <string>
#include <vector>

#include "analyzer/analysis.hpp"

namespace dot11b::analyzer {

// `source` names the recording in the first line.
std::string report_text(const std::string& source, const Analysis& analysis);

// The parts of report_text, for a report written a burst at a time: the line
// naming the recording, one burst's block (`analysis` gives the recording's
// rate and carrier; its bursts are not used), and the closing lines.
std::string report_heading(const std::string& source, const Analysis& analysis);
std::string burst_report_text(const BurstAnalysis& burst, std::size_t index, const Analysis& analysis);
std::string report_ending(const Analysis& analysis, std::size_t bursts, bool passed);

// "PASS" or "FAIL: " and the failed checks.
std::string verdict_text(const BurstAnalysis& burst);

// The whole recording's verdict on one line: "PASS", or "FAIL: " and what
// failed, with the burst named when there are several.
std::string overall_verdict_text(const Analysis& analysis);

// The first `count` octets in hexadecimal pairs, "..." after them when there are more.
std::string octets_text(const std::vector<std::uint8_t>& octets, std::size_t count);

}  // namespace dot11b::analyzer
