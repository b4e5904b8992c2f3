#include "analyzer/burst_detection.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <future>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "analyzer/power_envelope.hpp"

namespace dot11b::analyzer {
namespace {

constexpr double kMinBurstSeconds = 8e-6;
constexpr double kBridgedGapSeconds = 2e-6;
constexpr double kMarginSeconds = 1e-6;
// Below this peak-to-floor ratio (10 dB) the recording has no quiet part.
constexpr double kMinDynamicRange = 10;
constexpr double kLowestThreshold = 1e-3;  // -30 dB of the peak
// The idle level is the quietest mean over this time: short enough for the
// shortest interframe space (10 us), long enough that noise alone varies
// by less than 2 dB between such means.
constexpr double kFloorSeconds = 4e-6;
// Envelope values computed per block read.
constexpr std::size_t kBlockSamples = std::size_t{1} << 18;

// Running sums of the powers of samples [first, last) of the recording,
// one block after another in the same buffers, made as large as a block with
// its windows gets (growing them per block costs a copy and fresh pages):
// element i holds the sum of the first i of them.
class PowerSums {
public:
    PowerSums(const SampleReader& read, std::size_t largest) : read_(read) {
        block_.reserve(largest);
        sums_.reserve(largest + 1);
    }

    void load(std::size_t first, std::size_t last) {
        first_ = first;
        block_.resize(last - first);
        read_(first, block_);
        sums_.resize(block_.size() + 1);
        // Each sample's power first, then one addition to the running sum:
        // the additions, which wait on one another, are the loop's pace.
        // Not std::norm, which squares std::abs, a hypot, for floating types.
        double running = 0;
        sums_[0] = 0;
        for (std::size_t i = 0; i < block_.size(); ++i) {
            running += block_[i].real() * block_[i].real() + block_[i].imag() * block_[i].imag();
            sums_[i + 1] = running;
        }
    }
    // The sum of the powers of samples [a, b) of the recording.
    double between(std::size_t a, std::size_t b) const { return sums_[b - first_] - sums_[a - first_]; }
    // The running sum up to sample a of the recording, and those after it.
    const double* from(std::size_t a) const { return sums_.data() + (a - first_); }

private:
    const SampleReader& read_;
    std::size_t first_ = 0;
    Samples block_;
    std::vector<double> sums_;
};

// The largest of sum[k + window] - sum[k] for k < count, in four running
// maxima that do not wait on one another.
double largest_difference(const double* sum, std::size_t window, std::size_t count) {
    std::array<double, 4> most{};
    std::size_t k = 0;
    for (; k + 4 <= count; k += 4) {
        for (std::size_t j = 0; j < 4; ++j) most[j] = std::max(most[j], sum[k + j + window] - sum[k + j]);
    }
    for (; k < count; ++k) most[0] = std::max(most[0], sum[k + window] - sum[k]);
    return std::max(std::max(most[0], most[1]), std::max(most[2], most[3]));
}

// The power envelope of the recording: the mean over `window` samples
// centred on each sample, `window` shortened at the recording's ends.
class Envelope {
public:
    Envelope(std::size_t n, std::size_t window) : n_(n), window_(window) {}
    std::size_t first_of(std::size_t i) const { return window_start(i, window_); }
    std::size_t last_of(std::size_t i) const { return std::min(n_, first_of(i) + window_); }
    // Whether sample i's window is whole, away from the recording's ends.
    bool whole(std::size_t i) const { return i >= window_ / 2 && i - window_ / 2 + window_ <= n_; }
    // One past the last sample from i on whose window is whole (i's is).
    std::size_t whole_until(std::size_t end) const { return std::min(end, n_ - window_ + window_ / 2 + 1); }

    // Whether the envelope at sample i reaches `level`, given the least sum of
    // a whole window that does so.
    bool reaches(const PowerSums& sums, std::size_t i, double level, double least_sum) const {
        const std::size_t a = first_of(i);
        const std::size_t b = last_of(i);
        if (b - a == window_) return sums.between(a, b) >= least_sum;
        return sums.between(a, b) / static_cast<double>(b - a) >= level;
    }

