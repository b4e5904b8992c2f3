#include "plots/gui/view_support.hpp"
#include "plots/gui/views.hpp"

namespace dot11b::plot_windows {
namespace {

const QColor kIdealRed{220, 0, 0};
constexpr double kIdealMarkSize = 12;

}  // namespace

void draw_constellation(PlotCanvas& canvas, const plots::Constellation& view) {
    canvas.clear_drawing();
    QCPAxisRect& axes = *canvas.add_axes(0, "Constellation", "XR_Constellation");
    QCPCurve* chips = add_curve(axes, qvector(view.in_phase), qvector(view.quadrature), plots::parse_plot_style("b."));
    chips->setName("Received chips");
    QCPCurve* ideal =
        add_curve(axes, qvector(view.ideal_in_phase), qvector(view.ideal_quadrature), plots::parse_plot_style("r."));
    ideal->setName("Ideal points");
    ideal->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssCrossCircle, QPen(kIdealRed, 2), Qt::NoBrush, kIdealMarkSize));

    finish_legend_view(canvas, axes, {chips, ideal}, "In-Phase", "Quadrature", view.limits, view.limits);
}

void draw_chip_evm(PlotCanvas& canvas, const plots::ChipEvm& view) {
    canvas.clear_drawing();
    QCPAxisRect& axes = *canvas.add_axes(0, "EVM vs Chip", "XR_ChipEVM");
    QCPGraph* evm = canvas.addGraph(x_axis(axes), y_axis(axes));
    evm->setName("EVM");
    evm->setPen(QPen(kBlue));
    evm->setData(qvector(view.chip), qvector(view.percent), true);
    QCPGraph* limit = canvas.addGraph(x_axis(axes), y_axis(axes));
    limit->setName("Peak limit");
    limit->setPen(QPen(kIdealRed, 2));
    limit->setData({view.x.lower, view.x.upper}, {view.limit_percent, view.limit_percent}, true);

    finish_legend_view(canvas, axes, {evm, limit}, "Chip", "EVM (%)", view.x, view.y);
}

}  // namespace dot11b::plot_windows
