#pragma once
// The analysis' chip by chip views of one burst: the constellation of the
// received chips after correction against the ideal points, and the error
// vector magnitude of each chip against its index.

#include <vector>

#include "analyzer/analysis.hpp"
#include "analyzer/chip_errors.hpp"
#include "plots/axis_range.hpp"

namespace dot11b::plots {

struct Constellation {
    std::vector<double> in_phase;  // the received chips, ideal magnitude 1
    std::vector<double> quadrature;
    std::vector<double> ideal_in_phase;  // each ideal point once
    std::vector<double> ideal_quadrature;
    AxisRange limits;  // the same for both axes, the ideal points with room around them
};

struct ChipEvm {
    std::vector<double> chip;  // index from the first chip of the measured span
    std::vector<double> percent;
    double limit_percent = 0;  // the peak EVM allowed
    AxisRange x;
    AxisRange y;  // from 0, the limit and the highest error in sight
};

// The chips of the first burst of the analysis, as the spectrum is the first
// burst's; none when it did not decode.
analyzer::ChipErrors first_burst_chips(const analyzer::Analysis& analysis);

// Empty views (with their axes) when `chips` holds none.
Constellation constellation(const analyzer::ChipErrors& chips);
ChipEvm chip_evm(const analyzer::ChipErrors& chips);

}  // namespace dot11b::plots
