#pragma once
// One plot of a recording as file contents: the PNG or PDF drawn offscreen
// with the windows' own drawing, or the plotted data as CSV.

#include <cstdint>
#include <vector>

#include <QSize>

#include "cli/plot/plot_request.hpp"
#include "common/types.hpp"

namespace dot11b::cli {

struct PlotSettings {
    QSize size{800, 600};        // PNG pixels, PDF points
    double symbol_delay = 0;     // eye and scatter sampling instant, 0..1 of a symbol
    bool scatter_trace = false;  // scatter points over the trajectory
};

std::vector<std::uint8_t> render_plot(const PlotRequest& request, SampleSpan samples, double sample_rate_hz,
                                      const PlotSettings& settings);

}  // namespace dot11b::cli
