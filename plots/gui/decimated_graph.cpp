#include "plots/gui/decimated_graph.hpp"

#include "plots/min_max_columns.hpp"

namespace dot11b::plot_windows {

DecimatedGraph::DecimatedGraph(PlotCanvas& canvas, QCPAxisRect& axes, SharedValues keys, SharedValues values,
                               const QPen& pen)
    : QObject(&canvas),
      graph_(canvas.addGraph(axes.axis(QCPAxis::atBottom), axes.axis(QCPAxis::atLeft))),
      keys_(std::move(keys)),
      values_(std::move(values)) {
    graph_->setPen(pen);
    // Columns reduced to their extremes draw as dense vertical strokes, which
    // antialiasing only slows down.
    graph_->setAntialiased(false);
    canvas.add_layout_hook(this, [this] { return rebuild(); });
}

bool DecimatedGraph::rebuild() {
    const QCPRange range = graph_->keyAxis()->range();
    const int width = graph_->keyAxis()->axisRect()->width();
    if (range == built_range_ && width == built_width_) return false;
    built_range_ = range;
    built_width_ = width;
    const plots::LinePoints points = plots::min_max_columns(*keys_, *values_, {range.lower, range.upper},
                                                            static_cast<std::size_t>(std::max(width, 1)));
    graph_->setData(QVector<double>(points.keys.begin(), points.keys.end()),
                    QVector<double>(points.values.begin(), points.values.end()), true);
    return false;
}

}  // namespace dot11b::plot_windows
