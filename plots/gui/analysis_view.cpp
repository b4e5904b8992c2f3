#include "plots/gui/view_support.hpp"
#include "plots/gui/views.hpp"

namespace dot11b::plot_windows {
namespace {

QVector<double> qvector(const std::vector<double>& values) { return {values.begin(), values.end()}; }

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

    auto* legend = new QCPLegend;
    axes.insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
    legend->setLayer("legend");
    spectrum->addToLegend(legend);
    mask->addToLegend(legend);

    set_labels(axes, "Frequency offset (MHz)", "Level (dBr)");
    set_limits(axes, view.x, view.y);
    show_grid(axes);
    canvas.apply_fonts();
}

}  // namespace dot11b::plot_windows
