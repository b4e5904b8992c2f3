// dot11b_GUI_b: the redraws. Each shows the records through the window's
// view rules (app/window_view) and ends with the projected length.

#include "app/calculation.hpp"
#include "app/gui/callbacks.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/graphics.hpp"
#include "app/gui/main_controller.hpp"
#include "app/window_view.hpp"
#include "frame/registry.hpp"

namespace dot11b::gui::main_window {
namespace {

using frame::Inputs;
using frame::Outputs;

using View = app::ControlSettings (*)(const app::FormatParameters&);

// Brings the derived fields (total and projected length) up to date, then
// shows one part of the window and the projected length.
Outputs show(const Inputs& in, View part) {
    const frame::Value& handles = handles_argument(in);
    app::FormatParameters p = parameters();
    app::refresh_derived_fields(p, impairment_settings());
    store(p);
    if (part) apply_view(handles, part(p));
    apply_view(handles, app::projected_length_view(p));
    return {};
}

}  // namespace

Outputs redrawFormatParameters(const Inputs& in, int) { return show(in, app::format_parameters_view); }

Outputs redrawGenerationParameters(const Inputs& in, int) { return show(in, app::generation_parameters_view); }

Outputs redrawPaylodSetup(const Inputs& in, int) { return show(in, app::payload_setup_view); }

Outputs redrawProjectedLength(const Inputs& in, int) { return show(in, nullptr); }

Outputs redraw(const Inputs& in, int nargout) {
    redrawFormatParameters(in, nargout);
    redrawGenerationParameters(in, nargout);
    redrawPaylodSetup(in, nargout);
    const frame::Value& handles = handles_argument(in);
    frame::call_by_name("rfCommonUI", 0, {frame::Value::text("redrawAppTitle"), handles});
    frame::call_by_name("ORBconfig", 0, {frame::Value::text("redrawSigGenSettings"), handles});
    return {};
}

}  // namespace dot11b::gui::main_window
