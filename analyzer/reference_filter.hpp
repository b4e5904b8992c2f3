#pragma once
// The pulse of the ideal transmitter against which the received signal is
// measured: none (rectangular chips), Gaussian (a one-chip rectangle through a
// Gaussian of bandwidth-time product BT) or root raised cosine (roll-off
// alpha), truncated to a span of chips.

#include <complex>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dot11b::analyzer {

enum class PulseShape { None, Gaussian, RootCosine };

struct ReferenceFilter {
    PulseShape shape = PulseShape::None;
    double factor = 0.5;       // BT or roll-off; unused for None
    double span_chips = 6;     // the pulse is zero beyond +-span / 2 chips
    bool operator==(const ReferenceFilter&) const = default;
};

// "none", "gaussian[:BT[:SPAN]]" or "root-cosine[:ALPHA[:SPAN]]" (BT and
// alpha default to 0.5, the span to 6 chips). Throws ConfigError naming the
// text and the allowed forms: BT in (0, 10], alpha in (0, 1], span in (0, 64].
ReferenceFilter parse_reference_filter(const std::string& text);

// The filter a transmitter describes by type ("none", "gaussian",
// "root-cosine"), factor and length in chips; nothing for a type or value the
// analyser does not model.
std::optional<ReferenceFilter> described_filter(const std::string& type, double factor, double length_chips);

std::string reference_filter_text(const ReferenceFilter& filter);  // e.g. "gaussian:0.5:6"

// The candidates tried on a capture that does not name its filter.
std::vector<ReferenceFilter> candidate_filters();

// The pulse tabulated over its span, at any offset from its centre in chips.
class PulseTable {
public:
    // `edge_guard_chips` moves the edges of rectangular chips earlier by a
    // fraction of a sample: a held chip starts exactly on a sample, and that
    // sample must count for the new chip despite a small timing error.
    PulseTable(const ReferenceFilter& filter, double edge_guard_chips);

    double at(double chips) const;
    // The pulse's slope as the central difference over +-`step` chips, tabulated
    // the same way: what a timing shift does to the rebuilt signal, in one table.
    PulseTable slope(double step) const;
    // out[i] += amplitude * at(first + i * step) for i < count: the pulse of
    // one chip laid on consecutive samples, one chip at a time (the direct form).
    void add(std::complex<double> amplitude, double first, double step, std::size_t count,
             std::complex<double>* out) const;
    // out[i] = sum over j of chips[j] * at((begin + i - first) / period - j):
    // the pulses of chips centred on first + j * period, at the samples
    // begin, begin + 1, ... Each sample gathers the chips that reach it; they
    // all meet the table at the same fraction of a step, so one position and
    // one interpolation weight serve them all.
    void render(std::span<const std::complex<double>> chips, double first, double period, double begin,
                std::span<std::complex<double>> out) const;
    double half_span() const { return half_span_; }
    bool smooth() const { return !rectangular_; }

private:
    PulseTable() = default;
    void make_phases();

    bool rectangular_ = false;
    double edge_guard_ = 0;
    double half_span_ = 0;
    std::vector<double> values_;  // at -half_span + i / kSteps
    // values_ regrouped by the fraction of a chip, for the chips in memory
    // order: phase p holds taps_ (even) entries at [2 p taps_, 2 (p + 1) taps_),
    // those at ... p + 2 kSteps, p + kSteps, p, zero beyond the span, each
    // twice (for I and Q), with their differences to the next entry.
    std::size_t taps_ = 0;
    std::vector<double> phase_values_;
    std::vector<double> phase_steps_;
};

}  // namespace dot11b::analyzer
