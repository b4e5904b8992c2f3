#include <memory>

#include "plots/gui/decimated_graph.hpp"
#include "plots/gui/view_support.hpp"
#include "plots/gui/views.hpp"

namespace dot11b::plot_windows {
namespace {

SharedValues shared(std::vector<double>&& values) {
    return std::make_shared<const std::vector<double>>(std::move(values));
}

// Zooming or panning one of the stacked axes moves the other with it.
void link_ranges(QCPAxis* a, QCPAxis* b) {
    QObject::connect(a, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), b,
                     qOverload<const QCPRange&>(&QCPAxis::setRange));
    QObject::connect(b, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), a,
                     qOverload<const QCPRange&>(&QCPAxis::setRange));
}

}  // namespace

void draw_iq_time(PlotCanvas& canvas, plots::IqTime view, bool overlay) {
    canvas.clear_drawing();
    const QString time_label = QString("Time (%1)").arg(QString::fromStdString(view.time_units));
    const SharedValues time = shared(std::move(view.time));
    const SharedValues in_phase = shared(std::move(view.in_phase));
    const SharedValues quadrature = shared(std::move(view.quadrature));

    if (overlay) {
        QCPAxisRect& axes = *canvas.add_axes(0, "I(t) Q(t)", "XR_IQwave");
        new DecimatedGraph(canvas, axes, time, in_phase, QPen(kBlue));
        new DecimatedGraph(canvas, axes, time, quadrature, QPen(kMagenta));
        set_labels(axes, time_label, "Amplitude (V)");
        set_limits(axes, view.x, view.y);
    } else {
        QCPAxisRect& upper = *canvas.add_axes(0, "I(t)", "XR_Iwave");
        QCPAxisRect& lower = *canvas.add_axes(1, "Q(t)", "XR_Qwave");
        new DecimatedGraph(canvas, upper, time, in_phase, QPen(kBlue));
        new DecimatedGraph(canvas, lower, time, quadrature, QPen(kBlue));
        set_labels(upper, "", "Amplitude (V)");
        set_labels(lower, time_label, "Amplitude (V)");
        for (QCPAxisRect* axes : {&upper, &lower}) set_limits(*axes, view.x, view.y);
        link_ranges(x_axis(upper), x_axis(lower));
        link_ranges(y_axis(upper), y_axis(lower));
        auto* margins = new QCPMarginGroup(&canvas);
        upper.setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        lower.setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    }
    canvas.apply_fonts();
}

}  // namespace dot11b::plot_windows
