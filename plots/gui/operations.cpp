// Registry adapters of the plot windows. Each returns the numeric handle of
// the window it opened (empty when the eye or scatter view reported an error
// in its dialog), which the application keeps and closes at shut-down.

#include <QApplication>

#include "common/errors.hpp"
#include "common/gui/handles.hpp"
#include "frame/adapters.hpp"
#include "frame/console.hpp"
#include "frame/convert.hpp"
#include "plots/gui/plot_commands.hpp"

namespace dot11b::ops {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;
using plot_windows::PlotWindow;

// Plot windows are widgets, which only a running QApplication can make.
void require_application(const Inputs& in) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        throw ConfigError(std::string(in.operation()) +
                          ": plot windows need the desktop application, and no QApplication is running");
    }
}

// 0 places against the screen; so does a parent window that has closed since.
QWidget* parent_window(const Inputs& in, std::size_t index, std::string_view name) {
    const double handle = frame::to_scalar(in, index, name);
    return handle == 0 ? nullptr : qobject_cast<QWidget*>(gui::object_of(handle));
}

QString label_of(const Inputs& in, std::size_t index) {
    return QString::fromStdString(frame::to_text(in, index, "label"));
}

double scalar_or(const Inputs& in, std::size_t index, std::string_view name, double absent) {
    return in.has(index) ? frame::to_scalar(in, index, name) : absent;
}

Value handle_value(QWidget* window) { return window != nullptr ? Value::scalar(gui::handle_of(window)) : Value(); }

// x as the eye and scatter drawings take it: a vector is one column, a real
// matrix its columns, a complex value its real columns then its imaginary ones.
plots::SignalColumns signal_columns(const Inputs& in, std::size_t index, std::string_view name) {
    const Value& x = in.at(index, name);
    if (!x.is_numeric()) {
        throw ConfigError(std::string(in.operation()) + ": input " + std::string(name) +
                          " must be a real or complex vector or matrix");
    }
    const std::size_t rows = x.is_vector() ? x.numel() : x.rows();
    const std::size_t cols = x.empty() ? 0 : x.numel() / rows;
    plots::SignalColumns columns;
    if (x.kind() == Value::Kind::Double) {
        const auto values = x.reals();
        for (std::size_t c = 0; c < cols; ++c) columns.emplace_back(values.begin() + long(c * rows), values.begin() + long((c + 1) * rows));
        return columns;
    }
    const auto values = x.complexes();
    for (const bool imaginary : {false, true}) {
        for (std::size_t c = 0; c < cols; ++c) {
            std::vector<double>& column = columns.emplace_back();
            for (std::size_t r = 0; r < rows; ++r) {
                const auto v = values[c * rows + r];
                column.push_back(imaginary ? v.imag() : v.real());
            }
        }
    }
    return columns;
}

plots::PlotStyle plot_style(const Inputs& in, std::size_t index, const char* absent) {
    return plots::parse_plot_style(in.has(index) ? frame::to_text(in, index, "plotstring") : absent);
}

// The window `h` to draw into: none when h is absent or empty; a handle that
// is not a window is ignored with `warning`; a window of another kind is refused.
PlotWindow* drawing_target(const Inputs& in, std::size_t index, const QString& tag, const char* warning,
                           const char* refusal) {
    if (!in.has(index) || in.at(index, "h").empty()) return nullptr;
    auto* widget = qobject_cast<QWidget*>(gui::object_of(frame::to_scalar(in, index, "h")));
    if (widget == nullptr || !widget->isWindow()) {
        frame::print_warning(warning);
        return nullptr;
    }
    auto* window = qobject_cast<PlotWindow*>(widget);
    if (window == nullptr || window->objectName() != tag) throw ConfigError(refusal);
    return window;
}

Value shown(PlotWindow* window) {
    window->show();
    return handle_value(window);
}

}  // namespace

