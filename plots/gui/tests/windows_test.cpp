#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <regex>
#include <sstream>

#include <QApplication>
#include <QClipboard>
#include <QMenuBar>

#include "common/gui/testing/scripted_dialogs.hpp"
#include "plots/eye_diagram.hpp"
#include "plots/gui/exporter.hpp"
#include "plots/gui/placement.hpp"
#include "plots/gui/plot_commands.hpp"
#include "plots/gui/view_support.hpp"
#include "plots/iq_time.hpp"
#include "plots/spectrum.hpp"

namespace dot11b::plot_windows {
namespace {

Samples test_wave(std::size_t n) {
    Samples x(n);
    for (std::size_t k = 0; k < n; ++k) x[k] = {std::cos(0.37 * double(k)), 0.5 * std::sin(0.11 * double(k))};
    return x;
}

struct AxesFacts {
    QString tag, title, x_label, y_label;
    QCPRange x, y;
    bool log_y, grid;
};

// The axes of a window in layout order, with the title above each.
std::vector<AxesFacts> axes_of(PlotWindow& window) {
    std::vector<AxesFacts> facts;
    QCPLayoutGrid* layout = window.canvas().plotLayout();
    for (int row = 1; row < layout->rowCount(); row += 2) {
        auto* axes = qobject_cast<QCPAxisRect*>(layout->element(row, 0));
        auto* title = qobject_cast<QCPTextElement*>(layout->element(row - 1, 0));
        QCPAxis* x = axes->axis(QCPAxis::atBottom);
        QCPAxis* y = axes->axis(QCPAxis::atLeft);
        facts.push_back({axes->objectName(), title->text(), x->label(), y->label(), x->range(), y->range(),
                         y->scaleType() == QCPAxis::stLogarithmic, x->grid()->visible() && y->grid()->visible()});
    }
    return facts;
}

using Owned = std::unique_ptr<PlotWindow>;

TEST(PlotWindows, NamesAxesLabelsAndLimitsOfEveryView) {
    const Samples wave = test_wave(1000);
    const QString label = "IEEE 802.11b-1999 (DSSS) (08-Dec-2026 10:00:00)";

    Owned spectrum(open_spectrum_window(nullptr, label, 11e6, wave));
    EXPECT_EQ(spectrum->windowTitle(), "Magnitude Spectrum " + label);
    auto axes = axes_of(*spectrum);
    ASSERT_EQ(axes.size(), 1U);
    EXPECT_EQ(axes[0].title, "Spectrum");
    EXPECT_EQ(axes[0].x_label, "Frequency (MHz)");
    EXPECT_EQ(axes[0].y_label, "LogMag (dB)");
    EXPECT_EQ(axes[0].x, QCPRange(-5.5, 5.5));
    EXPECT_EQ(axes[0].y.upper, 0);
    EXPECT_TRUE(axes[0].grid);

    Owned ccdf(open_ccdf_window(nullptr, label, wave));
    EXPECT_EQ(ccdf->windowTitle(), "CCDF " + label);
    axes = axes_of(*ccdf);
    EXPECT_EQ(axes[0].tag, "XR_CCDF");
    EXPECT_EQ(axes[0].title, "CCDF");
    EXPECT_EQ(axes[0].x_label, "dB above Average");
    EXPECT_EQ(axes[0].y_label, "Frequency of occurence (%)");
    EXPECT_TRUE(axes[0].log_y);
    EXPECT_TRUE(axes[0].grid);
    EXPECT_EQ(axes[0].x, QCPRange(0, 20));
    EXPECT_EQ(axes[0].y, QCPRange(0.001, 100));
    EXPECT_EQ(ccdf->canvas().graph(1)->pen().color(), QColor(179, 179, 179));

    Owned stacked(open_iq_time_window(nullptr, label, 38.5e6, false, wave));
    EXPECT_EQ(stacked->windowTitle(), "I(t) Q(t) " + label);
    axes = axes_of(*stacked);
    ASSERT_EQ(axes.size(), 2U);
    EXPECT_EQ(axes[0].tag, "XR_Iwave");
    EXPECT_EQ(axes[0].title, "I(t)");
    EXPECT_EQ(axes[0].x_label, "");
    EXPECT_EQ(axes[1].tag, "XR_Qwave");
    EXPECT_EQ(axes[1].x_label, "Time (uS)");
    EXPECT_EQ(axes[1].y_label, "Amplitude (V)");
    EXPECT_EQ(axes[0].y, axes[1].y);
    EXPECT_NEAR(axes[1].x.upper, 1000 / 38.5, 1e-9);

    Owned overlay(open_iq_time_window(nullptr, label, 38.5e6, true, {}));
    EXPECT_EQ(overlay->windowTitle(), "I(t) Q(t) No Data");
    axes = axes_of(*overlay);
    ASSERT_EQ(axes.size(), 1U);
    EXPECT_EQ(axes[0].tag, "XR_IQwave");
    EXPECT_EQ(axes[0].title, "I(t) Q(t)");
    EXPECT_EQ(overlay->canvas().graph(1)->pen().color(), QColor(255, 0, 255));

    Owned eye(open_eye_diagram_window(nullptr, label, plots::iq_columns(wave), 4, 1, 0));
    EXPECT_EQ(eye->windowTitle(), "Eye Diagram " + label);
    EXPECT_EQ(eye->objectName(), "Eye Diagram");
    axes = axes_of(*eye);
    ASSERT_EQ(axes.size(), 2U);
    EXPECT_EQ(axes[0].title, "Eye Diagram for In-Phase Signal");
    EXPECT_EQ(axes[1].title, "Eye Diagram for Quadrature Signal");
    EXPECT_EQ(axes[1].x_label, "Time");
    EXPECT_EQ(axes[1].y_label, "Amplitude");
    EXPECT_EQ(axes[0].x, QCPRange(-0.5, 0.5));

    Owned scatter(open_scatter_window(nullptr, label, plots::iq_columns(wave), 4, 0, false));
    EXPECT_EQ(scatter->windowTitle(), "Scatter Diagram " + label);
    axes = axes_of(*scatter);
    EXPECT_EQ(axes[0].title, "Scatter plot");
    EXPECT_EQ(axes[0].x_label, "In-Phase");
    EXPECT_EQ(axes[0].y_label, "Quadrature");

    Owned waterfall(open_waterfall_window(nullptr, label, 38.5e6, 1e-6, wave));
    EXPECT_EQ(waterfall->windowTitle(), "Spectrum Waterfall " + label);
    axes = axes_of(*waterfall);
    EXPECT_EQ(axes[0].x_label, "Frequency (MHz)");
    EXPECT_EQ(axes[0].y_label, "Time (uS)");
    auto* scale = qobject_cast<QCPColorScale*>(waterfall->canvas().plotLayout()->element(1, 1));
    ASSERT_NE(scale, nullptr);
    EXPECT_EQ(scale->axis()->label(), "LogMag (dB)");
}

TEST(PlotWindows, MenusOfTheSharedFrame) {
    Owned window(open_ccdf_window(nullptr, "x", test_wave(100)));
    std::vector<QStringList> menus;
    for (QAction* menu : window->menuBar()->actions()) {
        if (!menu->isVisible()) continue;  // the analysis window's Views
        QStringList items{menu->text()};
        for (QAction* item : menu->menu()->actions()) items << (item->isSeparator() ? "-" : item->text());
        menus.push_back(items);
    }
    EXPECT_EQ(menus, (std::vector<QStringList>{{"&File", "&Print", "Print &Setup", "-", "&Close"},
                                               {"&Edit", "&Copy"},
                                               {"&Tools", "&Zoom", "&Rotate", "-", "Zoom Re&set"}}));
    EXPECT_FALSE(window->findChild<QAction*>("XR_Rotate")->isEnabled());
    ASSERT_NE(window->findChild<QAction*>("XR_Zoom"), nullptr);
    ASSERT_NE(window->findChild<QAction*>("XR_ZoomReset"), nullptr);
}

TEST(PlotWindows, ZoomResetCopyPrintAndClose) {
    gui::ScriptedDialogsScope scripted;
    auto* window = open_spectrum_window(nullptr, "x", 1e6, test_wave(5000));
    QCPAxis* x = window->canvas().axisRect(0)->axis(QCPAxis::atBottom);
    const QCPRange home = x->range();

    window->findChild<QAction*>("XR_Zoom")->trigger();
    EXPECT_EQ(window->canvas().selectionRectMode(), QCP::srmZoom);
    x->setRange(0.1, 0.2);
    window->findChild<QAction*>("XR_ZoomReset")->trigger();
    EXPECT_EQ(x->range(), home);

    QApplication::clipboard()->clear();
    window->findChild<QAction*>("actionCopy")->trigger();
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());

