#include "app/gui/busy_pointer.hpp"

#include "app/gui/graphics.hpp"
#include "app/gui/handles.hpp"

namespace dot11b::gui {

BusyPointer::BusyPointer(QWidget* window) : window_(window) {
    if (!window_) return;
    old_ = get(handle_of(window_), "Pointer");
    set(handle_of(window_), "Pointer", frame::Value::text("watch"));
}

BusyPointer::~BusyPointer() {
    if (window_) set(handle_of(window_), "Pointer", old_);
}

}  // namespace dot11b::gui
