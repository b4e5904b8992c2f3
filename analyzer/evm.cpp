#include "analyzer/evm.hpp"

#include <algorithm>
#include <cmath>

#include "analyzer/complex_product.hpp"
#include "analyzer/constants.hpp"

namespace dot11b::analyzer {

bool EvmResult::passed() const { return chips > 0 && overall.peak <= kEvmPeakLimit; }

double to_db(double ratio) { return 20 * std::log10(ratio); }

std::optional<Samples> fitted_errors(SampleSpan received, SampleSpan ideal) {
    const std::size_t n = std::min(received.size(), ideal.size());
    // Least squares r = g c + d: with the means removed, g is the correlation
    // over the ideal chips' energy.
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
        energy += magnitude_squared(ideal[k] - mean_c);
    }
    if (n == 0 || energy == 0 || std::abs(correlation) == 0) return std::nullopt;
    const Complex gain = correlation / energy;
    const Complex offset = mean_r - gain * mean_c;
    const Complex inverse_gain = 1.0 / gain;
    Samples errors(n);
    for (std::size_t k = 0; k < n; ++k) errors[k] = (received[k] - offset) * inverse_gain - ideal[k];
    return errors;
}

EvmResult measure_evm(SampleSpan received, SampleSpan ideal) {
    EvmResult result;
    result.chips = std::min(received.size(), ideal.size());
    if (result.chips == 0) return result;
    const std::optional<Samples> errors = fitted_errors(received, ideal);
    if (!errors) {
        result.overall = {1, 1};
        result.blocks.push_back(result.overall);
        return result;
    }
    return evm_of_errors(*errors);
}

EvmResult evm_of_errors(SampleSpan errors) {
    EvmResult result;
    const std::size_t n = errors.size();
    result.chips = n;
    double total = 0;
    for (std::size_t first = 0; first < n; first += kEvmBlockChips) {
        const std::size_t last = std::min(n, first + kEvmBlockChips);
        double sum = 0, peak = 0;
        for (std::size_t k = first; k < last; ++k) {
            const double error = magnitude_squared(errors[k]);
            sum += error;
            peak = std::max(peak, error);
        }
        total += sum;
        result.blocks.push_back({std::sqrt(sum / static_cast<double>(last - first)), std::sqrt(peak)});
        result.overall.peak = std::max(result.overall.peak, std::sqrt(peak));
    }
    if (n > 0) result.overall.rms = std::sqrt(total / static_cast<double>(n));
    return result;
}

}  // namespace dot11b::analyzer