    // The runs [begin, end) of samples in [from, to) whose envelope reaches
    // `level`, a block at a time; `from` lies on a block's start.
    std::vector<BurstExtent> reaching_runs(PowerSums& sums, double level, std::size_t from, std::size_t to) const {
        const double least_sum = least_window_sum_reaching(level, window_);
        std::vector<BurstExtent> runs;
        bool inside = false;
        for (std::size_t begin = from; begin < to; begin += kBlockSamples) {
            const std::size_t end = std::min(to, begin + kBlockSamples);
            sums.load(first_of(begin), last_of(end - 1));
            for (std::size_t i = begin; i < end;) {
                if (whole(i)) {
                    // Away from the ends: the samples that keep the state as
                    // it is, in a loop of one subtraction and comparison each.
                    const std::size_t stop = whole_until(end);
                    const double* sum = sums.from(first_of(i));
                    std::size_t k = 0;
                    while (i + k < stop && (sum[k + window_] - sum[k] >= least_sum) == inside) ++k;
                    if (inside && k > 0) runs.back().end = i + k;
                    i += k;
                    if (i == stop) continue;
                }
                const bool above = reaches(sums, i, level, least_sum);
                if (above && !inside) runs.push_back({i, i + 1});
                if (above) runs.back().end = i + 1;
                inside = above;
                ++i;
            }
        }
        return runs;
    }

