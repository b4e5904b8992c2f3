#pragma once
// A window's font, for the window and its menus alike: menus are windows of
// their own and do not take their parent's font.

#include <QFont>

class QWidget;

namespace dot11b::gui {

void set_window_font(QWidget* window, const QFont& font);

}  // namespace dot11b::gui
