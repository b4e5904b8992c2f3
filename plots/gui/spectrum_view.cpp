#include <memory>

#include "plots/gui/decimated_graph.hpp"
#include "plots/gui/view_support.hpp"
#include "plots/gui/views.hpp"

namespace dot11b::plot_windows {

void draw_spectrum(PlotCanvas& canvas, plots::Spectrum spectrum) {
    canvas.clear_drawing();
    QCPAxisRect& axes = *canvas.add_axes(0, "Spectrum");
    new DecimatedGraph(canvas, axes, std::make_shared<const std::vector<double>>(std::move(spectrum.frequency)),
                       std::make_shared<const std::vector<double>>(std::move(spectrum.magnitude_db)), QPen(kBlue));
    set_labels(axes, QString("Frequency (%1)").arg(QString::fromStdString(spectrum.frequency_units)), "LogMag (dB)");
    set_limits(axes, spectrum.x, spectrum.y);
    show_grid(axes);
    canvas.apply_fonts();
}

}  // namespace dot11b::plot_windows
