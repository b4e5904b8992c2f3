#include "plots/density_image.hpp"
#include "plots/gui/view_support.hpp"
#include "plots/gui/views.hpp"

namespace dot11b::plot_windows {
namespace {

// Cells of the density image of a long eye diagram.
constexpr std::size_t kImageColumns = 400;
constexpr std::size_t kImageRows = 300;

QString subtitle(std::size_t column, std::size_t columns) {
    if (columns != 2) return "";
    return column == 0 ? "for In-Phase Signal" : "for Quadrature Signal";
}

}  // namespace

void draw_eye_diagram(PlotCanvas& canvas, const plots::EyeDiagram& eye, const plots::PlotStyle& line) {
    canvas.clear_drawing();
    auto* margins = new QCPMarginGroup(&canvas);
    for (std::size_t c = 0; c < eye.traces.size(); ++c) {
        QCPAxisRect& axes = *canvas.add_axes(int(c), "Eye Diagram " + subtitle(c, eye.traces.size()));
        const std::vector<double>& trace = eye.traces[c];
        if (trace.size() > plots::kDensityImageAbove) {
            add_density_image(canvas, axes, plots::line_density(eye.time, trace, eye.x, eye.y, kImageColumns, kImageRows),
                              colour_of(line.colour));
        } else {
            add_curve(axes, QVector<double>(eye.time.begin(), eye.time.end()), QVector<double>(trace.begin(), trace.end()),
                      line);
        }
        set_labels(axes, "Time", "Amplitude");
        set_limits(axes, eye.x, eye.y);
        axes.setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    }
    canvas.apply_fonts();
}

}  // namespace dot11b::plot_windows
