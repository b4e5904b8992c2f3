#include "plots/gui/plot_commands.hpp"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include <QApplication>
#include <QFontMetrics>
#include <QScreen>
#include <QStyle>

#include "common/gui/busy_pointer.hpp"
#include "common/gui/dialog_service.hpp"
#include "common/gui/window_font.hpp"
#include "plots/analysis_view.hpp"
#include "plots/gui/placement.hpp"
#include "plots/gui/report_panel.hpp"
#include "plots/gui/views.hpp"

namespace dot11b::plot_windows {
namespace {

// Sizes of new windows of the generic drawings, before any placement.
constexpr QSize kEyeWindowTwoAxes{460, 540};
constexpr QSize kEyeWindowOneAxes{460, 360};
constexpr int kScatterWindowSide = 420;
constexpr QSize kWaterfallWindow{560, 420};

// The corner each plot window's placement rule gave it, cascaded, before any
// widening: the places the next windows cascade from.
constexpr const char* kCascadeCorner = "cascadeCorner";

std::vector<QPoint> plot_window_corners(const PlotWindow* apart_from) {
    std::vector<QPoint> corners;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window != apart_from && window->isVisible() && window->property(kCascadeCorner).isValid()) {
            corners.push_back(window->property(kCascadeCorner).toPoint());
        }
    }
    return corners;
}

QRect available_screen(const QWidget* parent) {
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
}

// The window takes the font of the window it was opened from (scaled there
// with the application's fonts) and opens at its placement, cascaded from
// the plot windows already open.
PlotWindow* shown(QWidget* parent, PlotWindow* window, const QRect& placement, const QString& name) {
    if (parent != nullptr) gui::set_window_font(window, parent->window()->font());
    const int step = std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window),
                              2 * QFontMetrics(window->font()).height());
    const QRect screen = available_screen(parent);
    QRect placed = cascaded(placement, plot_window_corners(window), screen, step);
    window->setProperty(kCascadeCorner, placed.topLeft());
    // Wider where the contents ask for it (the analysis report's lines); the
    // title bar, which the window's geometry leaves out, on the screen too.
    placed.setWidth(std::max(placed.width(), window->sizeHint().width()));
    window->setGeometry(on_screen(placed, screen.adjusted(0, step, 0, 0)));
    window->setWindowTitle(name);
    window->remember_limits();
    window->show();
    return window;
}

PlotWindow* new_window(const QString& tag, const QString& name, const QSize& size) {
    auto* window = new PlotWindow(tag);
    window->setWindowTitle(name);
    window->resize(size);
    return window;
}

}  // namespace

PlotWindow* open_spectrum_window(QWidget* parent, const QString& label, double sample_rate_hz, SampleSpan iq_wave) {
    auto* window = new PlotWindow("Magnitude Spectrum");
    draw_spectrum(window->canvas(), plots::magnitude_spectrum(iq_wave, sample_rate_hz));
    return shown(parent, window, spectrum_placement(parent), "Magnitude Spectrum " + label);
}

PlotWindow* open_ccdf_window(QWidget* parent, const QString& label, SampleSpan iq_wave) {
    auto* window = new PlotWindow("CCDF");
    draw_ccdf(window->canvas(), plots::ccdf(iq_wave));
    return shown(parent, window, shared_placement(parent), "CCDF " + label);
}

PlotWindow* open_iq_time_window(QWidget* parent, const QString& label, double sample_rate_hz, bool overlay,
                                SampleSpan iq_wave) {
    plots::IqTime view = plots::iq_time(iq_wave, sample_rate_hz);
    const QString shown_label = view.no_data ? "No Data" : label;
    auto* window = new PlotWindow("I(t) Q(t)");
    draw_iq_time(window->canvas(), std::move(view), overlay);
    return shown(parent, window, shared_placement(parent), "I(t) Q(t) " + shown_label);
}

PlotWindow* open_waterfall_window(QWidget* parent, const QString& label, double sample_rate_hz, double period_s,
                                  SampleSpan iq_wave) {
    PlotWindow* window = waterfall_window(iq_wave, sample_rate_hz, period_s, nullptr);
    return shown(parent, window, shared_placement(parent), "Spectrum Waterfall " + label);
}

PlotWindow* open_eye_diagram_window(QWidget* parent, const QString& label, const plots::SignalColumns& iq_wave,
                                    double n, double period, double offset) {
    n = std::max(1.0, n);
    offset = std::min(n - 1, std::max(0.0, offset));
    if (period == 0) period = 1;
    const QRect placement = shared_placement(parent);
    try {
        PlotWindow* window = eye_diagram_window(iq_wave, n, period, offset, plots::parse_plot_style("b-"), nullptr);
        return shown(parent, window, placement, "Eye Diagram " + label);
    } catch (const std::exception& e) {
        gui::dialogs().error(parent, "Plot Error", std::string("Unable to Plot Eye Diagram\n") + e.what());
        return nullptr;
    }
}

