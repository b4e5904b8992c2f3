#include "common/gui/window_font.hpp"

#include <QMenu>
#include <QWidget>

namespace dot11b::gui {

void set_window_font(QWidget* window, const QFont& font) {
    window->setFont(font);
    for (QMenu* menu : window->findChildren<QMenu*>()) menu->setFont(font);
}

}  // namespace dot11b::gui
