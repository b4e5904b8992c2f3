#pragma once
// The plot commands: each computes its view, draws it in a plot window with
// the shared frame, and returns the window. The open_* commands place, name
// and show their window; the generic eye, scatter and waterfall drawings
// return a new window hidden (or draw into the one given) for the caller to show.

#include <QString>

#include "analyzer/analysis.hpp"
#include "common/types.hpp"
#include "plots/gui/plot_window.hpp"
#include "plots/chip_views.hpp"
#include "plots/plot_style.hpp"
#include "plots/signal_columns.hpp"

namespace dot11b::plot_windows {

// Tags of the windows the generic drawings make (and accept to draw into).
inline const QString kEyeDiagramTag = "Eye Diagram";
inline const QString kScatterPlotTag = "Scatter Plot";
inline const QString kWaterfallTag = "Waterfall";

// `parent` is the window placed against (nullptr: the screen).
PlotWindow* open_spectrum_window(QWidget* parent, const QString& label, double sample_rate_hz, SampleSpan iq_wave);
PlotWindow* open_ccdf_window(QWidget* parent, const QString& label, SampleSpan iq_wave);
PlotWindow* open_iq_time_window(QWidget* parent, const QString& label, double sample_rate_hz, bool overlay,
                                SampleSpan iq_wave);
PlotWindow* open_waterfall_window(QWidget* parent, const QString& label, double sample_rate_hz, double period_s,
                                  SampleSpan iq_wave);
// These two clamp n and offset, and report any error in the "Plot Error"
// dialog instead of raising it; they then return nullptr.
PlotWindow* open_eye_diagram_window(QWidget* parent, const QString& label, const plots::SignalColumns& iq_wave,
                                    double n, double period, double offset);
PlotWindow* open_scatter_window(QWidget* parent, const QString& label, const plots::SignalColumns& iq_wave, double n,
                                double offset, bool trace_on);
// Decodes and measures the waveform, then shows the spectrum with the mask
// above the verdict and the report; its Views menu opens the chip views. A waveform the analyser cannot take
// (a sample rate below the chip rate) is reported in the "Plot Error" dialog;
// it then returns nullptr.
PlotWindow* open_analysis_window(QWidget* parent, const QString& label, double sample_rate_hz, SampleSpan iq_wave,
                                 const analyzer::AnalysisOptions& options);

// The chip views of an analysis; `parent` is the analysis window they belong to.
PlotWindow* open_constellation_window(QWidget* parent, const QString& label, const plots::Constellation& view);
PlotWindow* open_chip_evm_window(QWidget* parent, const QString& label, const plots::ChipEvm& view);
// The same views of a waveform analysed first, its errors reported as by the analysis window.
PlotWindow* open_constellation_window(QWidget* parent, const QString& label, double sample_rate_hz,
                                      SampleSpan iq_wave, const analyzer::AnalysisOptions& options);
PlotWindow* open_chip_evm_window(QWidget* parent, const QString& label, double sample_rate_hz, SampleSpan iq_wave,
                                 const analyzer::AnalysisOptions& options);

// Generic drawings; `into` is an existing window of their tag or nullptr.
// They raise ConfigError for bad arguments, before any window is made.
PlotWindow* eye_diagram_window(const plots::SignalColumns& x, double n, double period, double offset,
                               const plots::PlotStyle& line, PlotWindow* into);
PlotWindow* scatter_plot_window(const plots::SignalColumns& x, double n, double offset, const plots::PlotStyle& line,
                                PlotWindow* into);
PlotWindow* waterfall_window(SampleSpan x, double sample_rate_hz, double period_s, PlotWindow* into);

}  // namespace dot11b::plot_windows
