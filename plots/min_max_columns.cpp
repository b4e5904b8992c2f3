#include "plots/min_max_columns.hpp"

#include <algorithm>
#include <cmath>

namespace dot11b::plots {

LinePoints min_max_columns(std::span<const double> keys, std::span<const double> values, AxisRange visible,
                           std::size_t columns) {
    LinePoints out;
    auto first = static_cast<std::size_t>(std::lower_bound(keys.begin(), keys.end(), visible.lower) - keys.begin());
    auto last = static_cast<std::size_t>(std::upper_bound(keys.begin(), keys.end(), visible.upper) - keys.begin());
    if (first > 0) --first;
    if (last < keys.size()) ++last;
    if (first >= last) return out;

    const std::size_t count = last - first;
    columns = std::max<std::size_t>(columns, 1);
    const double width = (visible.upper - visible.lower) / static_cast<double>(columns);
    if (count <= 2 * columns + 2 || !(width > 0)) {
        out.keys.assign(keys.begin() + static_cast<std::ptrdiff_t>(first), keys.begin() + static_cast<std::ptrdiff_t>(last));
        out.values.assign(values.begin() + static_cast<std::ptrdiff_t>(first),
                          values.begin() + static_cast<std::ptrdiff_t>(last));
        return out;
    }

    out.keys.reserve(2 * columns + 2);
    out.values.reserve(2 * columns + 2);
    // Drawn without antialiasing, a line's ends are rounded to the nearest
    // pixel, so a sample in the right half of its column would be drawn in the
    // next one. A column's extremes are placed a quarter pixel into their own
    // column; the neighbours outside the range keep their keys.
    const auto last_column = static_cast<double>(columns - 1);
    auto emit = [&](std::size_t k, double column) {
        const bool inside = column >= 0 && column <= last_column;
        out.keys.push_back(inside ? visible.lower + (column + 0.25) * width : keys[k]);
        out.values.push_back(values[k]);
    };
    // Samples at the upper edge belong to the last column; the neighbours
    // outside the range form columns of their own.
    const auto column_of = [&](double key) {
        if (key > visible.upper) return last_column + 1;
        return std::min(last_column, std::floor((key - visible.lower) / width));
    };
    std::size_t k = first;
    while (k < last) {
        const double column = column_of(keys[k]);
        std::size_t end = k + 1;
        while (end < last && column_of(keys[end]) == column) ++end;
        std::size_t low = k;
        std::size_t high = k;
        for (std::size_t j = k + 1; j < end; ++j) {
            if (values[j] < values[low]) low = j;
            if (values[j] > values[high]) high = j;
        }
        emit(std::min(low, high), column);
        if (low != high) emit(std::max(low, high), column);
        k = end;
    }
    return out;
}

}  // namespace dot11b::plots
