#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <algorithm>
#include <cmath>
#include <complex>
#include <memory>
#include <numbers>

#include "app/calculation.hpp"
#include "plots/gui/plot_commands.hpp"

namespace dot11b::plot_windows {
namespace {

constexpr double kRate = 38.5e6;  // the default oversampling of 3.5
constexpr double kSamplesPerChip = 3.5;
// 1024 octets at 11 Mbit/s: CCK carries 8 bits on 8 chips.
constexpr int kPsduChips = 1024 * 8;
// The EVM leaves out the last chips, whose reference would need chips after the frame.
constexpr int kTailChips = 16;

Samples default_waveform() {
    app::FormatParameters p;
    app::refresh_derived_fields(p);
    return app::calculate(p).frame.samples;
}

// Opens the analysis of `wave`, then the view its Views menu item `tag` opens.
struct ChipViewWindows {
    std::unique_ptr<PlotWindow> analysis;
    std::unique_ptr<PlotWindow> view;
};

ChipViewWindows open_chip_view(const Samples& wave, const char* tag) {
    ChipViewWindows windows;
    windows.analysis.reset(open_analysis_window(nullptr, "Test", kRate, wave, analyzer::AnalysisOptions{}));
    if (!windows.analysis) return windows;
    auto* item = windows.analysis->findChild<QAction*>(tag);
    if (item == nullptr || !item->isVisible()) return windows;
    item->trigger();
    if (PlotWindow::current() != windows.analysis.get()) windows.view.reset(PlotWindow::current());
    return windows;
}

std::vector<double> evm_percent(const PlotWindow& window) {
    std::vector<double> values;
    for (const QCPGraphData& point : *window.canvas().graph(0)->data()) values.push_back(point.value);
    return values;
}

TEST(ChipViews, OnlyTheAnalysisWindowOffersThem) {
    const std::unique_ptr<PlotWindow> spectrum(open_spectrum_window(nullptr, "Test", kRate, default_waveform()));
    EXPECT_FALSE(spectrum->findChild<QMenu*>("menuViews")->menuAction()->isVisible());
    const std::unique_ptr<PlotWindow> analysis(
        open_analysis_window(nullptr, "Test", kRate, default_waveform(), analyzer::AnalysisOptions{}));
    EXPECT_TRUE(analysis->findChild<QMenu*>("menuViews")->menuAction()->isVisible());
}

TEST(ChipViews, ConstellationOfACleanBurstSitsOnTheQpskPoints) {
    const ChipViewWindows windows = open_chip_view(default_waveform(), "XR_PlotConstellation");
    ASSERT_NE(windows.view, nullptr);
    EXPECT_EQ(windows.view->windowTitle(), "Constellation Test");
    QCustomPlot& canvas = windows.view->canvas();
    ASSERT_EQ(canvas.plottableCount(), 2);
    const auto* chips = qobject_cast<QCPCurve*>(canvas.plottable(0));
    const auto* ideal = qobject_cast<QCPCurve*>(canvas.plottable(1));
    ASSERT_NE(chips, nullptr);
    ASSERT_NE(ideal, nullptr);
    EXPECT_LE(chips->data()->size(), kPsduChips);
    EXPECT_GE(chips->data()->size(), kPsduChips - kTailChips);

    // The phases of differential QPSK after a preamble that starts at phase 0.
    std::vector<Complex> points;
    for (const QCPCurveData& p : *ideal->data()) points.emplace_back(p.key, p.value);
    ASSERT_EQ(points.size(), 4U);
    for (const Complex expected : {Complex(1, 0), Complex(0, 1), Complex(-1, 0), Complex(0, -1)}) {
        EXPECT_TRUE(std::any_of(points.begin(), points.end(), [&](Complex p) { return std::abs(p - expected) < 1e-9; }))
            << "no ideal point at " << expected;
    }
    for (const QCPCurveData& p : *chips->data()) {
        const Complex chip(p.key, p.value);
        const double nearest = std::abs(*std::min_element(points.begin(), points.end(), [&](Complex a, Complex b) {
            return std::abs(chip - a) < std::abs(chip - b);
        }) - chip);
        ASSERT_LT(nearest, 0.35) << "chip " << p.t << " at " << chip;
    }
}

TEST(ChipViews, EvmRisesOnlyAtTheChipsOfARotatedStretch) {
    // 30 degrees of phase on 2000 samples in the middle of the PSDU: about 40 %
    // EVM there, a few percent elsewhere.
    Samples wave = default_waveform();
    const std::size_t first = wave.size() * 6 / 10;
    const std::size_t stretch = 2000;
    for (std::size_t k = first; k < first + stretch; ++k) wave[k] *= std::polar(1.0, std::numbers::pi / 6);

    const ChipViewWindows clean = open_chip_view(default_waveform(), "XR_PlotChipEVM");
    const ChipViewWindows impaired = open_chip_view(wave, "XR_PlotChipEVM");
    ASSERT_NE(clean.view, nullptr);
    ASSERT_NE(impaired.view, nullptr);
    const std::vector<double> before = evm_percent(*clean.view);
    const std::vector<double> after = evm_percent(*impaired.view);
    ASSERT_LE(before.size(), static_cast<std::size_t>(kPsduChips));
    ASSERT_GE(before.size(), static_cast<std::size_t>(kPsduChips - kTailChips));
    ASSERT_EQ(after.size(), before.size());
    EXPECT_LT(*std::max_element(before.begin(), before.end()), 20);

    std::vector<std::size_t> risen;
    for (std::size_t k = 0; k < after.size(); ++k) {
        if (after[k] > 25) risen.push_back(k);
    }
    const double expected = stretch / kSamplesPerChip;
    ASSERT_FALSE(risen.empty());
    EXPECT_NEAR(static_cast<double>(risen.size()), expected, 0.03 * expected);
    // One run: the first and last risen chips span the stretch and no more.
    EXPECT_LE(static_cast<double>(risen.back() - risen.front() + 1), 1.03 * expected);
    // The chips outside the stretch keep their error.
    for (std::size_t k = 0; k < after.size(); ++k) {
        if (k + 5 < risen.front() || k > risen.back() + 5) {
            ASSERT_LT(after[k], before[k] + 10) << "chip " << k;
        }
    }
}

}  // namespace
}  // namespace dot11b::plot_windows
