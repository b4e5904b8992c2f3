// rfCommonUI: Special > Impairments. The record the window hands back on OK
// replaces `impairmentParameters`; the main window's projected length then
// follows the clock offset, and the next Calculate applies them.

#include "app/calculation.hpp"
#include "app/gui/callbacks.hpp"
#include "app/gui/global_records.hpp"
#include "app/gui/impairments_window.hpp"
#include "app/gui/shell.hpp"
#include "frame/registry.hpp"

namespace dot11b::gui::shell {

frame::Outputs menuSpecialImpairments_Callback(const frame::Inputs& in, int) {
    const frame::Value& handles = callback_handles(in);
    const app::FormatParameters p = parameters();
    const auto length = [&p](const impairments::ImpairmentSettings& s) { return app::projected_length(p, s); };
    const auto edited = edit_impairments(main_window(handles), impairment_settings(), length);
    if (!edited) return {};
    store(*edited);
    frame::call_by_name(app_info_text("ApplicationFunction"), 0,
                        {frame::Value::text("redrawProjectedLength"), handles});
    return {};
}

}  // namespace dot11b::gui::shell
