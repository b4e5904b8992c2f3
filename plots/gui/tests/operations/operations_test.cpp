#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QMainWindow>
#include <QPointer>

#include "common/gui/handles.hpp"
#include "common/gui/testing/scripted_dialogs.hpp"
#include "frame/console.hpp"
#include "frame/library.hpp"
#include "frame/registry.hpp"
#include "plots/gui/placement.hpp"

namespace dot11b::frame {
namespace {

class PlotOperations : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = set_console([this](std::string_view line) { console_.emplace_back(line); });
        initialize();
    }
    void TearDown() override {
        for (const auto& window : opened_) delete window.data();
        terminate();
        set_console(previous_);
    }

    // Calls a plot operation by name and returns the window behind its handle.
    QWidget* open(std::string_view name, std::vector<Value> inputs) {
        const Value handle = call_by_name(name, 1, std::move(inputs))[0];
        if (handle.empty()) return nullptr;
        auto* window = qobject_cast<QWidget*>(gui::object_of(handle.reals()[0]));
        opened_.emplace_back(window);
        return window;
    }

    std::vector<std::string> console_;
    std::vector<QPointer<QWidget>> opened_;

private:
    ConsoleSink previous_;
};

Value wave(std::size_t n) {
    std::vector<std::complex<double>> x(n);
    for (std::size_t k = 0; k < n; ++k) x[k] = {std::cos(0.2 * double(k)), std::sin(0.3 * double(k))};
    return Value::complex_row(x);
}

std::string error_of(std::string_view name, std::vector<Value> inputs) {
    try {
        call_by_name(name, 1, std::move(inputs));
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

TEST_F(PlotOperations, ViewsReturnHandlesOfShownWindowsPlacedAgainstTheirParent) {
    // Inside the 800 x 600 screen of the offscreen platform, with the window placed against it.
    QMainWindow main;
    main.setGeometry(50, 50, 500, 400);
    const double parent = gui::handle_of(&main);
    const Value label = Value::text("Test");

    QWidget* spectrum = open("XR_PlotSpectrum", {Value::scalar(parent), label, Value::scalar(38.5e6), wave(500)});
    ASSERT_NE(spectrum, nullptr);
    EXPECT_TRUE(spectrum->isVisible());
    EXPECT_EQ(spectrum->windowTitle(), "Magnitude Spectrum Test");
    EXPECT_EQ(spectrum->geometry(), plot_windows::spectrum_placement(&main));

    struct Case {
        const char* name;
        std::vector<Value> inputs;
        const char* title;
    };
    const std::vector<Case> cases = {
        {"XR_PlotCCDF", {}, "CCDF Test Data"},
        {"XR_PlotIQTime", {Value::scalar(parent), label, Value::scalar(1e6), Value::scalar(1), wave(100)}, "I(t) Q(t) Test"},
        {"XR_PlotWaterfall", {Value::scalar(parent), label, Value::scalar(1e6), Value::scalar(0), wave(100)},
         "Spectrum Waterfall Test"},
        {"XR_PlotEyeDiagram", {Value::scalar(parent), label, wave(100), Value::scalar(4), Value::scalar(1), Value::scalar(0)},
         "Eye Diagram Test"},
        {"XR_PlotScatterDiagram",
         {Value::scalar(parent), label, wave(100), Value::scalar(4), Value::scalar(0), Value::scalar(1)},
         "Scatter Diagram Test"},
        {"XR_PlotAnalysis", {Value::scalar(parent), label, Value::scalar(38.5e6), wave(100)}, "Analysis Test"},
        {"XR_PlotConstellation", {Value::scalar(parent), label, Value::scalar(38.5e6), wave(100)}, "Constellation Test"},
        {"XR_PlotChipEVM", {Value::scalar(parent), label, Value::scalar(38.5e6), wave(100)}, "EVM vs Chip Test"},
        {"eyediagram", {wave(100), Value::scalar(4)}, "Eye Diagram"},
        {"scatterplot", {wave(100)}, "Scatter Plot"},
        {"waterfall", {wave(100)}, "Spectrum Waterfall"},
    };
    for (const Case& c : cases) {
        QWidget* window = open(c.name, c.inputs);
        ASSERT_NE(window, nullptr) << c.name;
        EXPECT_TRUE(window->isVisible()) << c.name;
        EXPECT_EQ(window->windowTitle(), c.title);
    }

    // A parent that has closed in the meantime places against the screen
    // (with no other plot window open there, which would cascade it).
    for (const auto& window : opened_) delete window.data();
    const double gone = gui::handle_of(new QMainWindow);
    delete gui::object_of(gone);
    QWidget* ccdf = open("XR_PlotCCDF", {Value::scalar(gone), label, wave(10)});
    EXPECT_EQ(ccdf->geometry(), plot_windows::shared_placement(nullptr));
}

TEST_F(PlotOperations, EyeAndScatterFailuresShowPlotErrorAndReturnEmpty) {
    gui::ScriptedDialogsScope scripted;
    EXPECT_EQ(open("XR_PlotEyeDiagram", {Value::scalar(0), Value::text("x"), wave(40), Value::scalar(1), Value::scalar(1),
                                          Value::scalar(0)}),
              nullptr);
    ASSERT_EQ(scripted->shown().size(), 1U);
    EXPECT_EQ(scripted->shown()[0].title, "Plot Error");
    EXPECT_EQ(scripted->shown()[0].text, "Unable to Plot Eye Diagram\nN must be an integer greater than 1.");
}

TEST_F(PlotOperations, GenericDrawingsCheckTheWindowTheyAreGiven) {
    QWidget* spectrum = open("XR_PlotSpectrum", {Value::scalar(0), Value::text("x"), Value::scalar(1), wave(10)});
    const Value spectrum_handle = Value::scalar(gui::handle_of(spectrum));
    EXPECT_EQ(error_of("eyediagram", {wave(20), Value::scalar(4), Value::scalar(1), Value::scalar(0), Value::text("b-"),
                                      spectrum_handle}),
              "Figure is not an existing eye diagram.\nUse an existing eye diagram or do not use a figure handle as an input");
    EXPECT_EQ(error_of("scatterplot", {wave(20), Value::scalar(1), Value::scalar(0), Value::text("b."), spectrum_handle}),
              "Figure is not an existing scatter plot.\nUse an existing scatter plot or do not use a figure handle as an "
              "input");

    QWidget* eye = open("eyediagram", {wave(20), Value::scalar(4), Value::scalar(1), Value::scalar(0), Value::text("r-"),
                                       Value::scalar(12345)});
    ASSERT_EQ(console_.size(), 1U);
    EXPECT_EQ(console_[0], "Warning: Ignoring invalid handle H. Creating a new eye diagram.");
    // Drawing again into that eye diagram reuses its window.
    EXPECT_EQ(open("eyediagram", {wave(20), Value::scalar(2), Value::scalar(1), Value::scalar(0), Value::text("b-"),
                                  Value::scalar(gui::handle_of(eye))}),
              eye);
}

TEST_F(PlotOperations, ZoomActsOnTheCurrentPlotWindow) {
    QWidget* window = open("XR_PlotCCDF", {Value::scalar(0), Value::text("x"), wave(10)});
    auto* zoom = window->findChild<QAction*>("XR_Zoom");
    call_by_name("XR_Zoom", 0, {});
    EXPECT_TRUE(zoom->isChecked());
    call_by_name("XR_Zoom", 0, {});
    EXPECT_FALSE(zoom->isChecked());
    EXPECT_NO_THROW(call_by_name("XR_Rotate", 0, {}));
}

}  // namespace
}  // namespace dot11b::frame
