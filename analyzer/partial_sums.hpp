#pragma once
// Long sums in four parts, each over every fourth term: the additions of a
// term then do not wait on those of the one before, which sets the pace of a
// single running sum. The parts are added at the end, so the last bits differ
// from those of the running sum.

#include <array>
#include <cstddef>

namespace dot11b::analyzer {

// term(0) + term(1) + ... + term(n - 1).
template <typename Term>
double sum_of(std::size_t n, Term term) {
    std::array<double, 4> parts{};
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4) {
        for (std::size_t j = 0; j < 4; ++j) parts[j] += term(k + j);
    }
    for (; k < n; ++k) parts[0] += term(k);
    return (parts[0] + parts[1]) + (parts[2] + parts[3]);
}

}  // namespace dot11b::analyzer