Outputs XR_PlotSpectrum(const Inputs& in, int) {
    require_application(in);
    QWidget* parent = parent_window(in, 0, "parent");
    const QString label = label_of(in, 1);
    const double rate = frame::to_scalar(in, 2, "sampleRate");
    const Samples wave = frame::to_samples(in, 3, "iqWave");
    return {handle_value(plot_windows::open_spectrum_window(parent, label, rate, wave))};
}

Outputs XR_PlotCCDF(const Inputs& in, int) {
    require_application(in);
    QWidget* parent = in.has(0) ? parent_window(in, 0, "parent") : nullptr;
    const QString label = in.has(1) ? label_of(in, 1) : QString("Test Data");
    const Samples wave = in.has(2) ? frame::to_samples(in, 2, "iqWave") : Samples{};
    return {handle_value(plot_windows::open_ccdf_window(parent, label, wave))};
}

Outputs XR_PlotIQTime(const Inputs& in, int) {
    require_application(in);
    QWidget* parent = parent_window(in, 0, "hParent");
    const QString label = label_of(in, 1);
    const double rate = frame::to_scalar(in, 2, "sampleRate");
    const bool overlay = frame::to_scalar(in, 3, "overlay") != 0;
    const Samples wave = frame::to_samples(in, 4, "iqWave");
    return {handle_value(plot_windows::open_iq_time_window(parent, label, rate, overlay, wave))};
}

Outputs XR_PlotWaterfall(const Inputs& in, int) {
    require_application(in);
    QWidget* parent = parent_window(in, 0, "parent");
    const QString label = label_of(in, 1);
    const double rate = frame::to_scalar(in, 2, "sampleRate");
    const double period = frame::to_scalar(in, 3, "period");
    const Samples wave = frame::to_samples(in, 4, "iqWave");
    return {handle_value(plot_windows::open_waterfall_window(parent, label, rate, period, wave))};
}

Outputs XR_PlotEyeDiagram(const Inputs& in, int) {
    require_application(in);
    QWidget* parent = parent_window(in, 0, "hParent");
    const QString label = label_of(in, 1);
    const plots::SignalColumns wave = signal_columns(in, 2, "iqWave");
    const double n = frame::to_scalar(in, 3, "n");
    const double period = frame::to_scalar(in, 4, "period");
    const double offset = frame::to_scalar(in, 5, "offset");
    return {handle_value(plot_windows::open_eye_diagram_window(parent, label, wave, n, period, offset))};
}

Outputs XR_PlotScatterDiagram(const Inputs& in, int) {
    require_application(in);
    QWidget* parent = parent_window(in, 0, "hParent");
    const QString label = label_of(in, 1);
    const plots::SignalColumns wave = signal_columns(in, 2, "iqWave");
    const double n = frame::to_scalar(in, 3, "n");
    const double offset = frame::to_scalar(in, 4, "offset");
    const bool trace_on = frame::to_scalar(in, 5, "traceOn") != 0;
    return {handle_value(plot_windows::open_scatter_window(parent, label, wave, n, offset, trace_on))};
}

// XR_PlotAnalysis(parent, label, sampleRate, iqWave, mirrored, carrierFrequency):
// a waveform built mirrored (mirrored not 0) is analysed as such; the carrier
// in Hz gives the frequency offsets in ppm, 2412 MHz when absent.
Outputs XR_PlotAnalysis(const Inputs& in, int) {
    require_application(in);
    QWidget* parent = parent_window(in, 0, "parent");
    const QString label = label_of(in, 1);
    const double rate = frame::to_scalar(in, 2, "sampleRate");
    const Samples wave = frame::to_samples(in, 3, "iqWave");
    analyzer::AnalysisOptions options;
    options.mirror = scalar_or(in, 4, "mirrored", 0) != 0;
    if (in.has(5)) options.carrier_frequency_hz = frame::to_scalar(in, 5, "carrierFrequency");
    return {handle_value(plot_windows::open_analysis_window(parent, label, rate, wave, options))};
}

