#include "shaping/pulse_shaping.hpp"

#include <string>

#include "common/errors.hpp"
#include "shaping/chip_tables.hpp"
#include "shaping/polyphase_filter.hpp"
#include "shaping/sample_appender.hpp"

namespace dot11b::shaping {
namespace {

void check_shaping(std::size_t chip_count, int upsample_factor, int decimation, std::size_t tap_count) {
    if (upsample_factor < 1) {
        throw ConfigError("dot11b_FRAME: the oversampling factor must be a positive integer, got " +
                          std::to_string(upsample_factor));
    }
    if (decimation < 1) {
        throw ConfigError("dot11b_FRAME: the decimation rate must be a positive integer, got " +
                          std::to_string(decimation));
    }
    const std::size_t samples = chip_count * static_cast<std::size_t>(upsample_factor);
    if (tap_count > samples + 1) {
        throw ConfigError("dot11b_FRAME: filterTaps must be at most the oversampled burst length plus one, " +
                          std::to_string(samples + 1) + ", got a filter of " + std::to_string(tap_count) + " taps");
    }
}

}  // namespace

std::size_t shaped_length(std::size_t chip_count, int upsample_factor, int decimation) {
    const std::size_t length = chip_count * static_cast<std::size_t>(upsample_factor);
    const auto step = static_cast<std::size_t>(decimation);
    return (length + step - 1) / step;
}

void append_shaped_pulses(SampleSpan chips, int upsample_factor, int decimation, std::span<const double> taps,
                          Samples& out) {
    check_shaping(chips.size(), upsample_factor, decimation, taps.size());
    const auto factor = static_cast<std::size_t>(upsample_factor);
    const auto step = static_cast<std::size_t>(decimation);
    const std::size_t chip_count = chips.size();
    const std::size_t count = shaped_length(chip_count, upsample_factor, decimation);
    if (count == 0) return;
    out.reserve(out.size() + count);
    SampleAppender appender(out);
    if (taps.empty()) {
        const Complex mean = full_rate_mean(sum_of(chips), static_cast<double>(factor), chip_count, factor);
        for (std::size_t i = 0; i < count; ++i) appender.push(chips[i * step / factor] - mean);
    } else {
        append_shaped_with_chip_tables(chips, factor, step, taps, count, appender);
    }
    appender.flush();
}

Samples shape_pulses(SampleSpan chips, int upsample_factor, int decimation, std::span<const double> taps) {
    Samples out;
    append_shaped_pulses(chips, upsample_factor, decimation, taps, out);
    return out;
}

}  // namespace dot11b::shaping
