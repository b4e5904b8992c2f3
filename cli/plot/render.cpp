#include "cli/plot/render.hpp"

#include <optional>
#include <sstream>
#include <stdexcept>
#include <variant>

#include "plots/gui/exporter.hpp"
#include "analyzer/analysis.hpp"
#include "plots/chip_timing.hpp"
#include "plots/chip_views.hpp"
#include "plots/gui/views.hpp"
#include "plots/plot_table.hpp"

namespace dot11b::cli {
namespace {

using plot_windows::PlotCanvas;

// Snapshots of the waterfall, in samples: 256 frequency points each.
constexpr double kWaterfallSnapshot = 256;

struct IqView {
    plots::IqTime curves;
    bool overlay;
};

// As the scatter view draws it: the trajectory (when asked for), then the
// points at the chip instants held on top.
struct ScatterView {
    std::optional<plots::ScatterPoints> trajectory;
    plots::ScatterPoints points;
};

using View = std::variant<plots::Spectrum, plots::Ccdf, IqView, plots::EyeDiagram, ScatterView, plots::Waterfall,
                          plots::Constellation, plots::ChipEvm>;

View compute_view(PlotKind kind, SampleSpan samples, double rate, const PlotSettings& settings) {
    const plots::ChipTiming timing = plots::chip_timing(rate);
    const double n = timing.samples_per_symbol;
    const double offset = plots::symbol_offset(timing, settings.symbol_delay);
    switch (kind) {
        case PlotKind::spectrum: return plots::magnitude_spectrum(samples, rate);
        case PlotKind::ccdf: return plots::ccdf(samples);
        case PlotKind::iq: return IqView{plots::iq_time(samples, rate), false};
        case PlotKind::iq_overlay: return IqView{plots::iq_time(samples, rate), true};
        case PlotKind::eye: return plots::chip_eye_diagram(samples, rate, settings.symbol_delay);
        case PlotKind::scatter: {
            const plots::SignalColumns columns = plots::iq_columns(samples);
            ScatterView view;
            if (settings.scatter_trace) view.trajectory = plots::scatter_points(columns, 1, offset);
            view.points = plots::scatter_points(columns, n, offset,
                                                view.trajectory ? view.trajectory->limit : plots::kFreshAxesLimit);
            return view;
        }
        case PlotKind::waterfall: return plots::waterfall(samples, rate, kWaterfallSnapshot / rate);
        case PlotKind::constellation:
            return plots::constellation(plots::first_burst_chips(analyzer::analyse(samples, rate)));
        case PlotKind::evm: return plots::chip_evm(plots::first_burst_chips(analyzer::analyse(samples, rate)));
    }
    throw std::logic_error("compute_view: a plot kind without a view");
}

template <class... Cases>
struct Overloaded : Cases... {
    using Cases::operator()...;
};

plots::PlotTable table_of(const View& view) {
    return std::visit(Overloaded{
                          [](const plots::Spectrum& s) { return plots::spectrum_table(s); },
                          [](const plots::Ccdf& c) { return plots::ccdf_table(c); },
                          [](const IqView& v) { return plots::iq_time_table(v.curves); },
                          [](const plots::EyeDiagram& e) { return plots::eye_table(e, "Time (chips)"); },
                          [](const ScatterView& v) { return plots::scatter_table(v.points); },
                          [](const plots::Waterfall& w) { return plots::waterfall_table(w); },
                          [](const plots::Constellation& c) { return plots::constellation_table(c); },
                          [](const plots::ChipEvm& e) { return plots::chip_evm_table(e); },
                      },
                      view);
}

void draw(PlotCanvas& canvas, View view) {
    std::visit(Overloaded{
                   [&](plots::Spectrum& s) { plot_windows::draw_spectrum(canvas, std::move(s)); },
                   [&](const plots::Ccdf& c) { plot_windows::draw_ccdf(canvas, c); },
                   [&](IqView& v) { plot_windows::draw_iq_time(canvas, std::move(v.curves), v.overlay); },
                   [&](const plots::EyeDiagram& e) {
                       plot_windows::draw_eye_diagram(canvas, e, plots::parse_plot_style("b-"));
                   },
                   [&](const ScatterView& v) {
                       if (v.trajectory) {
                           plot_windows::draw_scatter(canvas, *v.trajectory, plots::parse_plot_style("c-"), false);
                       }
                       plot_windows::draw_scatter(canvas, v.points, plots::parse_plot_style("b."), v.trajectory.has_value());
                   },
                   [&](const plots::Waterfall& w) { plot_windows::draw_waterfall(canvas, w); },
                   [&](const plots::Constellation& c) { plot_windows::draw_constellation(canvas, c); },
                   [&](const plots::ChipEvm& e) { plot_windows::draw_chip_evm(canvas, e); },
               },
               view);
}

}  // namespace

std::vector<std::uint8_t> render_plot(const PlotRequest& request, SampleSpan samples, double sample_rate_hz,
                                      const PlotSettings& settings) {
    View view = compute_view(request.kind, samples, sample_rate_hz, settings);
    if (request.format == PlotFormat::csv) {
        std::ostringstream csv;
        plots::write_csv(csv, table_of(view));
        const std::string text = csv.str();
        return {text.begin(), text.end()};
    }
    PlotCanvas canvas;
    draw(canvas, std::move(view));
    return request.format == PlotFormat::png ? plot_windows::png_image(canvas, settings.size)
                                             : plot_windows::pdf_document(canvas, settings.size);
}

}  // namespace dot11b::cli
