#include "analyzer/chip_errors.hpp"

#include <algorithm>
#include <cmath>

#include "analyzer/complex_product.hpp"
#include "analyzer/evm.hpp"

namespace dot11b::analyzer {

ChipErrors chip_errors(SampleSpan received, SampleSpan ideal) {
    const std::size_t n = std::min(received.size(), ideal.size());
    const std::optional<Samples> errors = fitted_errors(received, ideal);
    if (errors) return chip_errors_of_errors(ideal, *errors);
    ChipErrors out;
    out.ideal.assign(ideal.begin(), ideal.begin() + static_cast<std::ptrdiff_t>(n));
    out.received.assign(n, Complex(0));
    out.error.assign(n, 1.0);
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
        out.error[k] = std::sqrt(magnitude_squared(errors[k]));
    }
    return out;
}

}  // namespace dot11b::analyzer
