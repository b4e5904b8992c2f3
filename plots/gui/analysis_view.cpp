#include "plots/gui/view_support.hpp"
#include "plots/gui/views.hpp"

namespace dot11b::plot_windows {
namespace {

const QColor kMaskRed{220, 0, 0};

}  // namespace

void draw_analysis(PlotCanvas& canvas, const plots::AnalysisView& view) {
    canvas.clear_drawing();
    QCPAxisRect& axes = *canvas.add_axes(0, "Transmit Spectrum Mask", "XR_Analysis");
    QCPGraph* spectrum = canvas.addGraph(x_axis(axes), y_axis(axes));
    spectrum->setName("Spectrum");
    spectrum->setPen(QPen(kBlue));
    spectrum->setData(qvector(view.spectrum.x), qvector(view.spectrum.y), true);
    QCPCurve* mask = add_curve(axes, qvector(view.mask.x), qvector(view.mask.y), plots::parse_plot_style("r-"));
    mask->setName("Mask limit");
    mask->setPen(QPen(kMaskRed, 2));

    finish_legend_view(canvas, axes, {spectrum, mask}, "Frequency offset (MHz)", "Level (dBr)", view.x, view.y);
}

}  // namespace dot11b::plot_windows
