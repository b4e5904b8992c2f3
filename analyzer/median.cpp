#include "analyzer/median.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace dot11b::analyzer {
namespace {

// Below this many values a plain selection is as fast.
constexpr std::size_t kFewValues = 512;
constexpr std::size_t kBuckets = 2048;

double select(std::vector<double>& values, std::size_t index) {
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(index), values.end());
    return values[index];
}

}  // namespace

// A selection's partitions branch on every comparison, and on powers in no
// particular order half of those branches are mispredicted. Counting the
// values into equal buckets between the least and the largest does not
// branch; the bucket is a monotonic function of the value, so only the
// values of the bucket that holds the middle rank are then selected among.
double median(std::vector<double> values) {
    const std::size_t n = values.size();
    if (n == 0) return 0;
    const std::size_t k = n / 2;
    if (n < kFewValues) return select(values, k);
    const auto [least, largest] = std::minmax_element(values.begin(), values.end());
    const double low = *least;
    if (low == *largest) return low;
    const double range = *largest - low;
    const double scale = static_cast<double>(kBuckets) / range;
    if (!std::isfinite(range) || !std::isfinite(scale)) return select(values, k);
    const auto bucket = [&](double x) {
        return std::min(kBuckets - 1, static_cast<std::size_t>((x - low) * scale));
    };
    std::array<std::uint32_t, kBuckets> counts{};
    for (const double x : values) ++counts[bucket(x)];
    std::size_t middle = 0;
    std::size_t below = 0;
    while (below + counts[middle] <= k) below += counts[middle++];
    std::vector<double> inside;
    inside.reserve(counts[middle]);
    for (const double x : values) {
        if (bucket(x) == middle) inside.push_back(x);
    }
    return select(inside, k - below);
}

}  // namespace dot11b::analyzer
