#include "instrument/sig_gen_entries.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "app/records.hpp"
#include "common/ascii_case.hpp"
#include "common/errors.hpp"

namespace dot11b::instrument {
namespace {

// min first, then max: a NaN entry ends at the upper bound, as an unreadable one.
double limited(std::optional<double> value, double low, double high) {
    if (!value || std::isnan(*value)) return high;
    return std::max(std::min(*value, high), low);
}

}  // namespace

double frequency_entry(std::optional<double> hz) { return limited(hz, kMinFrequency, kMaxFrequency); }

double sampling_rate_entry(std::optional<double> hz) { return limited(hz, kMinSamplingRate, kMaxSamplingRate); }

double amplitude_entry(std::optional<double> dbm) {
    if (dbm) dbm = std::round(*dbm);
    return limited(dbm, kMinAmplitude, kMaxAmplitude);
}

std::string waveform_title_entry(std::string_view entry) {
    std::string title;
    for (const char c : entry) {
        if (app::is_title_character(c) && title.size() < app::kMaxTitleLength) title += to_upper_ascii(c);
    }
    return title.empty() ? "BLANK" : title;
}

double channel_frequency(int channel) {
    if (channel < 1 || channel > 14) {
        throw ConfigError("RF channel " + std::to_string(channel) + " is not one of 1 to 14");
    }
    return channel == 14 ? 2484000000.0 : (2407.0 + 5.0 * channel) * 1e6;
}

}  // namespace dot11b::instrument
