#pragma once
// What a callback reads from the control that called it, and the redraw it
// asks for by name (a sibling of the running script).

#include <optional>

#include "app/entry_rules.hpp"
#include "app/gui/callbacks.hpp"
#include "app/gui/graphics.hpp"
#include "frame/registry.hpp"

namespace dot11b::gui {

// A drop-down's position (1-based).
inline int chosen(const frame::Inputs& in) { return static_cast<int>(get_number(callback_control(in), "Value")); }

// A check box's or toggle button's state.
inline bool ticked(const frame::Inputs& in) { return get_number(callback_control(in), "Value") != 0; }

// An edit field's entry read as a number; nullopt when it is not one.
inline std::optional<double> entered(const frame::Inputs& in) {
    return app::entry_number(get_text(callback_control(in), "String"));
}

// Calls the script's operation `name` with the callback's handles.
inline void then_redraw(const char* name, const frame::Inputs& in) {
    frame::call_by_name(name, 0, {callback_handles(in)});
}

}  // namespace dot11b::gui
