#include "plots/density_image.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace dot11b::plots {
namespace {

class Grid {
public:
    Grid(AxisRange x, AxisRange y, std::size_t columns, std::size_t rows)
        : image_{columns, rows, x, y, std::vector<double>(columns * rows, 0.0)},
          x_scale_(static_cast<double>(columns) / (x.upper - x.lower)),
          y_scale_(static_cast<double>(rows) / (y.upper - y.lower)) {}

    // Position in cells, continuous.
    double column_of(double x) const { return (x - image_.x.lower) * x_scale_; }
    double row_of(double y) const { return (y - image_.y.lower) * y_scale_; }

    void count(double column, double row, double times = 1) {
        if (!(column >= 0 && row >= 0)) return;
        const auto c = static_cast<std::size_t>(column);
        const auto r = static_cast<std::size_t>(row);
        if (c < image_.columns && r < image_.rows) image_.counts[r * image_.columns + c] += times;
    }

    DensityImage take() { return std::move(image_); }

private:
    DensityImage image_;
    double x_scale_;
    double y_scale_;
};

// A segment between two points in cell positions; `ends` when the line stops
// at its second point, which is then counted too.
struct Segment {
    double c0, r0, c1, r1;
    bool ends;
    bool operator==(const Segment&) const = default;
};

// One step per cell crossed along the longer direction; the end point is the
// start of the next segment and counted there, unless the line ends.
void walk(Grid& grid, const Segment& s, double times) {
    const double span = std::max(std::abs(s.c1 - s.c0), std::abs(s.r1 - s.r0));
    const auto steps = static_cast<std::size_t>(std::ceil(std::min(span, 1e6))) + (span == 0 ? 1 : 0);
    const double column_step = (s.c1 - s.c0) / static_cast<double>(steps);
    const double row_step = (s.r1 - s.r0) / static_cast<double>(steps);
    double column = s.c0;
    double row = s.r0;
    for (std::size_t k = 0; k < steps; ++k, column += column_step, row += row_step) grid.count(column, row, times);
    if (s.ends) grid.count(s.c1, s.r1, times);
}

// Long signals draw the same segment over and over: an idle stretch of zeros,
// an eye's traces through the same points. Each distinct segment is walked
// once with the number of times it was drawn, which adds up to the same image.
class SegmentTally {
public:
    explicit SegmentTally(Grid& grid) : grid_(grid), slots_(kSlots) {}
    ~SegmentTally() {
        for (const Slot& slot : slots_) {
            if (slot.times > 0) walk(grid_, slot.segment, slot.times);
        }
    }
    SegmentTally(const SegmentTally&) = delete;
    SegmentTally& operator=(const SegmentTally&) = delete;

    void add(const Segment& s) {
        Slot& slot = slots_[slot_of(s)];
        if (slot.times > 0 && slot.segment == s) {
            slot.times += 1;
            return;
        }
        if (slot.times > 0) walk(grid_, slot.segment, slot.times);
        slot = {s, 1};
    }

private:
    static constexpr std::size_t kSlots = 4096;
    struct Slot {
        Segment segment{};
        double times = 0;
    };

    static std::size_t slot_of(const Segment& s) {
        std::uint64_t h = s.ends ? 0x9e3779b97f4a7c15U : 0;
        for (const double v : {s.c0, s.r0, s.c1, s.r1}) h = (h ^ std::bit_cast<std::uint64_t>(v)) * 0x100000001b3U;
        return static_cast<std::size_t>(h ^ (h >> 29)) % kSlots;
    }

    Grid& grid_;
    std::vector<Slot> slots_;
};

}  // namespace

DensityImage line_density(std::span<const double> x, std::span<const double> y, AxisRange x_range,
                          AxisRange y_range, std::size_t columns, std::size_t rows) {
    Grid grid(x_range, y_range, columns, rows);
    {
        SegmentTally tally(grid);
        for (std::size_t k = 0; k + 1 < x.size(); ++k) {
            const Segment s{grid.column_of(x[k]), grid.row_of(y[k]), grid.column_of(x[k + 1]), grid.row_of(y[k + 1]),
                            k + 2 == x.size() || std::isnan(x[k + 2] + y[k + 2])};
            if (std::isnan(s.c0 + s.r0 + s.c1 + s.r1)) continue;
            tally.add(s);
        }
    }
    return grid.take();
}

DensityImage point_density(std::span<const double> x, std::span<const double> y, AxisRange x_range,
                           AxisRange y_range, std::size_t columns, std::size_t rows) {
    Grid grid(x_range, y_range, columns, rows);
    for (std::size_t k = 0; k < x.size(); ++k) grid.count(grid.column_of(x[k]), grid.row_of(y[k]));
    return grid.take();
}

DensityImage downsampled(const DensityImage& image, std::size_t columns, std::size_t rows) {
    columns = std::clamp<std::size_t>(columns, 1, image.columns);
    rows = std::clamp<std::size_t>(rows, 1, image.rows);
    DensityImage result{columns, rows, image.x, image.y, std::vector<double>(columns * rows, 0.0)};
    for (std::size_t r = 0; r < image.rows; ++r) {
        const std::size_t target_row = r * rows / image.rows;
        for (std::size_t c = 0; c < image.columns; ++c) {
            result.counts[target_row * columns + c * columns / image.columns] += image.counts[r * image.columns + c];
        }
    }
    return result;
}

LinePoints occupied_cells(const DensityImage& image) {
    LinePoints centres;
    const double width = (image.x.upper - image.x.lower) / static_cast<double>(image.columns);
    const double height = (image.y.upper - image.y.lower) / static_cast<double>(image.rows);
    for (std::size_t r = 0; r < image.rows; ++r) {
        for (std::size_t c = 0; c < image.columns; ++c) {
            if (image.counts[r * image.columns + c] == 0) continue;
            centres.keys.push_back(image.x.lower + (static_cast<double>(c) + 0.5) * width);
            centres.values.push_back(image.y.lower + (static_cast<double>(r) + 0.5) * height);
        }
    }
    return centres;
}

}  // namespace dot11b::plots
