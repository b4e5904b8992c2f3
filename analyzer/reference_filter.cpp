#include "analyzer/reference_filter.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "analyzer/vector_lanes.hpp"
#include "common/errors.hpp"

namespace dot11b::analyzer {
namespace {

constexpr double kStepsPerChip = 256;
constexpr double kMaxBt = 10;
constexpr double kMaxSpanChips = 64;

double gaussian_pulse(double t, double bt) {
    const double sigma = std::sqrt(std::log(2.0)) / (2 * std::numbers::pi * bt);
    const double k = std::sqrt(2.0) / (4 * sigma);
    return std::erf(k * (1 - 2 * t)) + std::erf(k * (1 + 2 * t));
}

// Root raised cosine of a one-chip symbol period; the removable singularities
// at t = 0 and t = +-1 / (4 alpha) take their limits.
double root_cosine_pulse(double t, double alpha) {
    constexpr double pi = std::numbers::pi;
    if (std::abs(t) < 1e-9) return 1 - alpha + 4 * alpha / pi;
    if (std::abs(std::abs(t) - 1 / (4 * alpha)) < 1e-9) {
        return alpha / std::sqrt(2.0) *
               ((1 + 2 / pi) * std::sin(pi / (4 * alpha)) + (1 - 2 / pi) * std::cos(pi / (4 * alpha)));
    }
    const double x = 4 * alpha * t;
    return (std::sin(pi * t * (1 - alpha)) + x * std::cos(pi * t * (1 + alpha))) / (pi * t * (1 - x * x));
}

std::string formatted(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

[[noreturn]] void refuse(const std::string& text) {
    throw ConfigError("--reference-filter " + text +
                      " is not allowed; allowed: none, gaussian[:BT[:SPAN]] with BT in (0, 10], "
                      "root-cosine[:ALPHA[:SPAN]] with ALPHA in (0, 1], SPAN in chips in (0, 64]");
}

double number_in(const std::string& value, const std::string& text) {
    char* end = nullptr;
    const double number = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0') refuse(text);
    return number;
}

}  // namespace

ReferenceFilter parse_reference_filter(const std::string& text) {
    const std::size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    ReferenceFilter filter;
    if (name == "none" && colon == std::string::npos) return filter;
    if (name == "gaussian") {
        filter.shape = PulseShape::Gaussian;
    } else if (name == "root-cosine") {
        filter.shape = PulseShape::RootCosine;
    } else {
        refuse(text);
    }
    if (colon != std::string::npos) {
        const std::string rest = text.substr(colon + 1);
        const std::size_t second = rest.find(':');
        filter.factor = number_in(rest.substr(0, second), text);
        if (second != std::string::npos) filter.span_chips = number_in(rest.substr(second + 1), text);
    }
    const double most = filter.shape == PulseShape::Gaussian ? kMaxBt : 1;
    if (!(filter.factor > 0 && filter.factor <= most)) refuse(text);
    if (!(filter.span_chips > 0 && filter.span_chips <= kMaxSpanChips)) refuse(text);
    return filter;
}

std::optional<ReferenceFilter> described_filter(const std::string& type, double factor, double length_chips) {
    ReferenceFilter filter;
    filter.factor = factor;
    filter.span_chips = length_chips;
    if (type == "none") return ReferenceFilter{};
    if (!(length_chips > 0 && length_chips <= kMaxSpanChips)) return std::nullopt;
    if (type == "gaussian" && factor > 0 && factor <= kMaxBt) {
        filter.shape = PulseShape::Gaussian;
        return filter;
    }
    if (type == "root-cosine" && factor > 0 && factor <= 1) {
        filter.shape = PulseShape::RootCosine;
        return filter;
    }
    return std::nullopt;
}

std::string reference_filter_text(const ReferenceFilter& filter) {
    switch (filter.shape) {
    case PulseShape::None: return "none";
    case PulseShape::Gaussian: return "gaussian:" + formatted(filter.factor) + ":" + formatted(filter.span_chips);
    case PulseShape::RootCosine:
        return "root-cosine:" + formatted(filter.factor) + ":" + formatted(filter.span_chips);
    }
    return "none";
}

std::vector<ReferenceFilter> candidate_filters() {
    std::vector<ReferenceFilter> candidates{ReferenceFilter{}};
    for (const double bt : {0.3, 0.5, 0.7, 1.0}) candidates.push_back({PulseShape::Gaussian, bt, 6});
    for (const double alpha : {0.22, 0.35, 0.5, 1.0}) candidates.push_back({PulseShape::RootCosine, alpha, 12});
    return candidates;
}

PulseTable::PulseTable(const ReferenceFilter& filter, double edge_guard_chips) {
    if (filter.shape == PulseShape::None) {
        rectangular_ = true;
        edge_guard_ = edge_guard_chips;
        half_span_ = 0.5 + edge_guard_chips;
        return;
    }
    half_span_ = filter.span_chips / 2;
    const auto steps = static_cast<std::size_t>(std::ceil(2 * half_span_ * kStepsPerChip)) + 2;
    values_.resize(steps);
    for (std::size_t i = 0; i < steps; ++i) {
        const double t = -half_span_ + static_cast<double>(i) / kStepsPerChip;
        values_[i] = filter.shape == PulseShape::Gaussian ? gaussian_pulse(t, filter.factor)
                                                          : root_cosine_pulse(t, filter.factor);
    }
    make_phases();
}

void PulseTable::make_phases() {
    const auto steps = static_cast<std::size_t>(kStepsPerChip);
    // The pulse ends at entry `last`, which only serves the interpolation
    // towards it.
    const std::size_t last = values_.size() - 2;
    const std::size_t taps = (last + steps - 1) / steps;
    taps_ = taps + taps % 2;
    phase_values_.assign(2 * steps * taps_, 0.0);
    phase_steps_.assign(2 * steps * taps_, 0.0);
    for (std::size_t p = 0; p < steps; ++p) {
        for (std::size_t m = 0; m < taps; ++m) {
            const std::size_t i = p + m * steps;
            if (i >= last) continue;
            const std::size_t at = 2 * (p * taps_ + taps_ - 1 - m);
            phase_values_[at] = phase_values_[at + 1] = values_[i];
            phase_steps_[at] = phase_steps_[at + 1] = values_[i + 1] - values_[i];
        }
    }
}

PulseTable PulseTable::slope(double step) const {
    PulseTable out;
    out.half_span_ = half_span_ + step;
    out.values_.resize(static_cast<std::size_t>(std::ceil(2 * out.half_span_ * kStepsPerChip)) + 2);
    for (std::size_t i = 0; i < out.values_.size(); ++i) {
        const double t = -out.half_span_ + static_cast<double>(i) / kStepsPerChip;
        out.values_[i] = (at(t + step) - at(t - step)) / (2 * step);
    }
    out.make_phases();
    return out;
}

double PulseTable::at(double chips) const {
    if (rectangular_) return chips >= -0.5 - edge_guard_ && chips < 0.5 - edge_guard_ ? 1.0 : 0.0;
    if (!(std::abs(chips) <= half_span_)) return 0;
    const double x = (chips + half_span_) * kStepsPerChip;
    const auto i = static_cast<std::size_t>(x);
    const double f = x - static_cast<double>(i);
    return values_[i] + f * (values_[i + 1] - values_[i]);
}

void PulseTable::add(std::complex<double> amplitude, double first, double step, std::size_t count,
                     std::complex<double>* out) const {
    if (rectangular_) {
        for (std::size_t i = 0; i < count; ++i) {
            const double t = first + static_cast<double>(i) * step;
            if (t >= -0.5 - edge_guard_ && t < 0.5 - edge_guard_) out[i] += amplitude;
        }
        return;
    }
    const double last = static_cast<double>(values_.size() - 2);
    for (std::size_t i = 0; i < count; ++i) {
        const double x = (first + static_cast<double>(i) * step + half_span_) * kStepsPerChip;
        if (!(x >= 0 && x <= last)) continue;
        const auto k = static_cast<std::size_t>(x);
        const double f = x - static_cast<double>(k);
        out[i] += amplitude * (values_[k] + f * (values_[k + 1] - values_[k]));
    }
}

DOT11B_WITH_FMA_CLONE
void PulseTable::render(std::span<const std::complex<double>> chips, double first, double period, double begin,
                        std::span<std::complex<double>> out) const {
    const auto count = static_cast<long long>(chips.size());
    const double per_sample = 1 / period;
    // The table's members as locals: the stores to `out` would otherwise make
    // the compiler read them again for every sample.
    const std::size_t taps = taps_;
    const double* const all_values = phase_values_.data();
    const double* const all_steps = phase_steps_.data();
    const double half_span = half_span_;
    for (std::size_t i = 0; i < out.size(); ++i) {
        // Position in chips from chip 0; the chip j meets the table at
        // (u - j + half_span) * kSteps.
        const double u = (begin + static_cast<double>(i) - first) * per_sample;
        if (rectangular_) {
            const double j = std::floor(u + 0.5 + edge_guard_);
            out[i] = j >= 0 && j < static_cast<double>(count) ? chips[static_cast<std::size_t>(j)] : 0.0;
            continue;
        }
        const double y = u + half_span;
        const double last = std::floor(y);
        const double x = (y - last) * kStepsPerChip;
        const auto phase = std::min(static_cast<std::size_t>(x), static_cast<std::size_t>(kStepsPerChip) - 1);
        const double f = x - static_cast<double>(phase);
        const double* values = all_values + 2 * phase * taps;
        const double* steps = all_steps + 2 * phase * taps;
        // Entry k of the phase meets chip last - (taps - 1) + k.
        const long long low = static_cast<long long>(last) - static_cast<long long>(taps) + 1;
        if (low >= 0 && low + static_cast<long long>(taps) <= count) {
            // Two chips at a time, in two sums so that the additions do not wait on one another.
            const std::complex<double>* chip = chips.data() + low;
            TwoLanes even = {0, 0, 0, 0}, odd = even;
            TwoLanes two, value, step;
            for (std::size_t k = 0; k < taps; k += 4) {
                load(two, chip + k);
                load(value, values + 2 * k);
                load(step, steps + 2 * k);
                even += two * (value + f * step);
                if (k + 2 < taps) {
                    load(two, chip + k + 2);
                    load(value, values + 2 * k + 4);
                    load(step, steps + 2 * k + 4);
                    odd += two * (value + f * step);
                }
            }
            const TwoLanes total = even + odd;
            out[i] = sum_of_halves(total);
            continue;
        }
        Lanes sum = {0, 0};
        for (std::size_t k = 0; k < taps; ++k) {
            const long long j = low + static_cast<long long>(k);
            if (j >= 0 && j < count) sum += lanes(chips[static_cast<std::size_t>(j)]) * (values[2 * k] + f * steps[2 * k]);
        }
        out[i] = {sum[0], sum[1]};
    }
}

}  // namespace dot11b::analyzer
