#pragma once
// A line plot of a long curve: QCustomPlot only ever holds the minimum and
// maximum of each pixel column of the visible range, rebuilt whenever the
// range or the width of the axes changes. The full curve stays here.

#include <memory>
#include <vector>

#include <QObject>
#include <QPen>

#include "plots/gui/plot_canvas.hpp"

namespace dot11b::plot_windows {

using SharedValues = std::shared_ptr<const std::vector<double>>;

class DecimatedGraph : public QObject {
public:
    // `keys` ascending, as long as `values`.
    DecimatedGraph(PlotCanvas& canvas, QCPAxisRect& axes, SharedValues keys, SharedValues values, const QPen& pen);

    QCPGraph* graph() const { return graph_; }

private:
    bool rebuild();

    QCPGraph* graph_;
    SharedValues keys_;
    SharedValues values_;
    QCPRange built_range_;
    int built_width_ = -1;
};

}  // namespace dot11b::plot_windows
