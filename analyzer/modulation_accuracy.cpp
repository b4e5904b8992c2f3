#include "analyzer/modulation_accuracy.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <mutex>
#include <numbers>

#include "analyzer/complex_product.hpp"
#include "analyzer/reference_signal.hpp"
#include "analyzer/straight_line.hpp"
#include "analyzer/vector_lanes.hpp"

namespace dot11b::analyzer {
namespace {

constexpr std::size_t kTimingSearchChips = 1024;
// The candidate filters are told apart on fewer chips: the wrong ones miss by
// far more than the timing grid does.
constexpr std::size_t kFilterChoiceChips = 128;
constexpr int kSearchSteps = 4;            // either side of the tracked timing
constexpr double kSearchStepChips = 1.0 / 16;
constexpr int kTimingIterations = 1;
constexpr double kDerivativeStepChips = 0.01;
// A rectangular chip's edges move earlier by this much of a sample (see PulseTable).
constexpr double kEdgeGuardSamples = 0.25;
// |sum s^2| against sum |s|^2 above which the chips count as real.
constexpr double kMostImproperShare = 0.9;

struct Fit {
    Complex a = 0, b = 0, d = 0;
    double residual = 1;     // |residual|^2 against |y|^2: what tells timings and filters apart
};

// Least squares over three complex regressors: Gaussian elimination of the
// normal equations with partial pivoting.
std::array<Complex, 3> solve3(std::array<std::array<Complex, 4>, 3> m) {
    for (std::size_t c = 0; c < 3; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < 3; ++r) {
            if (std::abs(m[r][c]) > std::abs(m[pivot][c])) pivot = r;
        }
        std::swap(m[c], m[pivot]);
        if (std::abs(m[c][c]) == 0) return {0, 0, 0};
        for (std::size_t r = 0; r < 3; ++r) {
            if (r == c) continue;
            const Complex factor = m[r][c] / m[c][c];
            for (std::size_t k = c; k < 4; ++k) m[r][k] -= factor * m[c][k];
        }
    }
    return {m[0][3] / m[0][0], m[1][3] / m[1][1], m[2][3] / m[2][2]};
}

// Real chips (BPSK) make conj(s) the same regressor as s: no image can be told apart.
bool image_measurable(SampleSpan s) {
    Complex square = 0;
    double power = 0;
    for (const Complex x : s) {
        square += product(x, x);
        power += magnitude_squared(x);
    }
    return std::abs(square) < kMostImproperShare * power;
}

constexpr std::size_t kUnknowns = 4;
using Normal = std::array<std::array<double, kUnknowns + 1>, kUnknowns>;

// Gaussian elimination with partial pivoting; nothing for a singular system.
std::optional<std::array<double, kUnknowns>> solve_real(Normal m) {
    for (std::size_t c = 0; c < kUnknowns; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < kUnknowns; ++r) {
            if (std::abs(m[r][c]) > std::abs(m[pivot][c])) pivot = r;
        }
        std::swap(m[c], m[pivot]);
        if (!(std::abs(m[c][c]) > 0)) return std::nullopt;
        for (std::size_t r = 0; r < kUnknowns; ++r) {
            if (r == c) continue;
            const double factor = m[r][c] / m[c][c];
            for (std::size_t k = c; k <= kUnknowns; ++k) m[r][k] -= factor * m[c][k];
        }
    }
    std::array<double, kUnknowns> x{};
    for (std::size_t c = 0; c < kUnknowns; ++c) x[c] = m[c][kUnknowns] / m[c][c];
    return x;
}

enum class Residual { Measured, NotNeeded };

// The loops below keep I and Q in the lanes of one vector, with no
// std::complex between them: GCC passes those through the stack, and reading
// one back as a whole right after writing its halves stalls every chip.

// y - a s - b conj(s) - d at one chip, the fit's residual there.
class ModelResidual {
public:
    ModelResidual(Complex a, Complex b, Complex d)
        : a_{a.real(), a.imag()}, a_turned_{-a.imag(), a.real()}, b_{b.real(), b.imag()},
          b_turned_{b.imag(), -b.real()}, d_{d.real(), d.imag()} {}
    Lanes at(Lanes y, Complex s) const {
        const double re = s.real(), im = s.imag();
        return ((y - (re * a_ + im * a_turned_)) - (re * b_ + im * b_turned_)) - d_;
    }

private:
    Lanes a_, a_turned_, b_, b_turned_, d_;
};

