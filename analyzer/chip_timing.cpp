#include "analyzer/chip_timing.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>

#include "analyzer/complex_product.hpp"
#include "analyzer/constants.hpp"
#include "analyzer/straight_line.hpp"

namespace dot11b::analyzer {
namespace {

constexpr std::size_t kCoarseSteps = 8;  // candidate instants per chip
// A symbol is Barker-spread when its despread energy holds at least half of
// what its chips' power allows (all of it, 11 times the power, for a clean one).
constexpr double kBarkerShare = 0.5;
// Loop bandwidth in cycles per symbol, damping 1.
constexpr double kLoopBandwidth = 0.02;
constexpr double kDamping = 1.0;
// The first Barker symbols pull the instants in with a proportional step
// alone, so that a coarse instant up to half a chip off does not wind the
// clock; they do not count for the clock fit.
constexpr std::size_t kSettlingSymbols = 16;
constexpr double kPullInGain = 0.25;
// Symbols without Barker spreading after which the PSDU's chips (CCK or PBCC)
// are taken to have begun.
constexpr std::size_t kOpenLoopAfter = 3;

// Proportional and integral gains of a second-order loop whose detector reads
// the timing error itself (samples).
struct LoopGains {
    double proportional;
    double integral;
};

LoopGains loop_gains() {
    const double theta = kLoopBandwidth / (kDamping + 1 / (4 * kDamping));
    const double denominator = 1 + 2 * kDamping * theta + theta * theta;
    return {4 * kDamping * theta / denominator, 4 * theta * theta / denominator};
}

// One symbol's chips and the samples midway before each of them.
struct SymbolChips {
    std::array<Complex, kChipsPerSymbol> on_time;
    std::array<Complex, kChipsPerSymbol> midway;
};

SymbolChips read_symbol(const SincInterpolator& signal, double start, double period, ChipStream& stream) {
    SymbolChips s;
    for (std::size_t i = 0; i < kChipsPerSymbol; ++i) {
        const double t = start + static_cast<double>(i) * period;
        s.on_time[i] = signal.at(t);
        s.midway[i] = signal.at(t - 0.5 * period);
        stream.chips.push_back(s.on_time[i]);
        stream.positions.push_back(t);
    }
    return s;
}

// The chips a Barker symbol was sent with (gain and phase as received), when
// the despread energy shows one.
std::optional<std::array<Complex, kChipsPerSymbol>> barker_chips(const SymbolChips& s) {
    Complex symbol = 0;
    double power = 0;
    for (std::size_t i = 0; i < kChipsPerSymbol; ++i) {
        symbol += s.on_time[i] * kBarker[i];
        power += magnitude_squared(s.on_time[i]);
    }
    if (!(magnitude_squared(symbol) >= kBarkerShare * static_cast<double>(kChipsPerSymbol) * power)) return std::nullopt;
    std::array<Complex, kChipsPerSymbol> chips;
    for (std::size_t i = 0; i < kChipsPerSymbol; ++i) {
        chips[i] = symbol * (kBarker[i] / static_cast<double>(kChipsPerSymbol));
    }
    return chips;
}

// Timing error (samples, positive when the instants are early) from the
// samples midway between decided chips: past a change the midway sample leans
// towards the later chip by the lateness over the chip period, for any pulse
// spectrum, steep ones included, and at one sample per chip.
double zero_crossing_error(const SymbolChips& s, const std::array<Complex, kChipsPerSymbol>& chips,
                           std::optional<Complex> before, double period) {
    double lean = 0;
    double change = 0;
    for (std::size_t i = 0; i < kChipsPerSymbol; ++i) {
        const std::optional<Complex> earlier = i > 0 ? std::optional(chips[i - 1]) : before;
        if (!earlier) continue;
        const Complex step = chips[i] - *earlier;
        lean += real_conj_product(s.midway[i] - 0.5 * (chips[i] + *earlier), step);
        change += magnitude_squared(step);
    }
    if (!(change > 0)) return 0;
    return std::clamp(-period * lean / change, -0.5 * period, 0.5 * period);
}

}  // namespace

double coarse_chip_instant(const SincInterpolator& signal, double samples_per_chip, double window_start,
                           std::size_t symbols) {
    const std::size_t span = kCoarseSteps * kChipsPerSymbol;
    const std::size_t grid_size = kCoarseSteps * kChipsPerSymbol * (symbols + 1);
    const double step = samples_per_chip / kCoarseSteps;
    Samples grid(grid_size);
    for (std::size_t n = 0; n < grid_size; ++n) grid[n] = signal.at(window_start + static_cast<double>(n) * step);

    std::vector<double> energy(span, 0.0);
    for (std::size_t j = 0; j < span; ++j) {
        for (std::size_t m = 0; m < symbols; ++m) {
            Complex symbol = 0;
            const std::size_t base = j + span * m;
            for (std::size_t i = 0; i < kChipsPerSymbol; ++i) symbol += grid[base + kCoarseSteps * i] * kBarker[i];
            energy[j] += magnitude_squared(symbol);
        }
    }
    const std::size_t best = static_cast<std::size_t>(std::max_element(energy.begin(), energy.end()) - energy.begin());
    const double left = energy[(best + span - 1) % span];
    const double centre = energy[best];
    const double right = energy[(best + 1) % span];
    const double curvature = left - 2 * centre + right;
    const double offset = curvature < 0 ? std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5) : 0.0;
    return window_start + (static_cast<double>(best) + offset) * step;
}