PlotWindow* open_scatter_window(QWidget* parent, const QString& label, const plots::SignalColumns& iq_wave, double n,
                                double offset, bool trace_on) {
    n = std::max(1.0, n);
    offset = std::min(n - 1, std::max(0.0, offset));
    const QRect placement = shared_placement(parent);
    std::unique_ptr<PlotWindow> window;
    try {
        if (!trace_on) {
            window.reset(scatter_plot_window(iq_wave, n, offset, plots::parse_plot_style("b."), nullptr));
        } else {
            // Every sample joined by a cyan line, the decimated ones as blue dots on top.
            window.reset(scatter_plot_window(iq_wave, 1, offset, plots::parse_plot_style("c-"), nullptr));
            window->set_hold(true);
            scatter_plot_window(iq_wave, n, offset, plots::parse_plot_style("b."), window.get());
            window->set_hold(false);
        }
        return shown(parent, window.release(), placement, "Scatter Diagram " + label);
    } catch (const std::exception& e) {
        // A window half drawn would be left open and owned by no one.
        gui::dialogs().error(parent, "Plot Error", std::string("Unable to Plot Scatter Diagram\n") + e.what());
        return nullptr;
    }
}

// The analysis of a waveform as the analysis window and its views show it;
// none, with the error in the "Plot Error" dialog, when the analyser cannot take it.
std::optional<plots::AnalysisView> analysis_view(QWidget* parent, double sample_rate_hz, SampleSpan iq_wave,
                                                 const analyzer::AnalysisOptions& options) {
    try {
        const gui::BusyPointer busy(parent);
        return plots::analysis_view(analyzer::analyse(iq_wave, sample_rate_hz, options), "waveform");
    } catch (const std::exception& e) {
        gui::dialogs().error(parent, "Plot Error", std::string("Unable to Analyze the Waveform\n") + e.what());
        return std::nullopt;
    }
}

PlotWindow* open_analysis_window(QWidget* parent, const QString& label, double sample_rate_hz, SampleSpan iq_wave,
                                 const analyzer::AnalysisOptions& options) {
    const std::optional<plots::AnalysisView> view = analysis_view(parent, sample_rate_hz, iq_wave, options);
    if (!view) return nullptr;
    auto* window = new PlotWindow("Analysis");
    draw_analysis(window->canvas(), *view);
    window->add_panel_below(new ReportPanel(view->verdict, view->passed, view->report));
    window->offer_chip_views(
        [window, label, points = view->constellation] { open_constellation_window(window, label, points); },
        [window, label, evm = view->chip_evm] { open_chip_evm_window(window, label, evm); });
    return shown(parent, window, shared_placement(parent), "Analysis " + label);
}

PlotWindow* open_constellation_window(QWidget* parent, const QString& label, double sample_rate_hz,
                                      SampleSpan iq_wave, const analyzer::AnalysisOptions& options) {
    const std::optional<plots::AnalysisView> view = analysis_view(parent, sample_rate_hz, iq_wave, options);
    return view ? open_constellation_window(parent, label, view->constellation) : nullptr;
}

PlotWindow* open_chip_evm_window(QWidget* parent, const QString& label, double sample_rate_hz, SampleSpan iq_wave,
                                 const analyzer::AnalysisOptions& options) {
    const std::optional<plots::AnalysisView> view = analysis_view(parent, sample_rate_hz, iq_wave, options);
    return view ? open_chip_evm_window(parent, label, view->chip_evm) : nullptr;
}

PlotWindow* open_constellation_window(QWidget* parent, const QString& label, const plots::Constellation& view) {
    auto* window = new PlotWindow("Constellation");
    draw_constellation(window->canvas(), view);
    return shown(parent, window, shared_placement(parent), "Constellation " + label);
}

PlotWindow* open_chip_evm_window(QWidget* parent, const QString& label, const plots::ChipEvm& view) {
    auto* window = new PlotWindow("EVM vs Chip");
    draw_chip_evm(window->canvas(), view);
    return shown(parent, window, shared_placement(parent), "EVM vs Chip " + label);
}

PlotWindow* eye_diagram_window(const plots::SignalColumns& x, double n, double period, double offset,
                               const plots::PlotStyle& line, PlotWindow* into) {
    const plots::EyeDiagram eye = plots::eye_diagram(x, n, period, offset);
    PlotWindow* window = into;
    if (window == nullptr) {
        window = new_window(kEyeDiagramTag, kEyeDiagramTag, eye.traces.size() == 2 ? kEyeWindowTwoAxes : kEyeWindowOneAxes);
    }
    draw_eye_diagram(window->canvas(), eye, line);
    window->remember_limits();
    return window;
}

PlotWindow* scatter_plot_window(const plots::SignalColumns& x, double n, double offset, const plots::PlotStyle& line,
                                PlotWindow* into) {
    const double axes_limit = into != nullptr ? scatter_axes_limit(into->canvas()) : plots::kFreshAxesLimit;
    const plots::ScatterPoints points = plots::scatter_points(x, n, offset, axes_limit);
    PlotWindow* window = into;
    if (window == nullptr) window = new_window(kScatterPlotTag, kScatterPlotTag, {kScatterWindowSide, kScatterWindowSide});
    draw_scatter(window->canvas(), points, line, window->is_held());
    window->remember_limits();
    return window;
}

PlotWindow* waterfall_window(SampleSpan x, double sample_rate_hz, double period_s, PlotWindow* into) {
    const plots::Waterfall view = plots::waterfall(x, sample_rate_hz, period_s);
    PlotWindow* window = into != nullptr ? into : new_window(kWaterfallTag, "Spectrum Waterfall", kWaterfallWindow);
    draw_waterfall(window->canvas(), view);
    window->remember_limits();
    return window;
}

}  // namespace dot11b::plot_windows
