#include "plots/chip_timing.hpp"

#include <algorithm>
#include <cmath>

#include "common/errors.hpp"
#include "common/number_text.hpp"
#include "common/sample_rate_range.hpp"
#include "plots/signal_columns.hpp"

namespace dot11b::plots {
namespace {

constexpr double kChipRate = 11e6;  // IEEE 802.11b, 17.4.6.3
constexpr int kLongestSymbol = 4;   // chips

}  // namespace

ChipTiming chip_timing(double sample_rate_hz) {
    const double per_chip = sample_rate_hz / kChipRate;
    for (int chips = 1; chips <= kLongestSymbol; ++chips) {
        const double samples = per_chip * chips;
        if (samples >= 2 && std::abs(samples - std::round(samples)) < 1e-9) return {std::round(samples), double(chips)};
    }
    return {std::max(2.0, std::round(per_chip)), 1};
}

double symbol_offset(const ChipTiming& timing, double symbol_delay) {
    return std::min(timing.samples_per_symbol - 1, std::round(symbol_delay * timing.samples_per_symbol));
}

EyeDiagram chip_eye_diagram(SampleSpan samples, double sample_rate_hz, double symbol_delay) {
    if (!(symbol_delay >= 0 && symbol_delay <= 1)) {
        throw ConfigError("eye diagram: symbol delay " + number_text(symbol_delay) + " is outside 0 to 1");
    }
    // The eye is as wide as a symbol's samples: the rate sizes its buffers.
    if (!sample_rate_allowed(sample_rate_hz)) {
        throw ConfigError("eye diagram: sample rate " + number_text(sample_rate_hz) + " Hz is not allowed; allowed: " +
                          allowed_sample_rates());
    }
    const ChipTiming timing = chip_timing(sample_rate_hz);
    return eye_diagram(iq_columns(samples), timing.samples_per_symbol, timing.chips_per_symbol,
                       symbol_offset(timing, symbol_delay));
}

}  // namespace dot11b::plots
