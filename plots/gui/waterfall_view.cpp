#include "plots/gui/view_support.hpp"
#include "plots/gui/views.hpp"

namespace dot11b::plot_windows {

void draw_waterfall(PlotCanvas& canvas, const plots::Waterfall& view) {
    canvas.clear_drawing();
    QCPAxisRect& axes = *canvas.add_axes(0, "Spectrum Waterfall");
    auto* map = new QCPColorMap(x_axis(axes), y_axis(axes));

    // One row per snapshot, centred on its time span; a single snapshot is
    // given twice so that it fills its span.
    const double span = view.y.upper / double(view.snapshots);
    const std::size_t rows = std::max<std::size_t>(view.snapshots, 2);
    const double first_centre = view.snapshots == 1 ? span / 4 : span / 2;
    const double last_centre = view.snapshots == 1 ? 3 * span / 4 : view.y.upper - span / 2;
    auto* data = new QCPColorMapData(int(view.bins), int(rows), QCPRange(view.frequency.front(), view.frequency.back()),
                                     QCPRange(first_centre, last_centre));
    for (std::size_t r = 0; r < rows; ++r) {
        const std::size_t snapshot = std::min(r, view.snapshots - 1);
        for (std::size_t b = 0; b < view.bins; ++b) data->setCell(int(b), int(r), view.magnitude_db[snapshot * view.bins + b]);
    }
    map->setData(data, false);

    // The map takes the scale's colours and range when joined, so set them after.
    auto* scale = new QCPColorScale(&canvas);
    canvas.plotLayout()->addElement(1, 1, scale);
    scale->setType(QCPAxis::atRight);
    scale->axis()->setLabel("LogMag (dB)");
    map->setColorScale(scale);
    map->setGradient(QCPColorGradient::gpJet);
    map->setInterpolate(false);
    map->setDataRange(QCPRange(view.z.lower, view.z.upper));
    auto* margins = new QCPMarginGroup(&canvas);
    axes.setMarginGroup(QCP::msTop | QCP::msBottom, margins);
    scale->setMarginGroup(QCP::msTop | QCP::msBottom, margins);

    set_labels(axes, QString("Frequency (%1)").arg(QString::fromStdString(view.frequency_units)),
               QString("Time (%1)").arg(QString::fromStdString(view.time_units)));
    set_limits(axes, view.x, view.y);
    canvas.apply_fonts();
}

}  // namespace dot11b::plot_windows
