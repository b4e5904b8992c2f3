#pragma once
// The graphics layer under the window scripts: control properties by name on
// numeric handles, the `handles` record of a window (every tagged control by
// its tag, and `main`), the data attached to a window, and the property
// settings of app/window_view applied to a window.
//
// Properties, for each kind of control:
//   Value          drop-down position (1-based), check box or toggle state (0/1)
//   String         edit, label or button text; a drop-down's choices (cell of texts)
//   Enable, Visible, Checked   "on" or "off" (Checked: menu items)
//   TooltipString  tooltip text
//   Label          menu or menu item text
//   Name           window title
//   Pointer        "watch" while busy, "arrow" otherwise (windows)
//   Tag            the control's tag (read only)

#include <string_view>

#include "app/window_view.hpp"
#include "frame/value.hpp"

class QObject;
class QWidget;

namespace dot11b::gui {

// Throw ConfigError naming the handle and the property when the handle is not
// a live control or the control has no such property.
frame::Value get(double handle, std::string_view property);
void set(double handle, std::string_view property, const frame::Value& value);

// get(handle, property) for the usual types: a number, a text, an on/off flag.
double get_number(double handle, std::string_view property);
std::string get_text(double handle, std::string_view property);
frame::Value on_off(bool on);
bool is_on(const frame::Value& value);

// The record of the window's tagged controls (widgets and menu items whose
// object name is their tag), each by its tag, the window itself under its tag
// and under `main`.
frame::Value guihandles(QWidget* window);
// The handle of `tag` in a handles record. Throws ConfigError naming the tag when it has none.
double tag_handle(const frame::Value& handles, std::string_view tag);

// Data attached to a window (its handles record), as guidata keeps it; empty
// when none was attached.
void set_guidata(QWidget* window, frame::Value data);
frame::Value guidata(const QObject* control);

// The window a control belongs to (a menu item's window included).
QWidget* window_of(const QObject* control);
QWidget* widget_of(double handle);

// Applies each setting to the control of its tag, in order.
void apply_view(const frame::Value& handles, const app::ControlSettings& settings);

}  // namespace dot11b::gui
