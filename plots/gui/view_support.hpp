#pragma once
// What the view drawings share: labels, limits, grids, the line styles of a
// plot style and density images.

#include <initializer_list>
#include <vector>

#include <QColor>
#include <QString>
#include <QVector>
#include <qcustomplot.h>

#include "plots/axis_range.hpp"
#include "plots/gui/plot_canvas.hpp"
#include "plots/density_image.hpp"
#include "plots/plot_style.hpp"

namespace dot11b::plot_windows {

// Colours of the curves: the default blue, the quadrature overlay's magenta,
// and the light grey of a reference curve.
inline const QColor kBlue{0, 0, 255};
inline const QColor kMagenta{255, 0, 255};
inline const QColor kReferenceGrey{179, 179, 179};

QCPAxis* x_axis(QCPAxisRect& axes);
QCPAxis* y_axis(QCPAxisRect& axes);

void set_labels(QCPAxisRect& axes, const QString& x_label, const QString& y_label);
void set_limits(QCPAxisRect& axes, plots::AxisRange x, plots::AxisRange y);
// Dotted grid lines at the major ticks of both axes.
void show_grid(QCPAxisRect& axes);
// A legend in the top right corner inside the axes, on the legend layer.
QCPLegend* add_legend(QCPAxisRect& axes);
// The last steps of a view on one set of axes: the plottables in a legend,
// the labels, the limits, the grid and the canvas's fonts.
void finish_legend_view(PlotCanvas& canvas, QCPAxisRect& axes, std::initializer_list<QCPAbstractPlottable*> in_legend,
                        const QString& x_label, const QString& y_label, plots::AxisRange x, plots::AxisRange y);
QVector<double> qvector(const std::vector<double>& values);
// The right axis takes the left one's scale and ticks, the top the bottom's.
void mirror_scales(QCPAxisRect& axes);

QColor colour_of(plots::Rgb rgb);
// A curve through the points, styled as the plot string says, with NaN breaks.
QCPCurve* add_curve(QCPAxisRect& axes, const QVector<double>& x, const QVector<double>& y,
                    const plots::PlotStyle& line);

// Cells shaded from pale to full `colour` with the logarithm of their count;
// empty cells stay transparent, so images can lie over one another. Where
// the cells are smaller than the screen's pixels, they are summed into
// pixel-sized ones again after each zoom or resize, so no track drops out.
QCPColorMap* add_density_image(PlotCanvas& canvas, QCPAxisRect& axes, plots::DensityImage image,
                               const QColor& colour);

}  // namespace dot11b::plot_windows
