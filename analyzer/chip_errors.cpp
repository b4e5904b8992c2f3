#include "analyzer/chip_errors.hpp"

#include <algorithm>

namespace dot11b::analyzer {

ChipErrors chip_errors(SampleSpan received, SampleSpan ideal) {
    const std::size_t n = std::min(received.size(), ideal.size());
    ChipErrors out;
    out.ideal.assign(ideal.begin(), ideal.begin() + static_cast<std::ptrdiff_t>(n));
    if (n == 0) return out;

    // Least squares r = g c + d, as the EVM figure fits it: with the means
    // removed, g is the correlation over the ideal chips' energy.
    Complex mean_r = 0, mean_c = 0;
    for (std::size_t k = 0; k < n; ++k) {
        mean_r += received[k];
        mean_c += ideal[k];
    }
    mean_r /= static_cast<double>(n);
    mean_c /= static_cast<double>(n);
    Complex correlation = 0;
    double energy = 0;
    for (std::size_t k = 0; k < n; ++k) {
        correlation += (received[k] - mean_r) * std::conj(ideal[k] - mean_c);
        energy += std::norm(ideal[k] - mean_c);
    }
    if (energy == 0 || std::abs(correlation) == 0) {
        out.received.assign(n, Complex(0));
        out.error.assign(n, 1.0);
        return out;
    }
    const Complex gain = correlation / energy;
    const Complex offset = mean_r - gain * mean_c;
    out.received.resize(n);
    out.error.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        out.received[k] = (received[k] - offset) / gain;
        out.error[k] = std::abs(out.received[k] - ideal[k]);
    }
    return out;
}

ChipErrors chip_errors_of_errors(SampleSpan ideal, SampleSpan errors) {
    const std::size_t n = std::min(ideal.size(), errors.size());
    ChipErrors out;
    out.ideal.assign(ideal.begin(), ideal.begin() + static_cast<std::ptrdiff_t>(n));
    out.received.resize(n);
    out.error.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        out.received[k] = ideal[k] + errors[k];
        out.error[k] = std::abs(errors[k]);
    }
    return out;
}

}  // namespace dot11b::analyzer
