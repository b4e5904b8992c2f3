// rfCommonUI: the window title, the configuration file, help, About and the
// shut-down.

#include <QApplication>

#include "app/configuration_file.hpp"
#include "app/gui/callbacks.hpp"
#include "app/gui/figures.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/graphics.hpp"
#include "app/gui/sdr_playback.hpp"
#include "app/gui/shell.hpp"
#include "app/record_values.hpp"
#include "common/gui/dialog_service.hpp"
#include "frame/convert.hpp"
#include "frame/globals.hpp"
#include "frame/registry.hpp"

namespace dot11b::gui::shell {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

const std::pair<const char*, const char*> kTooltips[] = {
    {"pbCalculate", "Calculates the waveform based\non current settings."},
    {"pbDownload", "Downloads the current waveform and\nsettings to the ORB."},
    {"pbRefresh", "Downloads just the current settings\nto the ORB."},
    {"txtNumberOfSamples", "The number of samples generated \nby the current settings.\n(An ORB can hold up to 1 M samples.)"},
    {"txtEvent1", "Description of the signal available on\nthe Event 1 Connector of the rear panel."},
    {"txtEvent2", "Description of the signal available on\nthe Event 2 Connector of the rear panel."},
};

// The main windows to close: the one whose callback is running, or, called
// from outside a callback, every main window.
std::vector<MainFigure*> main_windows_to_close() {
    if (auto* running = dynamic_cast<MainFigure*>(window_of(callback_object()))) return {running};
    std::vector<MainFigure*> all;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* main = dynamic_cast<MainFigure*>(window)) all.push_back(main);
    }
    return all;
}

}  // namespace

Outputs InitializeFigure(const Inputs& in, int) {
    const Value& handles = handles_argument(in);
    const Value saved = frame::call_local(table(), "loadConfig", 1, {}).at(0);
    if (!saved.empty()) frame::global(frame::Global::configuration) = saved;
    for (const auto& [tag, tip] : kTooltips) set(tag_handle(handles, tag), "TooltipString", Value::text(tip));
    return {};
}

Outputs redrawAppTitle(const Inputs& in, int) {
    const Value& handles = handles_argument(in);
    std::string title = "Corvane Wave Forge - " + app_info_text("Name");
    const std::string file = configuration().last_parameter_filename;
    if (!file.empty()) title += " : " + file;
    set(tag_handle(handles, "main"), "Name", Value::text(title));
    return {};
}

Outputs saveConfig(const Inputs& in, int) {
    const app::ConnectionConfig config = app::connection_config_from_value(in.at(0, "configuration"), "configuration");
    app::save_configuration_file(app::kConfigurationFileName, config);
    return {};
}

Outputs loadConfig(const Inputs&, int) {
    const auto saved = app::load_saved_configuration(app::kConfigurationFileName);
    return {saved ? app::to_value(*saved) : Value()};
}

Outputs AppShutDown(const Inputs&, int) {
    Value& info = app_info();
    const std::vector<double> windows =
        info.has_field("ClientWindows") ? frame::to_reals(Inputs("AppShutDown", {info.field("ClientWindows")}), 0, "ClientWindows")
                                        : std::vector<double>{};
    for (const double window : windows) {
        if (QWidget* plot = widget_of(window)) {
            plot->close();
            plot->deleteLater();
        }
    }
    info.set_field("ClientWindows", Value());
    // A configuration that cannot be written does not keep the application open.
    try {
        frame::call_local(table(), "saveConfig", 0, {frame::global(frame::Global::configuration)});
    } catch (const std::exception&) {
    }
    for (MainFigure* main : main_windows_to_close()) {
        stop_sdr_playback(main);
        main->close_for_good();
    }
    return {};
}

Outputs menuFileExit_Callback(const Inputs&, int) { return frame::call_local(table(), "AppShutDown", 0, {}); }

Outputs menuHelpHelp_Callback(const Inputs& in, int) {
    dialogs().message(main_window(callback_handles(in)), "Option unavailable", "HTML help is not available in this version.");
    return {};
}

Outputs menuHelpAbout_Callback(const Inputs& in, int) {
    frame::call_by_name("XR_About", 0, {callback_handles(in).field("main"), app_info()});
    return {};
}

}  // namespace dot11b::gui::shell