    const auto pdf = std::filesystem::temp_directory_path() / "dot11b-plot-window-print.pdf";
    std::filesystem::remove(pdf);
    scripted->answer_file(pdf);
    window->findChild<QAction*>("actionPrint")->trigger();
    EXPECT_GT(std::filesystem::file_size(pdf), 0U);
    std::filesystem::remove(pdf);
    scripted->close_next();
    window->findChild<QAction*>("actionPrintSetup")->trigger();
    EXPECT_TRUE(scripted->all_answers_used());

    QPointer<PlotWindow> closing(window);
    window->findChild<QAction*>("actionClose")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
}

// Every pixel column of the drawn spectrum reaches the highest and the lowest
// level of the bins that fall in it, at any window size.
TEST(PlotWindows, SpectrumTraceReachesTheExtremesOfEveryColumn) {
    Samples wave(20000);
    std::mt19937 random(5);
    std::normal_distribution<double> noise;
    for (Complex& x : wave) x = {noise(random), noise(random)};
    const plots::Spectrum expected = plots::magnitude_spectrum(wave, 11e6);
    Owned window(open_spectrum_window(nullptr, "x", 11e6, wave));
    window->show();
    for (const QSize size : {QSize(440, 400), QSize(800, 480), QSize(1037, 611)}) {
        window->resize(size);
        QApplication::processEvents();
        PlotCanvas& canvas = window->canvas();
        const QImage image = canvas.toPixmap().toImage();
        QCPAxisRect* axes = canvas.axisRect();
        QCPAxis* x = axes->axis(QCPAxis::atBottom);
        QCPAxis* y = axes->axis(QCPAxis::atLeft);
        const QRect inside = axes->rect().adjusted(2, 2, -2, -2);

        // The bins' extremes per pixel column, as rows of the image.
        std::map<int, std::pair<double, double>> extremes;  // column: highest, lowest level
        for (std::size_t k = 0; k < expected.frequency.size(); ++k) {
            const int column = int(std::floor(x->coordToPixel(expected.frequency[k])));
            auto [it, added] = extremes.try_emplace(column, expected.magnitude_db[k], expected.magnitude_db[k]);
            it->second.first = std::max(it->second.first, expected.magnitude_db[k]);
            it->second.second = std::min(it->second.second, expected.magnitude_db[k]);
        }
        int notches = 0;
        for (int column = inside.left(); column <= inside.right(); ++column) {
            const auto found = extremes.find(column);
            if (found == extremes.end()) continue;
            const int top = std::clamp(int(std::lround(y->coordToPixel(found->second.first))), inside.top(), inside.bottom());
            const int bottom =
                std::clamp(int(std::lround(y->coordToPixel(found->second.second))), inside.top(), inside.bottom());
            int drawn_top = inside.bottom() + 1;
            int drawn_bottom = inside.top() - 1;
            for (int row = inside.top(); row <= inside.bottom(); ++row) {
                if (image.pixelColor(column, row) != kBlue) continue;
                drawn_top = std::min(drawn_top, row);
                drawn_bottom = std::max(drawn_bottom, row);
            }
            if (drawn_top > top + 1 || drawn_bottom < bottom - 1) {
                ++notches;
                ADD_FAILURE() << size.width() << "x" << size.height() << " column " << column << ": drawn " << drawn_top
                              << ".." << drawn_bottom << ", data " << top << ".." << bottom;
                if (notches > 5) return;
            }
        }
    }
}

struct PrintedWord {
    std::string text;
    double left, top, right, bottom;  // points
};

// The words of a PDF's first page with their boxes, as poppler's pdftotext reads them.
std::vector<PrintedWord> printed_words(const std::filesystem::path& pdf) {
    const auto boxes = std::filesystem::path(pdf).replace_extension(".html");
    const std::string command = "pdftotext -bbox -f 1 -l 1 '" + pdf.string() + "' '" + boxes.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::stringstream html;
    html << std::ifstream(boxes).rdbuf();
    std::filesystem::remove(boxes);
    const std::regex word(R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re");
    std::vector<PrintedWord> words;
    const std::string text = html.str();
    for (auto it = std::sregex_iterator(text.begin(), text.end(), word); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        words.push_back({m[5], std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])});
    }
    return words;
}

