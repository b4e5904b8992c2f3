#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>

#include "analyzer/report_text.hpp"
#include "app/calculation.hpp"
#include "common/gui/testing/scripted_dialogs.hpp"
#include "plots/gui/plot_commands.hpp"

namespace dot11b::plot_windows {
namespace {

// The start-up defaults: 1024 zero octets at 11 Mbit/s CCK, oversampling 3.5.
Samples default_waveform() {
    app::FormatParameters p;
    app::refresh_derived_fields(p);
    return app::calculate(p).frame.samples;
}

QString report_of(PlotWindow& window) { return window.findChild<QPlainTextEdit*>("report")->toPlainText(); }
QString verdict_of(PlotWindow& window) { return window.findChild<QLabel*>("verdict")->text(); }

TEST(AnalysisWindow, ShowsTheReportVerdictAndSpectrumUnderTheMask) {
    const std::unique_ptr<PlotWindow> window(
        open_analysis_window(nullptr, "Test", 38.5e6, default_waveform(), analyzer::AnalysisOptions{}));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Analysis Test");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->findChild<QPlainTextEdit*>("report")->isReadOnly());
    const QString report = report_of(*window);
    EXPECT_TRUE(report.contains("rate:               11 Mbit/s CCK")) << report.toStdString();
    EXPECT_TRUE(report.contains("PSDU:               1024 octets")) << report.toStdString();
    EXPECT_TRUE(report.contains("result:             PASS")) << report.toStdString();
    EXPECT_EQ(verdict_of(*window), "PASS");

    QCustomPlot& canvas = window->canvas();
    ASSERT_EQ(canvas.plottableCount(), 2);
    EXPECT_EQ(canvas.plottable(0)->name(), "Spectrum");
    EXPECT_GT(canvas.graph(0)->dataCount(), 100);
    const auto* mask = qobject_cast<QCPCurve*>(canvas.plottable(1));
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->name(), "Mask limit");
    // -30 dBr from 11 MHz to the edge of the 38.5 MHz span, on both sides.
    ASSERT_EQ(mask->data()->size(), 5);
    EXPECT_DOUBLE_EQ(mask->data()->at(0)->key, -19.25);
    EXPECT_DOUBLE_EQ(mask->data()->at(0)->value, -30);
    EXPECT_DOUBLE_EQ(mask->data()->at(3)->key, 11);
    EXPECT_EQ(canvas.axisRect(0)->axis(QCPAxis::atBottom)->range(), QCPRange(-19.25, 19.25));
}

// Opened from a small window, whose width it would take 0.8 of (400 px),
// the window still shows every report line whole.
TEST(AnalysisWindow, OpensWideEnoughForTheLongestReportLine) {
    QMainWindow main;
    main.setGeometry(40, 40, 500, 400);
    const std::unique_ptr<PlotWindow> window(
        open_analysis_window(&main, "Test", 38.5e6, default_waveform(), analyzer::AnalysisOptions{}));
    ASSERT_NE(window, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const auto* report = window->findChild<QPlainTextEdit*>("report");
    const QFontMetrics metrics(report->font());
    int widest = 0;
    for (const QString& line : report_of(*window).split('\n')) widest = std::max(widest, metrics.horizontalAdvance(line));
    // Nothing is cut off: a line longer than the window is wide wraps.
    EXPECT_EQ(report->horizontalScrollBar()->maximum(), 0);
    // The window grows towards the longest line, up to the screen's width.
    const bool fits = report->viewport()->width() >= widest + 2 * report->document()->documentMargin();
    EXPECT_TRUE(fits || window->width() == window->screen()->availableGeometry().width())
        << window->width() << " px for lines of " << widest << " px";
    EXPECT_GT(window->width(), 400);
}

// Whatever lines the analyser reports (also ones added later), the window
// shows them all, in order: it holds no list of its own.
TEST(AnalysisWindow, ShowsEveryLineOfTheReport) {
    const Samples wave = default_waveform();
    const std::unique_ptr<PlotWindow> window(open_analysis_window(nullptr, "Test", 38.5e6, wave, {}));
    ASSERT_NE(window, nullptr);
    const std::string report = analyzer::report_text("waveform", analyzer::analyse(wave, 38.5e6));
    EXPECT_GT(std::count(report.begin(), report.end(), '\n'), 15);
    EXPECT_EQ(report_of(*window).trimmed().toStdString(), QString::fromStdString(report).trimmed().toStdString());
}

TEST(AnalysisWindow, SampleRateBelowTheChipRateGoesToThePlotErrorDialog) {
    gui::ScriptedDialogsScope scripted;
    EXPECT_EQ(open_analysis_window(nullptr, "x", 1e6, default_waveform(), {}), nullptr);
    ASSERT_EQ(scripted->shown().size(), 1U);
    EXPECT_EQ(scripted->shown()[0].title, "Plot Error");
    EXPECT_TRUE(scripted->shown()[0].text.starts_with("Unable to Analyze the Waveform\n")) << scripted->shown()[0].text;
}

}  // namespace
}  // namespace dot11b::plot_windows
