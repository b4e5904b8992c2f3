#include "shaping/pulse_filters.hpp"

#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>
#include <string>

#include "common/errors.hpp"
#include "common/number_text.hpp"

namespace dot11b::shaping {
namespace {

using std::numbers::pi;

// Where 1 - (4 alpha t)^2 is this close to zero, numerator and denominator of the
// root cosine both vanish and rounding leaves only noise (an exact singular point
// such as alpha 0.14 at t = 12.5/7 computes to -4.4e-16, not 0). The limit value
// is then the accurate one; sqrt(eps) balances its error against the formula's.
const double kSingularTolerance = std::sqrt(std::numeric_limits<double>::epsilon());

// The names under which a design reports its inputs.
struct DesignNames {
    const char* operation;
    const char* taps;
    const char* factor;
    const char* oversampling;
};

constexpr DesignNames kRootCosineNames{"filter_RootCosine", "num_taps", "alpha", "samp_per_symb"};
constexpr DesignNames kGaussianNames{"filter_gaussian", "numCoeff", "bT", "oversamplingRate"};

void check_design(const DesignNames& names, double filter_taps, double factor, double oversampling) {
    const std::string prefix = std::string(names.operation) + ": ";
    if (!(filter_taps >= 1 && filter_taps <= kMaxFilterTaps)) {
        throw ConfigError(prefix + names.taps + " must be between 1 and " + number_text(kMaxFilterTaps) +
                          ", got " + number_text(filter_taps));
    }
    if (!(factor > 0) || !std::isfinite(factor)) {
        throw ConfigError(prefix + names.factor + " must be a finite number above 0, got " + number_text(factor));
    }
    if (!(oversampling > 0) || !std::isfinite(oversampling)) {
        throw ConfigError(prefix + names.oversampling + " must be a finite number above 0, got " +
                          number_text(oversampling));
    }
}

// Tap offsets in samples: -(n - 1) / 2, then steps of 1 while not beyond (n - 1) / 2.
std::vector<double> symmetric_grid(double filter_taps) {
    const double first = -(filter_taps - 1) / 2;
    std::vector<double> offsets(static_cast<std::size_t>(std::floor(filter_taps - 1)) + 1);
    for (std::size_t k = 0; k < offsets.size(); ++k) offsets[k] = first + static_cast<double>(k);
    return offsets;
}

}  // namespace

std::vector<double> root_cosine_taps(double filter_taps, double factor, double oversampling) {
    check_design(kRootCosineNames, filter_taps, factor, oversampling);
    const double alpha = factor;
    const double scale = 4 * alpha / (pi * std::sqrt(oversampling));
    std::vector<double> taps = symmetric_grid(filter_taps);
    for (double& tap : taps) {
        const double t = tap / oversampling;
        const double denominator = 1 - (4 * alpha * t) * (4 * alpha * t);
        if (t == 0) {
            tap = scale * (1 + pi / 4 * (1 / alpha - 1));
        } else if (std::abs(denominator) <= kSingularTolerance) {
            const double phase = pi * std::abs(t) + pi / 4;
            tap = scale * (pi / 4 * std::sin(phase) - 0.5 * std::cos(phase));
        } else {
            tap = scale * (std::cos(pi * t * (1 + alpha)) + std::sin(pi * t * (1 - alpha)) / (4 * alpha) / t) /
                  denominator;
        }
    }
    const double sum = std::accumulate(taps.begin(), taps.end(), 0.0);
    for (double& tap : taps) tap /= sum;
    return taps;
}

std::vector<double> gaussian_taps(double filter_taps, double factor, double oversampling) {
    check_design(kGaussianNames, filter_taps, factor, oversampling);
    constexpr double kSymbol = 1;
    const double delta_t = 1 / oversampling;
    const double sigma = std::sqrt(std::log(2.0)) / (2 * pi * factor);
    const double k = std::sqrt(2.0) / (4 * sigma * kSymbol);
    std::vector<double> taps = symmetric_grid(filter_taps);
    for (double& tap : taps) {
        const double time = tap * delta_t;
        tap = std::erf(k * (kSymbol - 2 * time)) + std::erf(k * (kSymbol + 2 * time));
    }
    return taps;
}

}  // namespace dot11b::shaping