// The normal equations of the regressors s, conj(s) and 1 need only these
// sums; the residual then takes a second pass, which keeps its precision when
// the fit is close, and only where it tells timings or filters apart.
Fit fit_reference(SampleSpan y, SampleSpan s, Residual residual = Residual::Measured) {
    const std::size_t n = std::min(y.size(), s.size());
    Lanes squares_lanes{}, sum_s_lanes{}, s_y_lanes{}, conj_s_y_lanes{}, sum_y_lanes{};
    double power = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const Lanes sv = lanes(s[k]), yv = lanes(y[k]);
        const double re = sv[0], im = sv[1];
        squares_lanes += re * sv + im * Lanes{-im, re};
        power += re * re + im * im;
        sum_s_lanes += sv;
        conj_s_y_lanes += re * yv + im * Lanes{yv[1], -yv[0]};
        s_y_lanes += re * yv + im * Lanes{-yv[1], yv[0]};
        sum_y_lanes += yv;
    }
    const auto complex_of = [](Lanes v) { return Complex(v[0], v[1]); };
    const Complex squares = complex_of(squares_lanes), sum_s = complex_of(sum_s_lanes);
    const Complex s_y = complex_of(s_y_lanes), conj_s_y = complex_of(conj_s_y_lanes), sum_y = complex_of(sum_y_lanes);
    const bool image = std::abs(squares) < kMostImproperShare * power;
    const Complex count = static_cast<double>(n);
    std::array<std::array<Complex, 4>, 3> normal{{{power, std::conj(squares), std::conj(sum_s), conj_s_y},
                                                  {squares, power, sum_s, s_y},
                                                  {sum_s, std::conj(sum_s), count, sum_y}}};
    if (!image) normal[1] = {0, 1, 0, 0}, normal[0][1] = normal[2][1] = 0;
    const auto [a, b, d] = solve3(normal);
    Fit fit{a, b, d, 1};
    if (residual == Residual::NotNeeded) return fit;
    const ModelResidual model(a, b, d);
    double sum = 0, received = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const Lanes yv = lanes(y[k]);
        const Lanes r = model.at(yv, s[k]);
        sum += r[0] * r[0] + r[1] * r[1];
        received += yv[0] * yv[0] + yv[1] * yv[1];
    }
    if (received > 0) fit.residual = sum / received;
    return fit;
}

struct Span {
    std::size_t from, to;
};

// A pulse and its slope, tabulated.
struct Tables {
    std::shared_ptr<const PulseTable> pulse;
    std::shared_ptr<const PulseTable> slope;  // smooth pulses only
};

// Tabulating a smooth pulse takes thousands of erf evaluations and does not
// depend on the burst, so each filter's tables are made once and shared
// between the threads. A rectangle is cheap and depends on the oversampling.
Tables tables_of(const ReferenceFilter& filter, double edge_guard_chips) {
    if (filter.shape == PulseShape::None) return {std::make_shared<const PulseTable>(filter, edge_guard_chips), nullptr};
    // A few filters per run: more than this are made again rather than kept.
    constexpr std::size_t kMostKept = 32;
    static std::mutex mutex;
    static std::vector<std::pair<ReferenceFilter, Tables>> kept;
    const std::lock_guard lock(mutex);
    for (const auto& [f, tables] : kept) {
        if (f == filter) return tables;
    }
    auto pulse = std::make_shared<const PulseTable>(filter, edge_guard_chips);
    Tables tables{pulse, std::make_shared<const PulseTable>(pulse->slope(kDerivativeStepChips))};
    if (kept.size() < kMostKept) kept.emplace_back(filter, tables);
    return tables;
}

// Buffers of a burst's length, kept by each thread from burst to burst:
// allocating them anew for every burst costs page faults.
struct Scratch {
    Samples signal, slopes, received;
    std::vector<double> seconds;
};

