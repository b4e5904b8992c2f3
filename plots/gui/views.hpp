#pragma once
// The drawing of each view: it fills a canvas from a computed curve with the
// view's axes, titles, labels, limits and grid. Drawings never compute; the
// curves come from plots/.

#include "plots/analysis_view.hpp"
#include "plots/ccdf.hpp"
#include "plots/chip_views.hpp"
#include "plots/eye_diagram.hpp"
#include "plots/gui/plot_canvas.hpp"
#include "plots/iq_time.hpp"
#include "plots/plot_style.hpp"
#include "plots/scatter_plot.hpp"
#include "plots/spectrum.hpp"
#include "plots/waterfall.hpp"

namespace dot11b::plot_windows {

void draw_spectrum(PlotCanvas& canvas, plots::Spectrum spectrum);
void draw_ccdf(PlotCanvas& canvas, const plots::Ccdf& ccdf);
// Two stacked axes, or one with both components when `overlay`.
void draw_iq_time(PlotCanvas& canvas, plots::IqTime view, bool overlay);
// One axes per trace column, stacked.
void draw_eye_diagram(PlotCanvas& canvas, const plots::EyeDiagram& eye, const plots::PlotStyle& line);
// With `hold` the points join what the canvas shows, otherwise they replace it.
void draw_scatter(PlotCanvas& canvas, const plots::ScatterPoints& points, const plots::PlotStyle& line, bool hold);
void draw_waterfall(PlotCanvas& canvas, const plots::Waterfall& view);
// The spectrum with the mask limit over it.
void draw_analysis(PlotCanvas& canvas, const plots::AnalysisView& view);
// The received chips over the ideal points; the EVM of each chip under the peak limit.
void draw_constellation(PlotCanvas& canvas, const plots::Constellation& view);
void draw_chip_evm(PlotCanvas& canvas, const plots::ChipEvm& view);

// The limit of the square scatter axes the canvas shows now, or
// plots::kFreshAxesLimit when it shows none.
double scatter_axes_limit(PlotCanvas& canvas);

}  // namespace dot11b::plot_windows