    // The largest envelope value of samples [begin, end): over whole windows
    // the largest sum, divided once, which the rounding of a division by the
    // same number leaves the largest.
    double peak(const PowerSums& sums, std::size_t begin, std::size_t end) const {
        double peak = 0, largest_sum = 0;
        for (std::size_t i = begin; i < end; ++i) {
            if (whole(i)) {
                const std::size_t stop = whole_until(end);
                largest_sum = std::max(largest_sum, largest_difference(sums.from(first_of(i)), window_, stop - i));
                i = stop - 1;
                continue;
            }
            const std::size_t a = first_of(i);
            const std::size_t b = last_of(i);
            if (b - a == window_) {
                largest_sum = std::max(largest_sum, sums.between(a, b));
            } else {
                peak = std::max(peak, sums.between(a, b) / static_cast<double>(b - a));
            }
        }
        return std::max(peak, largest_sum / static_cast<double>(window_));
    }

private:
    std::size_t n_;
    std::size_t window_;
};

// What one stretch of blocks shows: its envelope's peak, its least sum over a
// floor window and its total power.
struct LevelSums {
    double peak = 0;
    double lowest = std::numeric_limits<double>::infinity();
    double total = 0;
};

// The peak of the envelope and the floor of blocks [from, to) in one reading:
// each block is read with the reach of the last floor window that starts in it.
LevelSums measure_levels(PowerSums& sums, std::size_t n, const Envelope& envelope, std::size_t floor_window,
                         std::size_t from, std::size_t to) {
    LevelSums out;
    const std::size_t stride = std::max<std::size_t>(1, floor_window / 4);
    for (std::size_t begin = from; begin < to; begin += kBlockSamples) {
        const std::size_t end = std::min(to, begin + kBlockSamples);
        sums.load(envelope.first_of(begin), std::max(envelope.last_of(end - 1), std::min(n, end - 1 + floor_window)));
        out.peak = std::max(out.peak, envelope.peak(sums, begin, end));
        for (std::size_t f = (begin + stride - 1) / stride * stride; f < end && f + floor_window <= n; f += stride) {
            out.lowest = std::min(out.lowest, sums.between(f, f + floor_window));
        }
        out.total += sums.between(begin, end);
    }
    return out;
}

// `part(sums, from, to)` over the first and the second half of the recording's
// blocks at once, each half with its own buffers on its own thread; over the
// whole when it is a block or two.
template <typename Part>
auto in_two_halves(const SampleReader& read, std::size_t n, std::size_t largest, Part&& part) {
    const std::size_t middle = n / 2 / kBlockSamples * kBlockSamples;
    PowerSums sums(read, largest);
    using Result = decltype(part(sums, 0, n));
    if (middle == 0) return std::pair<Result, std::optional<Result>>(part(sums, 0, n), std::nullopt);
    auto second = std::async(std::launch::async, [&] {
        PowerSums own(read, largest);
        return part(own, middle, n);
    });
    Result first = part(sums, 0, middle);
    return std::pair<Result, std::optional<Result>>(std::move(first), second.get());
}

// Mean power of the samples outside every burst.
double power_between(PowerSums& sums, std::size_t n, const std::vector<BurstExtent>& bursts) {
    double sum = 0;
    std::size_t count = 0;
    const auto add = [&](std::size_t first, std::size_t last) {
        for (std::size_t begin = first; begin < last; begin += kBlockSamples) {
            const std::size_t end = std::min(last, begin + kBlockSamples);
            sums.load(begin, end);
            sum += sums.between(begin, end);
        }
        count += last - first;
    };
    std::size_t from = 0;
    for (const BurstExtent& burst : bursts) {
        add(from, burst.begin);
        from = burst.end;
    }
    add(from, n);
    return count > 0 ? sum / static_cast<double>(count) : 0;
}

}  // namespace

SampleReader reader_of(SampleSpan samples) {
    return [samples](std::size_t first, std::span<Complex> out) {
        std::copy_n(samples.begin() + static_cast<std::ptrdiff_t>(first), out.size(), out.begin());
    };
}

BurstSearch find_bursts(SampleSpan samples, double sample_rate_hz) {
    return find_bursts(reader_of(samples), samples.size(), sample_rate_hz);
}

BurstSearch find_bursts(const SampleReader& read, std::size_t n, double sample_rate_hz) {
    BurstSearch search;
    if (n == 0) return search;
    const std::size_t window = envelope_window(sample_rate_hz);
    const std::size_t floor_window = samples_in(kFloorSeconds, sample_rate_hz);
    const Envelope envelope(n, window);
    const std::size_t largest = std::min(n, kBlockSamples + window + floor_window);

    const auto [head, tail] = in_two_halves(read, n, largest, [&](PowerSums& sums, std::size_t from, std::size_t to) {
        return measure_levels(sums, n, envelope, floor_window, from, to);
    });
    LevelSums level_sums = head;
    if (tail) {
        level_sums.peak = std::max(level_sums.peak, tail->peak);
        level_sums.lowest = std::min(level_sums.lowest, tail->lowest);
        level_sums.total += tail->total;
    }
    const double peak = level_sums.peak;
    const double floor = floor_window >= n ? level_sums.total / static_cast<double>(n)
                                           : level_sums.lowest / static_cast<double>(floor_window);
    search.silent = !(peak > 0);
    if (!(peak > 0) || !std::isfinite(peak)) return search;
    if (floor * kMinDynamicRange > peak) {
        search.bursts.push_back({0, n});
        return search;
    }
    search.quiet_part = true;
    const double threshold = std::max(std::sqrt(floor * peak), peak * kLowestThreshold);

    auto [runs, later_runs] = in_two_halves(read, n, largest, [&](PowerSums& sums, std::size_t from, std::size_t to) {
        return envelope.reaching_runs(sums, threshold, from, to);
    });
    // A run across the halves' seam comes as two with no gap between them,
    // which the bridging below joins.
    if (later_runs) runs.insert(runs.end(), later_runs->begin(), later_runs->end());
    const std::size_t min_length = samples_in(kMinBurstSeconds, sample_rate_hz);
    const std::size_t bridged_gap = samples_in(kBridgedGapSeconds, sample_rate_hz);
    const std::size_t margin = samples_in(kMarginSeconds, sample_rate_hz);
    std::vector<BurstExtent> bridged;
    for (const BurstExtent& run : runs) {
        if (!bridged.empty() && run.begin - bridged.back().end < bridged_gap) {
            bridged.back().end = run.end;
        } else {
            bridged.push_back(run);
        }
    }
    std::size_t previous_end = 0;
    for (const BurstExtent& run : bridged) {
        if (run.end - run.begin < min_length) continue;
        const std::size_t begin = std::max(previous_end, run.begin >= margin ? run.begin - margin : 0);
        const std::size_t end = std::min(n, run.end + margin);
        search.bursts.push_back({begin, end});
        previous_end = end;
    }
    PowerSums sums(read, largest);
    search.noise_power = power_between(sums, n, search.bursts);
    return search;
}

}  // namespace dot11b::analyzer