Scratch& scratch_of_thread() {
    thread_local Scratch scratch;
    return scratch;
}

class Measurer {
public:
    Measurer(const AccuracyInput& input, const ReferenceFilter& filter)
        : in_(input), tables_(tables_of(filter, kEdgeGuardSamples / input.samples_per_chip)),
          pulse_(*tables_.pulse) {}

    const PulseTable& pulse() const { return pulse_; }

    // With `keep`, the final fit: its chips are kept and its residual is not needed.
    Fit fit(const ChipLine& line, Span span, ReferenceChips* keep = nullptr) const {
        ReferenceChips ref =
            reference_chips(pulse_, in_.ideal, line, in_.positions, span.from, span.to, scratch_of_thread().signal);
        const std::size_t n = span.to - span.from;
        const Fit fit = fit_reference(in_.received.subspan(span.from, n), ref.chips,
                                      keep ? Residual::NotNeeded : Residual::Measured);
        if (keep) *keep = std::move(ref);
        return fit;
    }

    // The best constant timing shift of the line on a grid, refined by a
    // parabola for a smooth pulse; for rectangular chips the middle of the
    // shifts that fit equally well.
    std::pair<ChipLine, double> search(ChipLine line, Span span) const {
        std::array<double, 2 * kSearchSteps + 1> errors{};
        std::array<bool, 2 * kSearchSteps + 1> known{};
        const auto error = [&](std::size_t i) {
            if (!known[i]) {
                const double steps = static_cast<double>(i) - kSearchSteps;
                errors[i] = fit({line.first + steps * kSearchStepChips * line.period, line.period}, span).residual;
                known[i] = true;
            }
            return errors[i];
        };
        std::size_t best = kSearchSteps;
        if (pulse_.smooth()) {
            // A smooth pulse's error falls towards the best shift and rises
            // beyond it: walk downhill from the tracked timing, which reads
            // the parabola's three points and seldom more.
            while (best > 0 && error(best - 1) < error(best)) --best;
            while (best + 1 < errors.size() && error(best + 1) < error(best)) ++best;
        } else {
            // A rectangle's error moves in steps, flat between them: every shift.
            for (std::size_t i = 0; i < errors.size(); ++i) error(i);
            best = static_cast<std::size_t>(std::min_element(errors.begin(), errors.end()) - errors.begin());
        }
        double shift = static_cast<double>(best) - kSearchSteps;
        if (pulse_.smooth()) {
            if (best > 0 && best + 1 < errors.size()) {
                const double curvature = errors[best - 1] - 2 * errors[best] + errors[best + 1];
                if (curvature > 0) shift += std::clamp(0.5 * (errors[best - 1] - errors[best + 1]) / curvature, -0.5, 0.5);
            }
        } else {
            const double level = errors[best] * 1.01 + 1e-12;
            std::size_t lo = best, hi = best;
            while (lo > 0 && errors[lo - 1] <= level) --lo;
            while (hi + 1 < errors.size() && errors[hi + 1] <= level) ++hi;
            shift = 0.5 * (static_cast<double>(lo) + static_cast<double>(hi)) - kSearchSteps;
        }
        line.first += shift * kSearchStepChips * line.period;
        return {line, errors[best]};
    }

