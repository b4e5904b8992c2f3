#pragma once
// Window callbacks reached by name, as a control's callback string
// "script('tag_Callback',gcbo,[],guidata(gcbo))" reaches them: the control's
// user signal calls the script through the registry with the control, an
// empty event argument and the handles record of the control's window.

#include <string>
#include <string_view>

#include "frame/inputs.hpp"
#include "frame/value.hpp"

class QObject;

namespace dot11b::gui {

// Calls script(callback, control, [], handles). Errors that reach this far
// (the scripts catch their own) are printed on the console.
void run_callback(std::string_view script, const std::string& callback, QObject* control);

// The control whose callback is running (gcbo), or nullptr.
QObject* callback_object();

// Connects the control's user signal to run_callback: a drop-down choice, the
// end of an edit, a click, a menu item chosen.
void connect_callback(QObject* control, std::string_view script, const std::string& callback);

// The arguments of a callback: the control, (the ignored event), `handles`.
double callback_control(const frame::Inputs& in);
const frame::Value& callback_handles(const frame::Inputs& in);
// The `handles` argument of a redraw or initialisation operation.
const frame::Value& handles_argument(const frame::Inputs& in, std::size_t index = 0);

}  // namespace dot11b::gui
