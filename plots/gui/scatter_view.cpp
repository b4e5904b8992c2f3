#include <algorithm>
#include <cmath>

#include "plots/density_image.hpp"
#include "plots/gui/view_support.hpp"
#include "plots/gui/views.hpp"

namespace dot11b::plot_windows {
namespace {

constexpr std::size_t kImageCells = 300;  // per side of the grids of a long constellation

// Equal scaling of a constellation: one unit spans as many pixels on both
// axes. The ranges last set (by the drawing, a zoom or a pan) are the ones
// wanted; the axis with room to spare is widened around its centre.
class EqualScale : public QObject {
public:
    EqualScale(PlotCanvas& canvas, QCPAxisRect& axes) : QObject(&canvas), axes_(axes) {
        for (QCPAxis* axis : {x_axis(axes), y_axis(axes)}) {
            connect(axis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this, axis](const QCPRange& range) {
                if (!adjusting_) (axis == x_axis(axes_) ? wanted_x_ : wanted_y_) = range;
            });
        }
        canvas.add_layout_hook(this, [this] { return apply(); });
    }

private:
    bool apply() {
        const double width = axes_.width();
        const double height = axes_.height();
        if (width <= 0 || height <= 0) return false;
        const double per_pixel = std::max(wanted_x_.size() / width, wanted_y_.size() / height);
        const QCPRange x(wanted_x_.center() - per_pixel * width / 2, wanted_x_.center() + per_pixel * width / 2);
        const QCPRange y(wanted_y_.center() - per_pixel * height / 2, wanted_y_.center() + per_pixel * height / 2);
        if (x == x_axis(axes_)->range() && y == y_axis(axes_)->range()) return false;
        adjusting_ = true;
        x_axis(axes_)->setRange(x);
        y_axis(axes_)->setRange(y);
        adjusting_ = false;
        return true;
    }

    QCPAxisRect& axes_;
    QCPRange wanted_x_;
    QCPRange wanted_y_;
    bool adjusting_ = false;
};

}  // namespace

double scatter_axes_limit(PlotCanvas& canvas) {
    if (canvas.axisRectCount() == 0) return plots::kFreshAxesLimit;
    const QCPRange x = x_axis(*canvas.axisRect(0))->range();
    const QCPRange y = y_axis(*canvas.axisRect(0))->range();
    return std::max({std::abs(x.lower), std::abs(x.upper), std::abs(y.lower), std::abs(y.upper)});
}

void draw_scatter(PlotCanvas& canvas, const plots::ScatterPoints& points, const plots::PlotStyle& line, bool hold) {
    if (!hold || canvas.axisRectCount() == 0) {
        canvas.clear_drawing();
        QCPAxisRect& axes = *canvas.add_axes(0, "Scatter plot");
        set_labels(axes, "In-Phase", "Quadrature");
        new EqualScale(canvas, axes);
    }
    QCPAxisRect& axes = *canvas.axisRect(0);
    const plots::AxisRange square{-points.limit, points.limit};
    if (points.in_phase.size() > plots::kDensityImageAbove && line.line != plots::LineStyle::none) {
        add_density_image(canvas, axes,
                          plots::line_density(points.in_phase, points.quadrature, square, square, kImageCells, kImageCells),
                          colour_of(line.colour));
    } else if (points.in_phase.size() > plots::kDensityImageAbove) {
        // A long constellation piles its points onto a few spots: one dot per spot.
        const plots::LinePoints spots = plots::occupied_cells(
            plots::point_density(points.in_phase, points.quadrature, square, square, kImageCells, kImageCells));
        add_curve(axes, QVector<double>(spots.keys.begin(), spots.keys.end()),
                  QVector<double>(spots.values.begin(), spots.values.end()), line);
    } else {
        add_curve(axes, QVector<double>(points.in_phase.begin(), points.in_phase.end()),
                  QVector<double>(points.quadrature.begin(), points.quadrature.end()), line);
    }
    set_limits(axes, square, square);
    canvas.apply_fonts();
}

}  // namespace dot11b::plot_windows