    // One Gauss-Newton step on a timing shift that changes linearly along the
    // burst (the intercept and the slope of the chip clock line), solved
    // together with a residual carrier phase and frequency, which would
    // otherwise leak into the timing. It runs over every sample of the
    // burst's first and last quarters, not only the chip instants: the
    // transitions between chips carry most of the timing, and a drift shows
    // most at the ends, where half the samples read it nearly as well as all
    // of them (the slope's variance grows by about a sixth).
    ChipLine refine(const ChipLine& line, Span span) const {
        const double begin = std::ceil(in_.positions[span.from]);
        const double end = std::floor(in_.positions[span.to - 1]) + 1;
        if (!(end - begin > 8 * kUnknowns) || end > static_cast<double>(in_.samples.size())) return line;
        const double quarter = std::floor((end - begin) / 4);
        const std::array<double, 2> starts = {begin, end - quarter};
        const auto part = static_cast<std::size_t>(quarter);
        Scratch& scratch = scratch_of_thread();
        Samples& s = scratch.signal;
        Samples& slopes = scratch.slopes;
        Samples& y = scratch.received;
        std::vector<double>& seconds = scratch.seconds;
        s.resize(2 * part);
        slopes.resize(2 * part);
        y.resize(2 * part);
        seconds.resize(2 * part);
        const double sample_period = 1 / in_.sample_rate_hz;
        for (std::size_t p = 0; p < starts.size(); ++p) {
            const std::span<Complex> here(s.data() + p * part, part);
            pulse_.render(in_.ideal, line.first, line.period, starts[p], here);
            // A later chip line reads each pulse earlier: the change per chip of delay is minus the slope.
            tables_.slope->render(in_.ideal, line.first, line.period, starts[p],
                                  std::span<Complex>(slopes.data() + p * part, part));
            for (std::size_t i = 0; i < part; ++i) {
                y[p * part + i] = in_.samples[static_cast<std::size_t>(starts[p]) + i];
                seconds[p * part + i] = (starts[p] + static_cast<double>(i)) * sample_period;
            }
            remove_phase_line(std::span(y).subspan(p * part, part), std::span(seconds).subspan(p * part, part),
                              in_.carrier);
        }
        const Fit f = fit_reference(y, s, Residual::NotNeeded);
        // Normal equations of [shift, drift per chip, phase, phase per chip],
        // with time t in chips from the middle. The regressors are z, z t,
        // turn and turn t, so each entry is a sum of one of five products
        // weighted by 1, t or t^2.
        const double middle = 0.5 * (begin + end - 1);
        std::array<double, 3> zz{}, zturn{}, turns{};  // by the power of t
        std::array<double, 2> zr{}, turnr{};
        // x -> a x + b conj(x) is real-linear: one 2 x 2 real matrix.
        const double m11 = f.a.real() + f.b.real(), m12 = f.b.imag() - f.a.imag();
        const double m21 = f.a.imag() + f.b.imag(), m22 = f.a.real() - f.b.real();
        const auto image = [&](Complex x) {
            return Complex(m11 * x.real() + m12 * x.imag(), m21 * x.real() + m22 * x.imag());
        };
        const double per_period = 1 / line.period;
        for (std::size_t i = 0; i < y.size(); ++i) {
            const Complex z = -image(slopes[i]);
            const Complex modulated = image(s[i]);
            const Complex turn(-modulated.imag(), modulated.real());
            const Complex r = y[i] - modulated - f.d;
            const double t = (seconds[i] * in_.sample_rate_hz - middle) * per_period;
            const std::array<double, 3> weight = {1, t, t * t};
            const double products[5] = {magnitude_squared(z), real_conj_product(z, turn), magnitude_squared(turn),
                                        real_conj_product(z, r), real_conj_product(turn, r)};
            for (std::size_t w = 0; w < 3; ++w) {
                zz[w] += weight[w] * products[0];
                zturn[w] += weight[w] * products[1];
                turns[w] += weight[w] * products[2];
            }
            for (std::size_t w = 0; w < 2; ++w) {
                zr[w] += weight[w] * products[3];
                turnr[w] += weight[w] * products[4];
            }
        }
        const Normal m = {{{zz[0], zz[1], zturn[0], zturn[1], zr[0]},
                           {zz[1], zz[2], zturn[1], zturn[2], zr[1]},
                           {zturn[0], zturn[1], turns[0], turns[1], turnr[0]},
                           {zturn[1], zturn[2], turns[1], turns[2], turnr[1]}}};
        const auto solution = solve_real(m);
        if (!solution) return line;
        const double shift = (*solution)[0];
        const double drift = (*solution)[1];
        if (!(std::abs(shift) < 0.5 && std::abs(drift) < 1e-3)) return line;
        // Chip j sits at middle + (j - j_middle) period; its shift is shift + drift (j - j_middle).
        const double j_middle = (middle - line.first) / line.period;
        return {line.first + line.period * (shift - drift * j_middle), line.period * (1 + drift)};
    }

private:
    const AccuracyInput& in_;
    Tables tables_;
    const PulseTable& pulse_;
};

