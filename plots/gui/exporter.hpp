#pragma once
// Renders a plot offscreen, with the drawing the window shows, as a PNG image
// or a one-page PDF document of the given size in pixels (points for PDF).

#include <cstdint>
#include <vector>

#include <QSize>

#include "plots/gui/plot_canvas.hpp"

namespace dot11b::plot_windows {

std::vector<std::uint8_t> png_image(PlotCanvas& canvas, QSize size);
std::vector<std::uint8_t> pdf_document(PlotCanvas& canvas, QSize size);

}  // namespace dot11b::plot_windows
