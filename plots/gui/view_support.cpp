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

// A density image on its axes: the full grid stays here; the colour map
// shows it summed down to at most one cell per pixel.
class DensityLayer : public QObject {
public:
    DensityLayer(PlotCanvas& canvas, QCPAxisRect& axes, plots::DensityImage image, const QColor& colour)
        : QObject(&canvas), axes_(axes), map_(new QCPColorMap(x_axis(axes), y_axis(axes))), image_(std::move(image)) {
        QCPColorGradient gradient;
        gradient.clearColorStops();
        QColor pale = colour;
        pale.setAlpha(70);
        gradient.setColorStopAt(0, pale);
        gradient.setColorStopAt(1, colour.darker(130));
        gradient.setNanHandling(QCPColorGradient::nhTransparent);
        map_->setGradient(gradient);
        map_->setInterpolate(false);
        show(image_);
        canvas.add_layout_hook(this, [this] { return fit_to_pixels(); });
    }

    QCPColorMap* map() const { return map_; }

private:
    // Cells of the grid per pixel of the axes, along one axis.
    static std::size_t cells_shown(double pixels, double image_span, double visible_span, std::size_t cells) {
        const double image_pixels = pixels * image_span / visible_span;
        return static_cast<std::size_t>(std::clamp(std::round(image_pixels), 1.0, static_cast<double>(cells)));
    }

    bool fit_to_pixels() {
        const std::size_t columns = cells_shown(axes_.width(), image_.x.upper - image_.x.lower,
                                                x_axis(axes_)->range().size(), image_.columns);
        const std::size_t rows =
            cells_shown(axes_.height(), image_.y.upper - image_.y.lower, y_axis(axes_)->range().size(), image_.rows);
        if (columns != shown_columns_ || rows != shown_rows_) show(plots::downsampled(image_, columns, rows));
        return false;
    }

    void show(const plots::DensityImage& cells) {
        // The data range names the centres of the first and last cells.
        const double half_column = (cells.x.upper - cells.x.lower) / double(2 * cells.columns);
        const double half_row = (cells.y.upper - cells.y.lower) / double(2 * cells.rows);
        auto* data = new QCPColorMapData(int(cells.columns), int(cells.rows),
                                         QCPRange(cells.x.lower + half_column, cells.x.upper - half_column),
                                         QCPRange(cells.y.lower + half_row, cells.y.upper - half_row));
        double densest = 0;
        for (std::size_t r = 0; r < cells.rows; ++r) {
            for (std::size_t c = 0; c < cells.columns; ++c) {
                const double count = cells.counts[r * cells.columns + c];
                // Counts span several decades; their logarithm keeps rare paths visible.
                const double shade = count > 0 ? std::log1p(count) : std::numeric_limits<double>::quiet_NaN();
                data->setCell(int(c), int(r), shade);
                if (count > 0) densest = std::max(densest, shade);
            }
        }
        map_->setData(data, false);
        map_->setDataRange(QCPRange(0, std::max(densest, 1.0)));
        shown_columns_ = cells.columns;
        shown_rows_ = cells.rows;
    }

    QCPAxisRect& axes_;
    QCPColorMap* map_;
    plots::DensityImage image_;
    std::size_t shown_columns_ = 0;
    std::size_t shown_rows_ = 0;
};

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

QCPLegend* add_legend(QCPAxisRect& axes) {
    auto* legend = new QCPLegend;
    axes.insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
    legend->setLayer("legend");
    return legend;
}

void finish_legend_view(PlotCanvas& canvas, QCPAxisRect& axes, std::initializer_list<QCPAbstractPlottable*> in_legend,
                        const QString& x_label, const QString& y_label, plots::AxisRange x, plots::AxisRange y) {
    QCPLegend* legend = add_legend(axes);
    for (QCPAbstractPlottable* plottable : in_legend) plottable->addToLegend(legend);
    set_labels(axes, x_label, y_label);
    set_limits(axes, x, y);
    show_grid(axes);
    canvas.apply_fonts();
}

QVector<double> qvector(const std::vector<double>& values) { return {values.begin(), values.end()}; }

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

QCPColorMap* add_density_image(PlotCanvas& canvas, QCPAxisRect& axes, plots::DensityImage image,
                               const QColor& colour) {
    return (new DensityLayer(canvas, axes, std::move(image), colour))->map();
}

}  // namespace dot11b::plot_windows