// On paper the tick labels stand in the same proportion to the distance
// between ticks as on screen: the text is scaled with the plot, once.
TEST(PlotWindows, PrintedTextKeepsItsSizeAgainstThePlot) {
    gui::ScriptedDialogsScope scripted;
    Owned window(open_spectrum_window(nullptr, "x", 11e6, test_wave(1000)));
    window->resize(800, 480);
    window->canvas().replot();
    QCPAxis* x = window->canvas().axisRect()->axis(QCPAxis::atBottom);
    const QVector<double> ticks = x->tickVector();
    const QVector<QString> labels = x->tickVectorLabels();
    ASSERT_GE(ticks.size(), 3);
    const std::string first = labels.front().toStdString();
    const std::string last = labels.back().toStdString();
    const double screen_spacing = x->coordToPixel(ticks.back()) - x->coordToPixel(ticks.front());
    const double screen_height = QFontMetricsF(x->tickLabelFont()).height();

    const auto pdf = std::filesystem::temp_directory_path() / "dot11b-plot-window-print-text.pdf";
    scripted->answer_file(pdf);
    window->findChild<QAction*>("actionPrint")->trigger();
    const std::vector<PrintedWord> words = printed_words(pdf);
    std::filesystem::remove(pdf);

    // The tick labels are the lowest words of their text on the page.
    const auto lowest = [&](const std::string& text) -> const PrintedWord* {
        const PrintedWord* found = nullptr;
        for (const PrintedWord& w : words) {
            if (w.text == text && (found == nullptr || w.top > found->top)) found = &w;
        }
        return found;
    };
    const PrintedWord* left = lowest(first);
    const PrintedWord* right = lowest(last);
    ASSERT_NE(left, nullptr) << first;
    ASSERT_NE(right, nullptr) << last;
    const double printed_spacing = (right->left + right->right) / 2 - (left->left + left->right) / 2;
    const double printed_height = left->bottom - left->top;
    ASSERT_GT(printed_spacing, 0);
    const double ratio = (printed_height / printed_spacing) / (screen_height / screen_spacing);
    EXPECT_GT(ratio, 0.6) << printed_height << " pt text over " << printed_spacing << " pt";
    EXPECT_LT(ratio, 1.6) << printed_height << " pt text over " << printed_spacing << " pt";
}