// XR_PlotConstellation and XR_PlotChipEVM(parent, label, sampleRate, iqWave,
// mirrored): the chip views of the analysis window, for the waveform's first burst.
analyzer::AnalysisOptions chip_view_options(const Inputs& in) {
    analyzer::AnalysisOptions options;
    options.mirror = scalar_or(in, 4, "mirrored", 0) != 0;
    return options;
}

Outputs XR_PlotConstellation(const Inputs& in, int) {
    require_application(in);
    QWidget* parent = parent_window(in, 0, "parent");
    const QString label = label_of(in, 1);
    const double rate = frame::to_scalar(in, 2, "sampleRate");
    const Samples wave = frame::to_samples(in, 3, "iqWave");
    return {handle_value(plot_windows::open_constellation_window(parent, label, rate, wave, chip_view_options(in)))};
}

Outputs XR_PlotChipEVM(const Inputs& in, int) {
    require_application(in);
    QWidget* parent = parent_window(in, 0, "parent");
    const QString label = label_of(in, 1);
    const double rate = frame::to_scalar(in, 2, "sampleRate");
    const Samples wave = frame::to_samples(in, 3, "iqWave");
    return {handle_value(plot_windows::open_chip_evm_window(parent, label, rate, wave, chip_view_options(in)))};
}

Outputs eyediagram(const Inputs& in, int) {
    require_application(in);
    const plots::SignalColumns x = signal_columns(in, 0, "x");
    const double n = frame::to_scalar(in, 1, "n");
    const double period = scalar_or(in, 2, "period", 1);
    const double offset = scalar_or(in, 3, "offset", 0);
    const plots::PlotStyle line = plot_style(in, 4, "b-");
    PlotWindow* into = drawing_target(in, 5, plot_windows::kEyeDiagramTag,
                                      "Ignoring invalid handle H. Creating a new eye diagram.",
                                      "Figure is not an existing eye diagram.\nUse an existing eye diagram or do not "
                                      "use a figure handle as an input");
    return {shown(plot_windows::eye_diagram_window(x, n, period, offset, line, into))};
}

Outputs scatterplot(const Inputs& in, int) {
    require_application(in);
    const plots::SignalColumns x = signal_columns(in, 0, "x");
    const double n = scalar_or(in, 1, "n", 1);
    const double offset = scalar_or(in, 2, "offset", 0);
    const plots::PlotStyle line = plot_style(in, 3, "b.");
    PlotWindow* into = drawing_target(in, 4, plot_windows::kScatterPlotTag,
                                      "Ignoring invalid handle, H. Creating a new scatter plot.",
                                      "Figure is not an existing scatter plot.\nUse an existing scatter plot or do not "
                                      "use a figure handle as an input");
    return {shown(plot_windows::scatter_plot_window(x, n, offset, line, into))};
}

// waterfall(x, sampleRate, period, h): the snapshot spectra of x in a new
// window, or redrawn in the waterfall window h. sampleRate defaults to 1 Hz
// and period to ten samples.
Outputs waterfall(const Inputs& in, int) {
    require_application(in);
    const Samples x = frame::to_samples(in, 0, "x");
    const double rate = scalar_or(in, 1, "sampleRate", 1);
    const double period = scalar_or(in, 2, "period", 0);
    PlotWindow* into = drawing_target(in, 3, plot_windows::kWaterfallTag,
                                      "Ignoring invalid handle H. Creating a new waterfall.",
                                      "Figure is not an existing waterfall.\nUse an existing waterfall or do not use "
                                      "a figure handle as an input");
    return {shown(plot_windows::waterfall_window(x, rate, period, into))};
}

// Toggles the zoom tool of the plot window in use, as its Tools menu does.
Outputs XR_Zoom(const Inputs&, int) {
    PlotWindow* window = PlotWindow::current();
    if (window == nullptr) throw ConfigError("XR_Zoom: there is no plot window to zoom");
    window->set_zoom_mode(!window->zoom_mode());
    return {};
}

// The views are two-dimensional and have nothing to rotate; the menu item
// stays disabled and the operation leaves the window as it is.
Outputs XR_Rotate(const Inputs&, int) { return {}; }

}  // namespace dot11b::ops
