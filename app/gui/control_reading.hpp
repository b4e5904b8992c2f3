#pragma once
// What a callback reads from the control that called it, and the redraw it
// asks for by name (a sibling of the running script).

#include <cmath>
#include <optional>

#include "app/entry_notes.hpp"
#include "app/entry_rules.hpp"
#include "app/gui/callbacks.hpp"
#include "app/gui/graphics.hpp"
#include "frame/console.hpp"
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

// The edit field's entry as a number; nothing, after saying that it was
// refused and which value is kept, when it is not one (NaN included).
inline std::optional<double> accepted_number(const frame::Inputs& in, const app::EntryField& field, double kept) {
    const std::string entry = get_text(callback_control(in), "String");
    const auto number = app::entry_number(entry);
    if (number && !std::isnan(*number)) return number;
    frame::print_note(app::refused_entry_note(field, entry, kept));
    return std::nullopt;
}

// Says so when the entry was brought into the field's range.
inline void note_if_limited(const frame::Inputs& in, const app::EntryField& field, double entered, double stored) {
    if (const auto note = app::clamped_entry_note(field, get_text(callback_control(in), "String"), entered, stored)) {
        frame::print_note(*note);
    }
}

// Calls the script's operation `name` with the callback's handles.
inline void then_redraw(const char* name, const frame::Inputs& in) {
    frame::call_by_name(name, 0, {callback_handles(in)});
}

}  // namespace dot11b::gui
