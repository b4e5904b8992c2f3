// Registry adapters of the filter designs, oversampling and circular filtering.

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/is_integer.hpp"
#include "frame/adapters.hpp"
#include "frame/convert.hpp"
#include "shaping/circular_filter.hpp"
#include "shaping/frequency_fir.hpp"
#include "shaping/oversampling.hpp"
#include "shaping/pulse_filters.hpp"

namespace dot11b::ops {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

bool all_real(SampleSpan samples) {
    for (const Complex s : samples) {
        if (s.imag() != 0) return false;
    }
    return true;
}

// A real input gives a real output, as the array arithmetic would.
Value samples_like(const Value& input, const Samples& samples, std::size_t rows, std::size_t cols) {
    if (input.kind() == Value::Kind::Double && all_real(samples)) {
        std::vector<double> reals;
        reals.reserve(samples.size());
        for (const Complex s : samples) reals.push_back(s.real());
        return Value::matrix(rows, cols, std::move(reals));
    }
    return Value::complex_matrix(rows, cols, samples);
}

int whole_factor(const Inputs& in, std::size_t index, std::string_view name) {
    const double n = frame::to_scalar(in, index, name);
    if (!(n >= 1 && std::floor(n) == n && n < 1e9)) {
        throw ConfigError(std::string(in.operation()) + ": input " + std::string(name) +
                          " must be a positive integer, got " + std::to_string(n));
    }
    return static_cast<int>(n);
}

}  // namespace

Outputs filter_RootCosine(const Inputs& in, int) {
    return {frame::reals_value(shaping::root_cosine_taps(
        frame::to_scalar(in, 0, "num_taps"), frame::to_scalar(in, 1, "alpha"), frame::to_scalar(in, 2, "samp_per_symb")))};
}

Outputs filter_gaussian(const Inputs& in, int) {
    return {frame::reals_value(shaping::gaussian_taps(frame::to_scalar(in, 0, "numCoeff"), frame::to_scalar(in, 1, "bT"),
                                                      frame::to_scalar(in, 2, "oversamplingRate")))};
}

// The length of a matrix is its longer side, as the fits compare F and H.
std::size_t length(const Value& value) { return value.empty() ? 0 : std::max(value.rows(), value.cols()); }

void check_lengths(const Inputs& in) {
    if (length(in.at(1, "F")) != length(in.at(2, "H"))) throw ConfigError("F must be the same size as H");
}

Outputs freq2fir(const Inputs& in, int) {
    if (in.count() != 4) throw ConfigError("You must have 4 inputs.");
    check_lengths(in);
    if (!in.at(1, "F").is_vector()) throw ConfigError("F must be either a 1xN or a Nx1 matrix.");
    if (!in.at(2, "H").is_vector()) throw ConfigError("H must be either a 1xN or a Nx1 matrix.");
    const double n = frame::to_scalar(in, 0, "N");
    if (n <= 1) throw ConfigError("N must be greater than 1.");
    if (!is_integer(n)) throw ConfigError("N must be an odd integer");
    // One column of the fit per tap: a count beyond int is far beyond any memory.
    if (n > std::numeric_limits<int>::max()) {
        throw ConfigError("freq2fir: N must be at most " + std::to_string(std::numeric_limits<int>::max()));
    }
    return {frame::samples_value(shaping::freq2fir(static_cast<int>(n), frame::to_reals(in, 1, "F"),
                                                   frame::to_samples(in, 2, "H"), frame::to_scalar(in, 3, "SR")))};
}

Outputs createRealFIR(const Inputs& in, int) {
    if (in.count() != 4) throw ConfigError("You must have 4 inputs to createRealFIR.");
    check_lengths(in);
    if (!in.at(1, "F").is_vector() || !in.at(2, "H").is_vector()) {
        throw ConfigError("F and H must be either a 1xN or a Nx1 matrix.");
    }
    return {frame::samples_value(shaping::create_real_fir(frame::to_scalar(in, 0, "n"), frame::to_reals(in, 1, "F"),
                                                          frame::to_samples(in, 2, "H"), frame::to_scalar(in, 3, "SR")))};
}

Outputs upsample(const Inputs& in, int) {
    const Value& x = in.at(0, "x");
    const int factor = whole_factor(in, 1, "n");
    const Samples y = shaping::upsample(frame::to_samples(in, 0, "x"), factor);
    // A row stays a row; a column or a scalar gives a column.
    const bool row = x.rows() == 1 && x.cols() != 1;
    return {samples_like(x, y, row ? 1 : y.size(), row ? y.size() : 1)};
}

Outputs extendvector(const Inputs& in, int) {
    const Value& data = in.at(0, "data");
    const std::size_t length = frame::to_count(in, 1, "reqLength");
    const Samples y = shaping::extendvector(frame::to_samples(in, 0, "data"), length);
    return {samples_like(data, y, 1, y.size())};
}

Outputs circfilt(const Inputs& in, int) {
    const Value& x = in.at(0, "x");
    const Value& h = in.at(1, "h");
    const Samples y = shaping::circfilt(frame::to_samples(in, 0, "x"), frame::to_samples(in, 1, "h"));
    return {samples_like(h.kind() == Value::Kind::Complex ? h : x, y, 1, y.size())};
}

}  // namespace dot11b::ops
