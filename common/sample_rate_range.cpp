#include "common/sample_rate_range.hpp"

#include "common/number_text.hpp"

namespace dot11b {

bool sample_rate_allowed(double rate_hz, double min_hz) {
    // Written so that NaN fails every comparison and is refused.
    return rate_hz > 0 && rate_hz >= min_hz && rate_hz <= kMaxSampleRateHz;
}

std::string allowed_sample_rates(double min_hz, const std::string& min_name) {
    const std::string named = min_name.empty() ? "" : " (" + min_name + ")";
    const std::string lowest = min_hz > 0 ? number_text(min_hz) + " Hz" + named : "above 0 Hz";
    return lowest + " to " + number_text(kMaxSampleRateHz) + " Hz";
}

}  // namespace dot11b
