#pragma once
// The last console message in a status bar, so that what the console says is
// also seen in the window: the status bar (`sbStatus`) of the window whose
// callback printed it (the MAC header window has its own), else that of the
// main window. Errors show in the error colour with an error icon; the whole
// text is in the tooltip.

#include <string_view>

#include "frame/console.hpp"

class QWidget;

namespace dot11b::gui {

// Tells the console to show its messages in the status bars (once; the
// watcher that was set before still hears every message).
void show_console_in_status_bars();

// Shows the message in the window's status bar; nothing when it has none.
void show_status(QWidget* window, frame::ConsoleKind kind, std::string_view message);
// Empties the window's status bar.
void clear_status(QWidget* window);

}  // namespace dot11b::gui
