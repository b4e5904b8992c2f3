#include "shaping/frequency_fir.hpp"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/number_text.hpp"

namespace dot11b::shaping {
namespace {

constexpr std::size_t kFitPoints = 5000;

void check_points(const char* operation, std::span<const double> frequencies, SampleSpan response) {
    const std::string prefix = std::string(operation) + ": ";
    if (frequencies.empty()) throw ConfigError(prefix + "F and H must hold at least one point, got none");
    for (std::size_t i = 0; i < frequencies.size(); ++i) {
        if (!std::isfinite(frequencies[i]) || !std::isfinite(response[i].real()) ||
            !std::isfinite(response[i].imag())) {
            throw ConfigError(prefix + "F and H must be finite, got F = " + number_text(frequencies[i]) +
                              " and H = " + number_text(response[i].real()) + " + " +
                              number_text(response[i].imag()) + "i at point " + std::to_string(i + 1));
        }
    }
}

// Piecewise-linear interpolation of `values` given at the distinct abscissae `at`
// (any order), evaluated at the ascending points `query`, all within the range of `at`.
template <typename T>
std::vector<T> interpolate(const std::vector<double>& at, const std::vector<T>& values,
                           const std::vector<double>& query) {
    std::vector<std::size_t> order(at.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&at](std::size_t a, std::size_t b) { return at[a] < at[b]; });

    std::vector<T> result(query.size());
    std::size_t segment = 0;
    for (std::size_t q = 0; q < query.size(); ++q) {
        while (segment + 2 < order.size() && at[order[segment + 1]] < query[q]) ++segment;
        const std::size_t lo = order[segment];
        const std::size_t hi = order[segment + 1];
        const double s = (query[q] - at[lo]) / (at[hi] - at[lo]);
        result[q] = values[lo] + s * (values[hi] - values[lo]);
    }
    return result;
}

// The points of a response with the band centred on 0 Hz and, where it reaches
// beyond +-sample_rate/2, cut to the run from the first to the last point within.
struct Band {
    std::vector<double> frequencies;
    Samples response;
    double centre;
};

Band centred_band(std::span<const double> frequencies, SampleSpan response, double sample_rate) {
    const auto [low, high] = std::minmax_element(frequencies.begin(), frequencies.end());
    const double centre = (*low + *high) / 2;
    std::vector<double> f(frequencies.size());
    for (std::size_t i = 0; i < f.size(); ++i) f[i] = frequencies[i] - centre;

    std::size_t first = 0;
    std::size_t past_last = f.size();
    const double nyquist = sample_rate / 2;
    if (std::max(std::abs(*high - centre), std::abs(*low - centre)) > nyquist) {
        const auto in_band = [nyquist](double x) { return std::abs(x) <= nyquist; };
        const auto first_in = std::find_if(f.begin(), f.end(), in_band);
        if (first_in == f.end()) {
            throw ConfigError("createRealFIR: F must have a point within +-SR/2 = +-" + number_text(nyquist) +
                              " Hz of the band centre, got none");
        }
        first = static_cast<std::size_t>(first_in - f.begin());
        past_last = static_cast<std::size_t>(f.rend() - std::find_if(f.rbegin(), f.rend(), in_band));
    }
    const auto from = static_cast<std::ptrdiff_t>(first);
    const auto to = static_cast<std::ptrdiff_t>(past_last);
    return {std::vector<double>(f.begin() + from, f.begin() + to),
            Samples(response.begin() + from, response.begin() + to), centre};
}

}  // namespace

