#pragma once
// The composition root: which script's callback each control of a window
// calls. Every connection of a control to its callback is made here.

class QDialog;
class QWidget;

namespace dot11b::gui {

// The main window's controls: the format, framing, payload and shaping
// controls call dot11b_GUI_b, the generator panel ORBconfig, the Calculate,
// Download and Refresh buttons rfCommonUI. A control whose callback is not
// (yet) in its script's table is disabled.
void connect_main_window(QWidget* main);

// The MAC header window: its fields call dot11_MACconfig's Field_Callback,
// its buttons and close box the button and close callbacks.
void connect_mac_header_window(QDialog* window);

}  // namespace dot11b::gui
