// dot11b_GUI_b: start-up. The splash window, the four records with their
// defaults, the main window with its menus and controls, the MAC header
// window, a full redraw, then the main window.

#include "app/app_info.hpp"
#include "app/gui/callbacks.hpp"
#include "app/gui/composition.hpp"
#include "app/gui/figures.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/graphics.hpp"
#include "app/gui/library_questions.hpp"
#include "app/gui/main_controller.hpp"
#include "app/gui/status_line.hpp"
#include "app/window_view.hpp"
#include "common/gui/handles.hpp"
#include "frame/globals.hpp"
#include "frame/registry.hpp"

namespace dot11b::gui::main_window {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

const std::pair<const char*, const char*> kTooltips[] = {
    {"tbGenerationMode", "Toggles between framed and unframed mode."},
    {"pdDataRate", "Selects the data rate."},
    {"pdModulation",
     "Selects the modulation.\n(Note: Only 5.5 Mbps and 11 Mbps data rates\nhave more than 1 Modulation format "
     "available.)"},
    {"pdPreambleFormat",
     "Selects the format of the preamble/header\nsections of a framed signal.\n(Note: Only relevant for data rates "
     "above 1 Mbps.)"},
    {"chkClkLocked",
     "Toggles the clock locked flag in the\nphysical packet header.\n(Note: Only relevant in framed mode.)"},
    {"pdScrambler", "Selects the activity state of the Scrambler."},
    {"chkEncoderActive", "Toggles the activity state of the PBCC encoder.\n(Note: Only relevant for PBCC modulation.)"},
    {"pdChannels", "Sets the RF channel.\n(Note: This automatically\nsets the ORB frequency.)"},
    {"pdPowerRamp", "Selects the power up/down ramp type.\n(Note: Only relevant in framed mode.)"},
    {"txtRampTime", "Sets the length (in usec) of the\npower up/down ramp.\n(Note: Only relevant in framed mode)"},
    {"txtIdleInterval", "Sets the length (in usec) of the\nidle period between frames.\n(Note: Only relevant in framed mode)"},
    {"txtFrames",
     "Sets the number of frames in one period (1 - 1000),\neach with its ramps and idle interval; with the MAC\n"
     "header on, their sequence numbers count up.\n(Note: Only relevant in framed mode)"},
    {"pdOversampleRate", "Selects the oversample ratio."},
    {"pdFilterType", "Selects the baseband filter type."},
    {"txtFilterFactor",
     "Specifies the filter performance.\nValid Ranges:\nGaussian:  0.1 - 1.0\nRoot Cosine: 0.05 - 1.0"},
    {"txtFilterTaps", "Specifies the symbol length of the filter"},
    {"chkMirrorSpectrum", "Enable/disables spectrum mirroring."},
    {"chkMACheader", "Enables/disables the prepending of a\nMAC Header to the data payload"},
    {"chkMACfcs", "Enables/disables the appending of a\nMAC FCS check sequence to the data payload."},
    {"pbMACheaderSetup", "Configures the MAC Header."},
    {"pdDATAsourceType", "Selects the payload data stream.\n(The actual \"user data\" of the frame.)"},
    {"txtDataLength", "Sets the number of data bytes in a frame.\n(This excludes the MAC Header and FCS)"},
    {"txtTotalLength",
     "Indicates the total number of\nbytes are in the physical frame.\n(This includes the MAC Header.)"},
};

Value call_here(const char* name, std::vector<Value> inputs = {}) {
    Outputs out = frame::call_local(table(), name, 1, std::move(inputs));
    return out.empty() ? Value() : out.front();
}

}  // namespace

Outputs InitializeAppInfo(const Inputs&, int) {
    frame::global(frame::Global::appInfo) = app::default_app_info();
    return {frame::global(frame::Global::appInfo)};
}

Outputs InitializeConfiguration(const Inputs&, int) {
    store(app::ConnectionConfig{});
    return {frame::global(frame::Global::configuration)};
}

Outputs InitializeParameters(const Inputs&, int) {
    store(app::FormatParameters{});
    return {frame::global(frame::Global::parameters)};
}

Outputs InitializeSigGenSettings(const Inputs&, int) {
    app::SigGenSettings settings;
    settings.sampling_rate = app::kChipRate * parameters().oversampling;
    store(settings);
    return {frame::global(frame::Global::SigGenSettings)};
}

Outputs InitializeFigures(const Inputs&, int) {
    MainFigure* main = load_main_window();
    frame::call_by_name("XR_AddMenu", 1, {Value::scalar(handle_of(main))});
    const Value handles = guihandles(main);
    set_guidata(main, handles);
    connect_main_window(main);
    frame::call_by_name("rfCommonUI", 0, {Value::text("InitializeFigure"), handles});

    QDialog* mac_window = load_mac_header_window(main);
    figure_list().set_field("MACheader", Value::scalar(handle_of(mac_window)));
    const Value mac_handles = guihandles(mac_window);
    set_guidata(mac_window, mac_handles);
    connect_mac_header_window(mac_window);
    frame::call_by_name("dot11_MACconfig", 0, {Value::text("InitializeFigure"), mac_handles});
    return {Value::scalar(handle_of(main))};
}

Outputs InitializeFigure(const Inputs& in, int) {
    const Value& handles = handles_argument(in);
    resize_all_fonts(widget_of(tag_handle(handles, "main")));
    for (const auto& [tag, tip] : kTooltips) set(tag_handle(handles, tag), "TooltipString", Value::text(tip));
    apply_view(handles, {{"pdChannels", "String", app::channel_choices()}});
    frame::call_by_name("ORBconfig", 0, {Value::text("InitializeSigGenScreenObjects"), handles});
    return {};
}

Outputs start(int nargout) {
    const auto splash_shown = std::chrono::steady_clock::now();
    show_console_in_status_bars();
    answer_library_questions();
    const double splash = frame::call_by_name("XR_Splash", 1, {}).at(0).reals()[0];

    for (const char* record : {"InitializeAppInfo", "InitializeConfiguration", "InitializeParameters",
                               "InitializeSigGenSettings"}) {
        call_here(record);
    }
    figure_list() = Value::structure({});
    const double main_handle = call_here("InitializeFigures").reals()[0];
    QWidget* main = widget_of(main_handle);
    const Value handles = guidata(main);
    frame::call_local(table(), "InitializeFigure", 0, {handles});
    frame::call_local(table(), "redraw", 0, {handles});
    fit_and_center(main);

    wait_out_splash(splash_shown);
    if (QWidget* window = widget_of(splash)) window->close();
    main->show();
    main->raise();
    main->activateWindow();
    if (nargout > 0) return {Value::scalar(main_handle)};
    return {};
}

}  // namespace dot11b::gui::main_window