TEST(PlotWindows, PlacementFollowsTheParentMeasuredFromTheScreenBottom) {
    // A 1280 x 800 screen; the parent's lower-left corner is at (100, 150) from
    // the screen's lower left, 1000 x 600.
    const QRect screen(0, 0, 1280, 800);
    const QRect parent(100, 50, 1000, 600);
    // Shared: 800 x 480, left 100 + 80, bottom 150 - 48 = 102, top 800 - 102 - 480.
    EXPECT_EQ(shared_placement(parent, screen), QRect(180, 218, 800, 480));
    // Spectrum: left 100 + 100, bottom 150 + 108 = 258, top 800 - 258 - 480.
    EXPECT_EQ(spectrum_placement(parent, screen), QRect(200, 62, 800, 480));
    EXPECT_EQ(shared_placement(std::nullopt, screen), QRect(150, 310, 340, 340));
    EXPECT_EQ(spectrum_placement(std::nullopt, screen), QRect(50, 20, 300, 300));
}

TEST(PlotWindows, EyeAndScatterErrorsGoToThePlotErrorDialog) {
    gui::ScriptedDialogsScope scripted;
    const auto windows_before = QApplication::topLevelWidgets().size();
    EXPECT_EQ(open_eye_diagram_window(nullptr, "x", plots::iq_columns(test_wave(40)), 1, 1, 0), nullptr);
    EXPECT_EQ(open_eye_diagram_window(nullptr, "x", {}, 4, 1, 0), nullptr);
    EXPECT_EQ(open_scatter_window(nullptr, "x", {{1, 2}, {3, 4}, {5, 6}}, 1, 0, true), nullptr);
    ASSERT_EQ(scripted->shown().size(), 3U);
    for (const auto& dialog : scripted->shown()) EXPECT_EQ(dialog.title, "Plot Error");
    EXPECT_EQ(scripted->shown()[0].text, "Unable to Plot Eye Diagram\nN must be an integer greater than 1.");
    EXPECT_EQ(scripted->shown()[1].text, "Unable to Plot Eye Diagram\nInput variable X is empty.");
    EXPECT_EQ(scripted->shown()[2].text,
              "Unable to Plot Scatter Diagram\nNumber of columns in the input data, X, cannot exceed 2.");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows_before);
}