// The straight line through the tracked instants.
ChipLine tracked_line(std::span<const double> positions, Span span) {
    const StraightLine line = fitted_line_by_index(positions, span.from, span.to);
    return {line.intercept, line.slope};
}

double db10(double ratio) { return 10 * std::log10(ratio); }

}  // namespace

std::optional<ModulationAccuracy> measure_modulation_accuracy(const AccuracyInput& input,
                                                              const std::optional<ReferenceFilter>& filter,
                                                              FilterSource source) {
    const std::vector<ReferenceFilter> candidates = filter ? std::vector{*filter} : candidate_filters();
    const std::size_t size = input.ideal.size();
    std::vector<Measurer> measurers;
    std::size_t reach = 0;
    for (const ReferenceFilter& c : candidates) {
        measurers.emplace_back(input, c);
        reach = std::max(reach, reference_reach_chips(measurers.back().pulse(), input.samples_per_chip));
    }
    if (input.evm_from < input.fit_from || size < input.evm_from + reach + 2) return std::nullopt;
    const Span whole{input.fit_from, size - reach};
    const Span start{whole.from, std::min(whole.to, whole.from + kTimingSearchChips)};
    const ChipLine tracked = tracked_line(input.positions, whole);

    // Without a named filter, the candidate that fits the start of the frame best.
    std::size_t chosen = 0;
    if (candidates.size() > 1) {
        const Span glance{start.from, std::min(start.to, start.from + kFilterChoiceChips)};
        double least = 0;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            const double error = measurers[i].search(tracked, glance).second;
            if (i == 0 || error < least) {
                chosen = i;
                least = error;
            }
        }
    }
    const Measurer& measurer = measurers[chosen];
    ChipLine line = measurer.search(tracked, start).first;
    if (measurer.pulse().smooth()) {
        for (int i = 0; i < kTimingIterations; ++i) line = measurer.refine(line, whole);
    }

    ModulationAccuracy out;
    out.filter = candidates[chosen];
    out.filter_source = filter ? source : FilterSource::Fitted;
    out.chip_period = line.period;
    const Span measured{input.evm_from, whole.to};
    ReferenceChips ref;
    const Fit f = measurer.fit(line, measured, &ref);
    const double scale = std::abs(f.a) * std::sqrt(ref.sample_power);
    Samples errors(measured.to - measured.from, Complex(1));
    if (scale > 0) {
        const double per_scale = 1 / scale;
        const ModelResidual model(f.a, f.b, f.d);
        for (std::size_t k = measured.from; k < measured.to; ++k) {
            const Lanes e = model.at(lanes(input.received[k]), ref.chips[k - measured.from]) * per_scale;
            errors[k - measured.from] = {e[0], e[1]};
        }
    }
    out.evm = evm_of_errors(errors);
    if (input.keep_chips) {
        out.chips = chip_errors_of_errors(input.ideal.subspan(measured.from, measured.to - measured.from), errors);
    }
    out.mer_db = -to_db(out.evm.overall.rms);
    const double signal_power = (magnitude_squared(f.a) + magnitude_squared(f.b)) * ref.sample_power;
    out.leakage_dbc = db10(magnitude_squared(f.d) / signal_power);
    // The modulator's I and Q axes lie at 45 degrees to the preamble's symbols
    // (QPSK points on the diagonals), so s = r exp(-j pi / 4) for r on those
    // axes. With Q scaled by G exp(j psi) against I, y = mu r + nu conj(r) with
    // mu = (1 + G exp(j psi)) / 2 and nu = (1 - G exp(j psi)) / 2, up to a
    // common factor: mu ~ A and nu ~ j B.
    if (image_measurable(ref.chips)) {
        const Complex image = Complex(0, 1) * f.b;
        const Complex image_ratio = (f.a - image) / (f.a + image);
        // Reported as I against Q, the sense of the generator's IQ gain.
        out.iq_gain_db = -to_db(std::abs(image_ratio));
        out.quadrature_deg = std::arg(image_ratio) * 180 / std::numbers::pi;
    }
    return out;
}

}  // namespace dot11b::analyzer
