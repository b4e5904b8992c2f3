#include "plots/gui/view_support.hpp"
#include "plots/gui/views.hpp"

namespace dot11b::plot_windows {

void draw_ccdf(PlotCanvas& canvas, const plots::Ccdf& ccdf) {
    canvas.clear_drawing();
    QCPAxisRect& axes = *canvas.add_axes(0, "CCDF", "XR_CCDF");
    QCPGraph* curve = canvas.addGraph(x_axis(axes), y_axis(axes));
    curve->setPen(QPen(kBlue));
    curve->setData(qvector(ccdf.level_db), qvector(ccdf.percent), true);
    QCPGraph* reference = canvas.addGraph(x_axis(axes), y_axis(axes));
    reference->setPen(QPen(kReferenceGrey));
    reference->setData(qvector(ccdf.level_db), qvector(ccdf.reference), true);

    y_axis(axes)->setScaleType(QCPAxis::stLogarithmic);
    y_axis(axes)->setTicker(QSharedPointer<QCPAxisTickerLog>::create());
    y_axis(axes)->setNumberFormat("eb");
    y_axis(axes)->setNumberPrecision(0);
    auto ticks = QSharedPointer<QCPAxisTickerFixed>::create();
    // Every 2 dB; a narrow window labels every 4 or 6 dB rather than run the labels together.
    ticks->setTickStep(2);
    ticks->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
    x_axis(axes)->setTicker(ticks);

    set_labels(axes, "dB above Average", "Frequency of occurence (%)");
    set_limits(axes, ccdf.x, ccdf.y);
    mirror_scales(axes);
    show_grid(axes);
    canvas.apply_fonts();
}

}  // namespace dot11b::plot_windows
