#pragma once
// The median of a burst's chip powers: thousands of values, taken once per
// burst, where a full selection over all of them costs as much as a fit.

#include <vector>

namespace dot11b::analyzer {

// The value at index size / 2 of `values` in ascending order (the upper of
// the two middle ones for an even count); 0 for none. The values must not be NaN.
double median(std::vector<double> values);

}  // namespace dot11b::analyzer