ChipStream track_chips(const SincInterpolator& signal, double samples_per_chip, double first_instant, double end) {
    ChipStream stream;
    const double symbol_span = static_cast<double>(kChipsPerSymbol) * samples_per_chip;
    if (!(end > first_instant + symbol_span)) return stream;
    const auto expected = static_cast<std::size_t>((end - first_instant) / samples_per_chip) + kChipsPerSymbol;
    stream.chips.reserve(expected);
    stream.positions.reserve(expected);

    const LoopGains gains = loop_gains();
    double period = samples_per_chip;
    double start = first_instant;
    // Each Barker symbol's own start, the loop's instant corrected by its
    // measured error: a clock read from these carries none of the loop's lag.
    std::vector<double> symbols;
    std::vector<double> measured;
    std::size_t unspread = 0;  // symbols without Barker spreading since the last one
    bool open_loop = false;
    std::optional<Complex> last_chip;  // of the previous symbol, when it was a Barker symbol
    for (std::size_t m = 0; !open_loop && start + symbol_span < end; ++m) {
        const SymbolChips read = read_symbol(signal, start, period, stream);
        const auto chips = barker_chips(read);
        const std::optional<double> error =
            chips ? std::optional(zero_crossing_error(read, *chips, last_chip, period)) : std::nullopt;
        last_chip = chips ? std::optional(chips->back()) : std::nullopt;
        double next = start + static_cast<double>(kChipsPerSymbol) * period;
        if (error) {
            unspread = 0;
            symbols.push_back(static_cast<double>(m));
            measured.push_back(start + *error);
            if (symbols.size() <= kSettlingSymbols) {
                next += kPullInGain * *error;
            } else {
                next += gains.proportional * *error;
                period += gains.integral * *error / static_cast<double>(kChipsPerSymbol);
            }
        } else if (++unspread == kOpenLoopAfter) {
            if (symbols.size() > 2 * kSettlingSymbols) {
                // CCK or PBCC chips follow: on along the line the Barker symbols showed.
                const StraightLine line = fitted_line(std::span(symbols).subspan(kSettlingSymbols),
                                              std::span(measured).subspan(kSettlingSymbols));
                period = line.slope / static_cast<double>(kChipsPerSymbol);
                next = line.at(static_cast<double>(m + 1));
                open_loop = true;
            } else {
                symbols.clear();  // not the preamble yet
                measured.clear();
            }
        }
        start = next;
    }
    // On along the line, and the last, partial symbol: every instant is known
    // now, so their chips are read in one call.
    const std::size_t known = stream.positions.size();
    for (; start + symbol_span < end; start += static_cast<double>(kChipsPerSymbol) * period) {
        for (std::size_t i = 0; i < kChipsPerSymbol; ++i) {
            stream.positions.push_back(start + static_cast<double>(i) * period);
        }
    }
    for (; start < end; start += period) stream.positions.push_back(start);
    stream.chips.resize(stream.positions.size());
    signal.at(std::span(stream.positions).subspan(known), 0, std::span(stream.chips).subspan(known));
    return stream;
}

double fitted_chip_period(const std::vector<double>& positions, std::size_t first, std::size_t last) {
    if (last <= first + 1) return 0;
    return fitted_line_by_index(positions, first, last).slope;
}

}  // namespace dot11b::analyzer
