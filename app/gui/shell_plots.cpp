// rfCommonUI: the plot commands. Each checks that the waveform is ready,
// labels the window with the application's name and the time, passes the
// waveform as the instrument's 14-bit converters will play it, and keeps the
// window's handle so that the shut-down can close it.

#include <cmath>

#include "app/clock2str.hpp"
#include "app/entry_rules.hpp"
#include "app/gui/callbacks.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/graphics.hpp"
#include "app/gui/shell.hpp"
#include "common/gui/dialog_service.hpp"
#include "frame/globals.hpp"
#include "frame/registry.hpp"
#include "plots/chip_timing.hpp"

namespace dot11b::gui::shell {
namespace {

using frame::Inputs;
using frame::OpId;
using frame::Outputs;
using frame::Value;

constexpr double kConverterBits = 14;
// Snapshot length of the waterfall: 10 us, ten symbols at 1 Mbit/s.
constexpr double kWaterfallPeriod = 10e-6;

struct PlotItem {
    const char* tag;
    OpId operation;
};

const PlotItem kPlotItems[] = {
    {"menuPlotSpectrum", OpId::XR_PlotSpectrum},       {"menuPlotWaterfall", OpId::XR_PlotWaterfall},
    {"menuPlotIQTime", OpId::XR_PlotIQTime},           {"menuPlotIQTimeSameAxes", OpId::XR_PlotIQTime},
    {"menuPlotEyeDiagram", OpId::XR_PlotEyeDiagram},   {"menuPlotScatterDiagram", OpId::XR_PlotScatterDiagram},
    {"menuPlotCCDF", OpId::XR_PlotCCDF},               {"menuPlotAnalyze", OpId::XR_PlotAnalysis},
};

std::string plot_label() {
    auto now = app::clock_now();
    now[5] = std::floor(now[5]);
    return app_info_text("Name") + " (" + app::clock2str(now) + ")";
}

Value played_waveform() {
    return frame::call_by_name("applyDacRes", 1, {frame::global(frame::Global::waveform), Value::scalar(kConverterBits)})
        .at(0);
}

// The symbol of the eye and scatter views, as dot11b-plot takes it for a recording.
plots::ChipTiming chip_timing() { return plots::chip_timing_at_oversampling(parameters().oversampling); }

bool ready(const Value& handles) {
    const Value status = frame::call_local(table(), "checkWaveformReady", 1, {Value::text("Plot"), handles}).at(0);
    return status.kind() == Value::Kind::Double && status.numel() == 1 && status.reals()[0] == 1;
}

void keep_window(const Value& window) {
    if (window.kind() != Value::Kind::Double || window.numel() != 1) return;
    Value& info = app_info();
    std::vector<double> windows;
    if (info.has_field("ClientWindows") && info.field("ClientWindows").kind() == Value::Kind::Double) {
        const auto kept = info.field("ClientWindows").reals();
        windows.assign(kept.begin(), kept.end());
    }
    windows.push_back(window.reals()[0]);
    info.set_field("ClientWindows", Value::row(std::move(windows)));
}

// Calls the plot operation with the main window, the label and the
// arguments `make` builds from the played waveform.
template <typename Make>
Outputs plot(const Inputs& in, const char* operation, Make make) {
    const Value& handles = callback_handles(in);
    if (!ready(handles)) return {};
    std::vector<Value> inputs = {handles.field("main"), Value::text(plot_label())};
    if (!make(inputs)) return {};
    keep_window(frame::call_by_name(operation, 1, std::move(inputs)).at(0));
    return {};
}

Value sample_rate() { return Value::scalar(sig_gen_settings().sampling_rate); }

// The number in an input dialog's entry; 0 when it is not a number.
double entry_or_zero(const std::vector<std::string>& entries, std::size_t index) {
    return index < entries.size() ? app::entry_number(entries[index]).value_or(0) : 0;
}

}  // namespace

bool plot_available(std::string_view item_tag) {
    for (const auto& item : kPlotItems) {
        if (item.tag == item_tag) return frame::operation(item.operation).body != nullptr;
    }
    return false;
}

Outputs menuPlotSpectrum_Callback(const Inputs& in, int) {
    return plot(in, "XR_PlotSpectrum", [](std::vector<Value>& args) {
        args.insert(args.end(), {sample_rate(), played_waveform()});
        return true;
    });
}

Outputs menuPlotWaterfall_Callback(const Inputs& in, int) {
    return plot(in, "XR_PlotWaterfall", [](std::vector<Value>& args) {
        args.insert(args.end(), {sample_rate(), Value::scalar(kWaterfallPeriod), played_waveform()});
        return true;
    });
}

Outputs menuPlotIQTime_Callback(const Inputs& in, int) {
    return plot(in, "XR_PlotIQTime", [](std::vector<Value>& args) {
        args.insert(args.end(), {sample_rate(), Value::scalar(0), played_waveform()});
        return true;
    });
}

Outputs menuPlotIQTimeSameAxes_Callback(const Inputs& in, int) {
    return plot(in, "XR_PlotIQTime", [](std::vector<Value>& args) {
        args.insert(args.end(), {sample_rate(), Value::scalar(1), played_waveform()});
        return true;
    });
}

Outputs menuPlotEyeDiagram_Callback(const Inputs& in, int) {
    const Value& handles = callback_handles(in);
    return plot(in, "XR_PlotEyeDiagram", [&handles](std::vector<Value>& args) {
        const auto entries = dialogs().input(main_window(handles),
                                             {"Eye Diagram Configuration", {"Enter symbol delay (0-1):"}, {"0"}});
        if (!entries) return false;
        const plots::ChipTiming timing = chip_timing();
        args.insert(args.end(), {played_waveform(), Value::scalar(timing.samples_per_symbol),
                                 Value::scalar(timing.chips_per_symbol),
                                 Value::scalar(plots::symbol_offset(timing, entry_or_zero(*entries, 0)))});
        return true;
    });
}

Outputs menuPlotScatterDiagram_Callback(const Inputs& in, int) {
    const Value& handles = callback_handles(in);
    return plot(in, "XR_PlotScatterDiagram", [&handles](std::vector<Value>& args) {
        const auto entries = dialogs().input(
            main_window(handles),
            {"Scatter Diagram Configuration", {"Enter symbol delay (0-1):", "Trace On (0|1):"}, {"0", "0"}});
        if (!entries) return false;
        const plots::ChipTiming timing = chip_timing();
        args.insert(args.end(), {played_waveform(), Value::scalar(timing.samples_per_symbol),
                                 Value::scalar(plots::symbol_offset(timing, entry_or_zero(*entries, 0))),
                                 Value::scalar(entry_or_zero(*entries, 1))});
        return true;
    });
}

Outputs menuPlotCCDF_Callback(const Inputs& in, int) {
    return plot(in, "XR_PlotCCDF", [](std::vector<Value>& args) {
        args.push_back(played_waveform());
        return true;
    });
}

// The analyser is told what it cannot see in the samples: a waveform built
// mirrored, and the carrier its offsets in ppm refer to.
Outputs menuPlotAnalyze_Callback(const Inputs& in, int) {
    return plot(in, "XR_PlotAnalysis", [](std::vector<Value>& args) {
        args.insert(args.end(), {sample_rate(), played_waveform(), Value::scalar(parameters().mirror_spectrum ? 1 : 0),
                                 Value::scalar(sig_gen_settings().frequency)});
        return true;
    });
}

}  // namespace dot11b::gui::shell
