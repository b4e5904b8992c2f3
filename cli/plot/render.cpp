#include "cli/plot/render.hpp"

#include <sstream>

#include "cli/plot/chip_timing.hpp"
#include "plots/gui/exporter.hpp"
#include "plots/gui/views.hpp"
#include "plots/plot_table.hpp"

namespace dot11b::cli {
namespace {

using plot_windows::PlotCanvas;

// Snapshots of the waterfall, in samples: 256 frequency points each.
constexpr double kWaterfallSnapshot = 256;

// Draws the view on `canvas`, or, when `canvas` is null, returns its plotted data.
plots::PlotTable draw_or_tabulate(PlotKind kind, SampleSpan samples, double rate, const PlotSettings& settings,
                                  PlotCanvas* canvas) {
    const ChipTiming timing = chip_timing(rate);
    const double n = timing.samples_per_symbol;
    const double offset = symbol_offset(timing, settings.symbol_delay);
    switch (kind) {
        case PlotKind::spectrum: {
            plots::Spectrum spectrum = plots::magnitude_spectrum(samples, rate);
            if (canvas == nullptr) return plots::spectrum_table(spectrum);
            plot_windows::draw_spectrum(*canvas, std::move(spectrum));
            return {};
        }
        case PlotKind::ccdf: {
            const plots::Ccdf ccdf = plots::ccdf(samples);
            if (canvas == nullptr) return plots::ccdf_table(ccdf);
            plot_windows::draw_ccdf(*canvas, ccdf);
            return {};
        }
        case PlotKind::iq:
        case PlotKind::iq_overlay: {
            plots::IqTime view = plots::iq_time(samples, rate);
            if (canvas == nullptr) return plots::iq_time_table(view);
            plot_windows::draw_iq_time(*canvas, std::move(view), kind == PlotKind::iq_overlay);
            return {};
        }
        case PlotKind::eye: {
            const plots::EyeDiagram eye = plots::eye_diagram(plots::iq_columns(samples), n, timing.chips_per_symbol, offset);
            if (canvas == nullptr) return plots::eye_table(eye, "Time (chips)");
            plot_windows::draw_eye_diagram(*canvas, eye, plots::parse_line_spec("b-"));
            return {};
        }
        case PlotKind::scatter: {
            const plots::SignalColumns columns = plots::iq_columns(samples);
            if (canvas == nullptr) return plots::scatter_table(plots::scatter_points(columns, n, offset));
            if (settings.scatter_trace) {
                // As the scatter view draws it: the trajectory, then the points held on top.
                plot_windows::draw_scatter(*canvas, plots::scatter_points(columns, 1, offset), plots::parse_line_spec("c-"),
                                           false);
            }
            const double limit = plot_windows::scatter_axes_limit(*canvas);
            plot_windows::draw_scatter(*canvas, plots::scatter_points(columns, n, offset, limit),
                                       plots::parse_line_spec("b."), settings.scatter_trace);
            return {};
        }
        case PlotKind::waterfall: {
            const plots::Waterfall view = plots::waterfall(samples, rate, kWaterfallSnapshot / rate);
            if (canvas == nullptr) return plots::waterfall_table(view);
            plot_windows::draw_waterfall(*canvas, view);
            return {};
        }
    }
    return {};
}

}  // namespace

std::vector<std::uint8_t> render_plot(const PlotRequest& request, SampleSpan samples, double sample_rate_hz,
                                      const PlotSettings& settings) {
    if (request.format == PlotFormat::csv) {
        std::ostringstream csv;
        plots::write_csv(csv, draw_or_tabulate(request.kind, samples, sample_rate_hz, settings, nullptr));
        const std::string text = csv.str();
        return {text.begin(), text.end()};
    }
    PlotCanvas canvas;
    draw_or_tabulate(request.kind, samples, sample_rate_hz, settings, &canvas);
    return request.format == PlotFormat::png ? plot_windows::png_image(canvas, settings.size)
                                             : plot_windows::pdf_document(canvas, settings.size);
}

}  // namespace dot11b::cli
