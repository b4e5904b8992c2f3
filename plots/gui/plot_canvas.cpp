#include "plots/gui/plot_canvas.hpp"

#include <algorithm>

#include <QEvent>
#include <QFontMetrics>

namespace dot11b::plot_windows {
namespace {

constexpr int kFewestTicks = 2;
constexpr int kMostTicks = 10;

// Room for a tick label and a gap: a label such as "-0.00" across, two
// lines of text up the side.
bool fit_ticks(QCPAxis& axis) {
    const QFontMetrics metrics(axis.tickLabelFont());
    const bool across = axis.orientation() == Qt::Horizontal;
    const double room = across ? 1.8 * metrics.horizontalAdvance("-0.00") : 2.2 * metrics.height();
    const int length = across ? axis.axisRect()->width() : axis.axisRect()->height();
    const int count = std::clamp(static_cast<int>(length / room), kFewestTicks, kMostTicks);
    if (axis.ticker()->tickCount() == count) return false;
    axis.ticker()->setTickCount(count);
    return true;
}

}  // namespace

PlotCanvas::PlotCanvas(QWidget* parent) : QCustomPlot(parent) {
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setNoAntialiasingOnDrag(true);
    clear_drawing();
}

void PlotCanvas::add_layout_hook(QObject* owner, LayoutHook hook) { hooks_.push_back({owner, std::move(hook)}); }

void PlotCanvas::clear_drawing() {
    for (const Hook& hook : hooks_) delete hook.owner.data();
    hooks_.clear();
    clearPlottables();
    clearItems();
    plotLayout()->clear();
    plotLayout()->simplify();
    // The margin groups that aligned the axes just removed.
    qDeleteAll(findChildren<QCPMarginGroup*>(QString(), Qt::FindDirectChildrenOnly));
}

QCPAxisRect* PlotCanvas::add_axes(int row, const QString& title, const QString& tag) {
    auto* heading = new QCPTextElement(this, title);
    plotLayout()->addElement(2 * row, 0, heading);
    auto* axes = new QCPAxisRect(this);
    axes->setObjectName(tag);
    plotLayout()->addElement(2 * row + 1, 0, axes);
    // Both axes of a box, as the plots have always shown them, ticks inside.
    for (QCPAxis* axis : axes->axes()) {
        axis->setTickLengthIn(4);
        axis->setSubTickLengthIn(2);
        axis->grid()->setVisible(false);
    }
    axes->axis(QCPAxis::atTop)->setVisible(true);
    axes->axis(QCPAxis::atRight)->setVisible(true);
    for (const auto side : {QCPAxis::atTop, QCPAxis::atRight}) axes->axis(side)->setTickLabels(false);
    connect(axes->axis(QCPAxis::atBottom), qOverload<const QCPRange&>(&QCPAxis::rangeChanged),
            axes->axis(QCPAxis::atTop), qOverload<const QCPRange&>(&QCPAxis::setRange));
    connect(axes->axis(QCPAxis::atLeft), qOverload<const QCPRange&>(&QCPAxis::rangeChanged),
            axes->axis(QCPAxis::atRight), qOverload<const QCPRange&>(&QCPAxis::setRange));
    return axes;
}

void PlotCanvas::apply_fonts() {
    const QFont base = font();
    QFont bold = base;
    bold.setBold(true);
    for (QCPAxisRect* axes : axisRects()) {
        for (QCPAxis* axis : axes->axes()) {
            axis->setLabelFont(base);
            axis->setTickLabelFont(base);
        }
        for (int k = 0; k < axes->insetLayout()->elementCount(); ++k) {
            if (auto* key = qobject_cast<QCPLegend*>(axes->insetLayout()->elementAt(k))) key->setFont(base);
        }
    }
    for (int k = 0; k < plotLayout()->elementCount(); ++k) {
        if (auto* text = qobject_cast<QCPTextElement*>(plotLayout()->elementAt(k))) text->setFont(bold);
        if (auto* scale = qobject_cast<QCPColorScale*>(plotLayout()->elementAt(k))) {
            scale->axis()->setLabelFont(base);
            scale->axis()->setTickLabelFont(base);
        }
    }
}

bool PlotCanvas::fit_tick_counts() {
    bool changed = false;
    for (QCPAxisRect* axes : axisRects()) {
        for (QCPAxis* axis : axes->axes()) changed |= fit_ticks(*axis);
    }
    for (int k = 0; k < plotLayout()->elementCount(); ++k) {
        if (auto* scale = qobject_cast<QCPColorScale*>(plotLayout()->elementAt(k))) changed |= fit_ticks(*scale->axis());
    }
    return changed;
}

void PlotCanvas::updateLayout() {
    QCustomPlot::updateLayout();
    bool ticks_changed = fit_tick_counts();
    for (const Hook& hook : hooks_) {
        if (hook.owner) ticks_changed |= hook.run();
    }
    // New ranges or tick counts need the ticks laid out again.
    if (ticks_changed) QCustomPlot::updateLayout();
}

void PlotCanvas::changeEvent(QEvent* event) {
    QCustomPlot::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        apply_fonts();
        replot(rpQueuedReplot);
    }
}

}  // namespace dot11b::plot_windows
