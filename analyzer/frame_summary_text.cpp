#include <cstdio>

#include "analyzer/frame_tally.hpp"
#include "analyzer/report_text.hpp"

namespace dot11b::analyzer {

bool FrameSummary::enough(std::optional<std::size_t> expected) const { return !expected || distinct >= *expected; }

std::string frame_summary_text(const FrameSummary& s, std::optional<std::size_t> expected) {
    char text[320];
    std::snprintf(text, sizeof text,
                  "frames: %zu bursts, %zu decoded, %zu FCS errors, %zu distinct, %zu duplicates, %zu missing "
                  "sequence numbers\n",
                  s.bursts, s.decoded, s.fcs_errors, s.distinct, s.duplicates, s.missing);
    std::string summary = text;
    if (const auto rate = s.packet_error_rate(expected)) {
        std::snprintf(text, sizeof text, "packet error rate: %.2f %% (%zu distinct frames of %zu expected): %s\n",
                      100 * *rate, s.distinct, *expected, s.enough(expected) ? "PASS" : "FAIL");
        summary += text;
    }
    return summary;
}

}  // namespace dot11b::analyzer
