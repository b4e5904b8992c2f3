#include "app/entry_rules.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "app/records.hpp"

namespace dot11b::app {
namespace {

// A readable entry: present and not NaN.
std::optional<double> readable(std::optional<double> entry) {
    if (entry && std::isnan(*entry)) return std::nullopt;
    return entry;
}

std::size_t microseconds_to_samples(std::optional<double> microseconds, double max_us, double oversampling) {
    const double t = std::min(std::max(readable(microseconds).value_or(0), 0.0), max_us);
    return static_cast<std::size_t>(std::round(t * samples_per_microsecond(oversampling)));
}

}  // namespace

std::optional<double> entry_number(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    if (text.starts_with('+')) text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

double samples_per_microsecond(double oversampling) { return kChipRate / 1e6 * oversampling; }

std::size_t ramp_time_entry(std::optional<double> microseconds, double oversampling) {
    return microseconds_to_samples(microseconds, kMaxRampTimeUs, oversampling);
}

std::size_t idle_time_entry(std::optional<double> microseconds, double oversampling) {
    return microseconds_to_samples(microseconds, kMaxIdleTimeUs, oversampling);
}

double samples_to_microseconds(std::size_t samples, double oversampling) {
    return static_cast<double>(samples) / samples_per_microsecond(oversampling);
}

double min_filter_factor(phy::FilterType filter) {
    switch (filter) {
    case phy::FilterType::Gaussian:
        return 0.1;
    case phy::FilterType::RootCosine:
        return 0.05;
    default:
        return -std::numeric_limits<double>::infinity();
    }
}

double filter_factor_entry(std::optional<double> factor, phy::FilterType filter) {
    const double f = std::min(readable(factor).value_or(kMaxFilterFactor), kMaxFilterFactor);
    return std::max(f, min_filter_factor(filter));
}

double filter_taps_entry(std::optional<double> symbols, double oversampling) {
    const auto n = readable(symbols);
    if (!n) return kMaxFilterTaps;
    const double whole_samples = std::round(*n / oversampling) * oversampling;
    return std::max(std::min(whole_samples, kMaxFilterTaps), kMinFilterTaps);
}

std::size_t frames_entry(std::optional<double> frames) {
    const auto n = readable(frames);
    if (!n) return 1;
    return static_cast<std::size_t>(std::clamp(std::round(*n), 1.0, static_cast<double>(kMaxFrames)));
}

std::size_t data_length_entry(std::optional<double> octets) {
    const auto n = readable(octets);
    if (!n) return kMaxDataLength;
    const double clamped = std::max(std::min(std::round(*n), static_cast<double>(kMaxDataLength)), 0.0);
    return static_cast<std::size_t>(clamped);
}

}  // namespace dot11b::app
