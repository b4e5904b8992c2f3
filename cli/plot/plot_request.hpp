#pragma once
// What dot11b-plot is asked to draw: views by kind, each into a file whose
// extension chooses the format.

#include <filesystem>
#include <string>
#include <string_view>

#include <QSize>

namespace dot11b::cli {

enum class PlotKind { spectrum, ccdf, iq, iq_overlay, eye, scatter, waterfall, constellation, evm };
enum class PlotFormat { png, pdf, csv };

struct PlotRequest {
    PlotKind kind;
    std::filesystem::path output;
    PlotFormat format;
};

// "KIND:OUT", KIND one of spectrum ccdf iq iq-overlay eye scatter waterfall,
// constellation evm (the analyser's chips of the first burst),
// OUT ending in .png, .pdf or .csv. Throws ConfigError naming the text.
PlotRequest parse_plot_request(std::string_view text);

// "WxH" in pixels, each from 16 to 10000. Throws ConfigError naming the text.
QSize parse_plot_size(std::string_view text);

}  // namespace dot11b::cli
