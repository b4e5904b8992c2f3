#include "plots/gui/view_support.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dot11b::plot_windows {
namespace {

Qt::PenStyle pen_style(plots::LineStyle line) {
    switch (line) {
        case plots::LineStyle::none: return Qt::NoPen;
        case plots::LineStyle::solid: return Qt::SolidLine;
        case plots::LineStyle::dashed: return Qt::DashLine;
        case plots::LineStyle::dotted: return Qt::DotLine;
        case plots::LineStyle::dash_dot: return Qt::DashDotLine;
    }
    return Qt::SolidLine;
}

QCPScatterStyle::ScatterShape shape_of(plots::Marker marker) {
    switch (marker) {
        case plots::Marker::none: return QCPScatterStyle::ssNone;
        case plots::Marker::point: return QCPScatterStyle::ssDisc;
        case plots::Marker::circle: return QCPScatterStyle::ssCircle;
        case plots::Marker::cross: return QCPScatterStyle::ssCross;
        case plots::Marker::plus: return QCPScatterStyle::ssPlus;
        case plots::Marker::star: return QCPScatterStyle::ssStar;
        case plots::Marker::square: return QCPScatterStyle::ssSquare;
        case plots::Marker::diamond: return QCPScatterStyle::ssDiamond;
    }
    return QCPScatterStyle::ssNone;
}

}  // namespace

QCPAxis* x_axis(QCPAxisRect& axes) { return axes.axis(QCPAxis::atBottom); }
QCPAxis* y_axis(QCPAxisRect& axes) { return axes.axis(QCPAxis::atLeft); }

void set_labels(QCPAxisRect& axes, const QString& x_label, const QString& y_label) {
    x_axis(axes)->setLabel(x_label);
    y_axis(axes)->setLabel(y_label);
}

void set_limits(QCPAxisRect& axes, plots::AxisRange x, plots::AxisRange y) {
    x_axis(axes)->setRange(x.lower, x.upper);
    y_axis(axes)->setRange(y.lower, y.upper);
}

void show_grid(QCPAxisRect& axes) {
    for (QCPAxis* axis : {x_axis(axes), y_axis(axes)}) {
        axis->grid()->setVisible(true);
        axis->grid()->setPen(QPen(QColor(160, 160, 160), 0, Qt::DotLine));
    }
}

void mirror_scales(QCPAxisRect& axes) {
    for (const auto& [from, to] : {std::pair{QCPAxis::atLeft, QCPAxis::atRight}, std::pair{QCPAxis::atBottom, QCPAxis::atTop}}) {
        axes.axis(to)->setScaleType(axes.axis(from)->scaleType());
        axes.axis(to)->setTicker(axes.axis(from)->ticker());
        axes.axis(to)->setRange(axes.axis(from)->range());
    }
}

QColor colour_of(plots::Rgb rgb) { return QColor::fromRgbF(float(rgb.red), float(rgb.green), float(rgb.blue)); }

QCPCurve* add_curve(QCPAxisRect& axes, const QVector<double>& x, const QVector<double>& y,
                    const plots::PlotStyle& line) {
    auto* curve = new QCPCurve(x_axis(axes), y_axis(axes));
    const QColor colour = colour_of(line.colour);
    curve->setPen(QPen(colour, 0, pen_style(line.line)));
    curve->setLineStyle(line.line == plots::LineStyle::none ? QCPCurve::lsNone : QCPCurve::lsLine);
    const double size = line.marker == plots::Marker::point ? 3 : 6;
    curve->setScatterStyle(QCPScatterStyle(shape_of(line.marker), colour, colour, size));
    curve->setData(x, y);
    return curve;
}

QCPColorMap* add_density_image(QCPAxisRect& axes, const plots::DensityImage& image, const QColor& colour) {
    auto* map = new QCPColorMap(x_axis(axes), y_axis(axes));
    // The data range names the centres of the first and last cells.
    const double half_column = (image.x.upper - image.x.lower) / double(2 * image.columns);
    const double half_row = (image.y.upper - image.y.lower) / double(2 * image.rows);
    auto* data = new QCPColorMapData(int(image.columns), int(image.rows),
                                     QCPRange(image.x.lower + half_column, image.x.upper - half_column),
                                     QCPRange(image.y.lower + half_row, image.y.upper - half_row));
    double densest = 0;
    for (std::size_t r = 0; r < image.rows; ++r) {
        for (std::size_t c = 0; c < image.columns; ++c) {
            const double count = image.counts[r * image.columns + c];
            // Counts span several decades; their logarithm keeps rare paths visible.
            const double shade = count > 0 ? std::log1p(count) : std::numeric_limits<double>::quiet_NaN();
            data->setCell(int(c), int(r), shade);
            if (count > 0) densest = std::max(densest, shade);
        }
    }
    map->setData(data, false);
    QCPColorGradient gradient;
    gradient.clearColorStops();
    QColor pale = colour;
    pale.setAlpha(70);
    gradient.setColorStopAt(0, pale);
    gradient.setColorStopAt(1, colour.darker(130));
    gradient.setNanHandling(QCPColorGradient::nhTransparent);
    map->setGradient(gradient);
    map->setInterpolate(false);
    map->setDataRange(QCPRange(0, std::max(densest, 1.0)));
    return map;
}

}  // namespace dot11b::plot_windows
