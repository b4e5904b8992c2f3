#include "analyzer/modulation_accuracy.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "analyzer/reference_signal.hpp"

namespace dot11b::analyzer {
namespace {

constexpr std::size_t kTimingSearchChips = 1024;
// The candidate filters are told apart on fewer chips: the wrong ones miss by
// far more than the timing grid does.
constexpr std::size_t kFilterChoiceChips = 256;
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
        square += x * x;
        power += std::norm(x);
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

Fit fit_reference(SampleSpan y, SampleSpan s) {
    const bool image = image_measurable(s);
    std::array<std::array<Complex, 4>, 3> normal{};
    for (std::size_t k = 0; k < y.size(); ++k) {
        const std::array<Complex, 3> x = {s[k], image ? std::conj(s[k]) : Complex(0), Complex(1)};
        for (std::size_t i = 0; i < 3; ++i) {
            for (std::size_t j = 0; j < 3; ++j) normal[i][j] += std::conj(x[i]) * x[j];
            normal[i][3] += std::conj(x[i]) * y[k];
        }
    }
    if (!image) normal[1][1] = 1;
    const auto [a, b, d] = solve3(normal);
    Fit fit{a, b, d, 1};
    double sum = 0, received = 0;
    for (std::size_t k = 0; k < y.size(); ++k) {
        sum += std::norm(y[k] - a * s[k] - b * std::conj(s[k]) - d);
        received += std::norm(y[k]);
    }
    if (received > 0) fit.residual = sum / received;
    return fit;
}

struct Span {
    std::size_t from, to;
};

class Measurer {
public:
    Measurer(const AccuracyInput& input, const ReferenceFilter& filter)
        : in_(input),
          pulse_(filter, kEdgeGuardSamples / input.samples_per_chip),
          slope_(pulse_.slope(kDerivativeStepChips)) {}

    const PulseTable& pulse() const { return pulse_; }

    Fit fit(const ChipLine& line, Span span, ReferenceChips* keep = nullptr) const {
        ReferenceChips ref = reference_chips(pulse_, in_.ideal, line, in_.positions, span.from, span.to);
        const std::size_t n = span.to - span.from;
        const Fit fit = fit_reference(in_.received.subspan(span.from, n), ref.chips);
        if (keep) *keep = std::move(ref);
        return fit;
    }

    // The best constant timing shift of the line on a grid, refined by a
    // parabola for a smooth pulse; for rectangular chips the middle of the
    // shifts that fit equally well.
    std::pair<ChipLine, double> search(ChipLine line, Span span) const {
        std::array<double, 2 * kSearchSteps + 1> errors{};
        for (int i = -kSearchSteps; i <= kSearchSteps; ++i) {
            const ChipLine shifted{line.first + i * kSearchStepChips * line.period, line.period};
            errors[static_cast<std::size_t>(i + kSearchSteps)] = fit(shifted, span).residual;
        }
        const auto best = static_cast<std::size_t>(std::min_element(errors.begin(), errors.end()) - errors.begin());
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
    // otherwise leak into the timing. It runs over every sample, not only the
    // chip instants: the transitions between chips carry most of the timing.
    ChipLine refine(const ChipLine& line, Span span) const {
        const double begin = std::ceil(in_.positions[span.from]);
        const double end = std::floor(in_.positions[span.to - 1]) + 1;
        if (!(end - begin > kUnknowns) || end > static_cast<double>(in_.samples.size())) return line;
        const Samples s = reference_samples(pulse_, in_.ideal, line, begin, end);
        // A later chip line reads each pulse earlier: the change per chip of delay is minus the slope.
        const Samples slopes = reference_samples(slope_, in_.ideal, line, begin, end);
        Samples y(s.size());
        std::vector<double> seconds(s.size());
        for (std::size_t i = 0; i < y.size(); ++i) {
            y[i] = in_.samples[static_cast<std::size_t>(begin) + i];
            seconds[i] = (begin + static_cast<double>(i)) / in_.sample_rate_hz;
        }
        remove_phase_line(y, seconds, in_.carrier);
        const Fit f = fit_reference(y, s);
        // Normal equations of [shift, drift per chip, phase, phase per chip],
        // with time in chips from the middle.
        const double middle = 0.5 * (begin + end - 1);
        Normal m{};
        for (std::size_t i = 0; i < y.size(); ++i) {
            const Complex slope = -slopes[i];
            const Complex z = f.a * slope + f.b * std::conj(slope);
            const Complex turn = Complex(0, 1) * (f.a * s[i] + f.b * std::conj(s[i]));
            const Complex r = y[i] - f.a * s[i] - f.b * std::conj(s[i]) - f.d;
            const double t = (begin + static_cast<double>(i) - middle) / line.period;
            const std::array<Complex, kUnknowns> x = {z, z * t, turn, turn * t};
            for (std::size_t a = 0; a < kUnknowns; ++a) {
                for (std::size_t b = a; b < kUnknowns; ++b) m[a][b] += std::real(std::conj(x[a]) * x[b]);
                m[a][kUnknowns] += std::real(std::conj(x[a]) * r);
            }
        }
        for (std::size_t a = 0; a < kUnknowns; ++a) {
            for (std::size_t b = 0; b < a; ++b) m[a][b] = m[b][a];
        }
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
    PulseTable pulse_;
    PulseTable slope_;
};

// The straight line through the tracked instants.
ChipLine tracked_line(std::span<const double> positions, Span span) {
    const double n = static_cast<double>(span.to - span.from);
    const double mean_index = 0.5 * static_cast<double>(span.from + span.to - 1);
    double mean = 0;
    for (std::size_t k = span.from; k < span.to; ++k) mean += positions[k];
    mean /= n;
    double covariance = 0, variance = 0;
    for (std::size_t k = span.from; k < span.to; ++k) {
        const double di = static_cast<double>(k) - mean_index;
        covariance += di * (positions[k] - mean);
        variance += di * di;
    }
    const double period = covariance / variance;
    return {mean - period * mean_index, period};
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
    Samples errors(measured.to - measured.from);
    for (std::size_t k = measured.from; k < measured.to; ++k) {
        const Complex s = ref.chips[k - measured.from];
        const Complex e = input.received[k] - f.a * s - f.b * std::conj(s) - f.d;
        errors[k - measured.from] = scale > 0 ? e / scale : Complex(1);
    }
    out.evm = evm_of_errors(errors);
    out.chips = chip_errors_of_errors(input.ideal.subspan(measured.from, measured.to - measured.from), errors);
    out.mer_db = -to_db(out.evm.overall.rms);
    const double signal_power = (std::norm(f.a) + std::norm(f.b)) * ref.sample_power;
    out.leakage_dbc = db10(std::norm(f.d) / signal_power);
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
