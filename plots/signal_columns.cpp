#include "plots/signal_columns.hpp"

#include <algorithm>
#include <cmath>

namespace dot11b::plots {

SignalColumns iq_columns(SampleSpan x) {
    SignalColumns columns(2);
    columns[0].reserve(x.size());
    columns[1].reserve(x.size());
    for (const Complex v : x) {
        columns[0].push_back(v.real());
        columns[1].push_back(v.imag());
    }
    return columns;
}

double largest_magnitude(const SignalColumns& columns) {
    double largest = 0;
    for (const auto& column : columns) {
        for (const double v : column) largest = std::max(largest, std::abs(v));
    }
    return largest;
}

}  // namespace dot11b::plots