Samples freq2fir(int taps, std::span<const double> frequencies, SampleSpan response, double sample_rate) {
    if (frequencies.size() != response.size()) throw ConfigError("F must be the same size as H");
    if (taps <= 1) throw ConfigError("N must be greater than 1.");
    if (taps % 2 == 0) throw ConfigError("N must be an odd integer");
    check_points("freq2fir", frequencies, response);
    if (!(sample_rate > 2 * *std::max_element(frequencies.begin(), frequencies.end()))) {
        throw ConfigError("SR must be greater than 2*max{F}.");
    }
    if (!std::isfinite(sample_rate)) {
        throw ConfigError("freq2fir: SR must be a finite number, got " + number_text(sample_rate));
    }

    const auto rows = static_cast<Eigen::Index>(frequencies.size());
    const Eigen::Index columns = taps;
    const double first_position = -(taps - 1) / 2.0;
    Eigen::MatrixXcd system(rows, columns);
    Eigen::VectorXcd target(rows);
    for (Eigen::Index m = 0; m < rows; ++m) {
        const double f = frequencies[static_cast<std::size_t>(m)];
        for (Eigen::Index i = 0; i < columns; ++i) {
            const double position = first_position + static_cast<double>(i);
            system(m, i) = std::polar(1.0, -2 * std::numbers::pi * f * position / sample_rate);
        }
        target(m) = std::conj(response[static_cast<std::size_t>(m)]);
    }
    // QR with column pivoting solves the least-squares problem without squaring the
    // condition number, which a narrow band and many taps make large.
    const Eigen::VectorXcd solution = system.colPivHouseholderQr().solve(target);
    return Samples(solution.data(), solution.data() + solution.size());
}

Samples create_real_fir(double order, std::span<const double> frequencies, SampleSpan response,
                        double sample_rate) {
    if (frequencies.size() != response.size()) throw ConfigError("F must be the same size as H");
    if (!(sample_rate > 0)) throw ConfigError("SR > 0 The sample rate must be greater than zero.");
    if (!std::isfinite(order) || order > kMaxRealFirOrder) {
        throw ConfigError("createRealFIR: n must be a finite number up to " + number_text(kMaxRealFirOrder) +
                          ", got " + number_text(order));
    }
    // At least 3 taps, an even order rounded up to the next odd count.
    const int taps = 2 * static_cast<int>(std::floor(std::max(3.0, order) / 2)) + 1;
    if (!std::isfinite(sample_rate)) {
        throw ConfigError("createRealFIR: SR must be a finite number above 0, got " + number_text(sample_rate));
    }
    check_points("createRealFIR", frequencies, response);

    const Band band = centred_band(frequencies, response, sample_rate);
    const std::vector<double>& f = band.frequencies;

    // Map the band onto 0 ... 1.
    const double f_min = *std::min_element(f.begin(), f.end());
    std::vector<double> position(f.size());
    for (std::size_t i = 0; i < f.size(); ++i) position[i] = f[i] - f_min;
    const double span = *std::max_element(position.begin(), position.end());
    if (span == 0) {
        throw ConfigError("createRealFIR: F must hold at least two different frequencies within +-SR/2, got " +
                          number_text(f.front() + band.centre) + " Hz only");
    }
    for (double& p : position) p /= span;
    std::vector<double> sorted = position;
    std::sort(sorted.begin(), sorted.end());
    if (const auto twice = std::adjacent_find(sorted.begin(), sorted.end()); twice != sorted.end()) {
        throw ConfigError("createRealFIR: the frequencies of F must be distinct, got " +
                          number_text(*twice * span + f_min + band.centre) + " Hz twice");
    }

    // Resample onto evenly spaced points of the band and invert.
    std::vector<double> grid(kFitPoints);
    for (std::size_t k = 0; k < kFitPoints; ++k) grid[k] = static_cast<double>(k) / (kFitPoints - 1);
    Samples inverse = interpolate(position, band.response, grid);
    for (std::size_t k = 0; k < kFitPoints; ++k) {
        if (inverse[k] == Complex(0)) {
            throw ConfigError("createRealFIR: H must not be zero within the band, got 0 at " +
                              number_text(grid[k] * span + f_min + band.centre) + " Hz");
        }
        inverse[k] = 1.0 / inverse[k];
    }
    const std::vector<double> fit_frequencies = interpolate(position, f, grid);
    return freq2fir(taps, fit_frequencies, inverse, sample_rate);
}

}  // namespace dot11b::shaping