TEST(PlotWindows, EyeAndScatterClampTheirSettingsAndDrawTheTrace) {
    const Samples wave = test_wave(64);
    // An offset beyond n - 1 is drawn as n - 1.
    Owned eye(open_eye_diagram_window(nullptr, "x", plots::iq_columns(wave), 4, 1, 9));
    const plots::EyeDiagram expected = plots::eye_diagram(plots::iq_columns(wave), 4, 1, 3);
    const auto* curve = qobject_cast<QCPCurve*>(eye->canvas().plottable(0));
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->data()->size(), int(expected.time.size()));
    EXPECT_EQ(curve->data()->at(0)->key, expected.time[0]);

    Owned scatter(open_scatter_window(nullptr, "x", plots::iq_columns(wave), 4, 1, true));
    ASSERT_EQ(scatter->canvas().plottableCount(), 2);
    const auto* trajectory = qobject_cast<QCPCurve*>(scatter->canvas().plottable(0));
    const auto* points = qobject_cast<QCPCurve*>(scatter->canvas().plottable(1));
    EXPECT_EQ(trajectory->data()->size(), 63);  // every sample from the offset on
    EXPECT_EQ(trajectory->pen().color(), QColor(0, 255, 255));
    EXPECT_EQ(points->data()->size(), 16);  // samples 1, 5, ..., 61
    EXPECT_EQ(points->lineStyle(), QCPCurve::lsNone);
}

TEST(PlotWindows, LongWaveformsDrawDecimatedCurvesAndDensityImages) {
    const Samples wave = test_wave(300000);
    Owned time(open_iq_time_window(nullptr, "x", 38.5e6, true, wave));
    time->canvas().replot();
    const int width = time->canvas().axisRect(0)->width();
    EXPECT_LE(time->canvas().graph(0)->dataCount(), 2 * width + 2);
    // Zoomed in far enough, every sample of the range is drawn.
    const plots::IqTime view = plots::iq_time(wave, 38.5e6);
    const double from = view.time[1000] - 1e-9;
    const double to = view.time[1050] + 1e-9;
    time->canvas().axisRect(0)->axis(QCPAxis::atBottom)->setRange(from, to);
    time->canvas().replot();
    const auto inside = std::count_if(view.time.begin(), view.time.end(), [&](double t) { return t >= from && t <= to; });
    // Those inside and one neighbour on each side, so the line reaches the edges.
    EXPECT_EQ(inside, 51);
    EXPECT_EQ(time->canvas().graph(0)->dataCount(), inside + 2);

    Owned eye(open_eye_diagram_window(nullptr, "x", plots::iq_columns(wave), 7, 1, 0));
    EXPECT_NE(qobject_cast<QCPColorMap*>(eye->canvas().plottable(0)), nullptr);
}

TEST(PlotWindows, ExportsHaveTheRequestedSizeAndShowTheCurve) {
    Owned window(open_spectrum_window(nullptr, "x", 1e6, test_wave(2000)));
    const std::vector<std::uint8_t> png = png_image(window->canvas(), {640, 480});
    QImage image;
    ASSERT_TRUE(image.loadFromData(png.data(), int(png.size()), "PNG"));
    EXPECT_EQ(image.size(), QSize(640, 480));
    int blue = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) blue += image.pixelColor(x, y) == QColor(0, 0, 255) ? 1 : 0;
    }
    EXPECT_GT(blue, 500);

    const std::vector<std::uint8_t> pdf = pdf_document(window->canvas(), {640, 480});
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 5), "%PDF-");
}

TEST(PlotWindows, FontsFollowTheWidgetFont) {
    Owned window(open_ccdf_window(nullptr, "x", test_wave(100)));
    QFont larger = window->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.5);
    window->setFont(larger);
    QCPAxis* y = window->canvas().axisRect(0)->axis(QCPAxis::atLeft);
    EXPECT_EQ(y->labelFont().pointSizeF(), larger.pointSizeF());
    EXPECT_EQ(y->tickLabelFont().pointSizeF(), larger.pointSizeF());
}

}  // namespace
}  // namespace dot11b::plot_windows
