#include "common/gui/busy_pointer.hpp"

namespace dot11b::gui {

BusyPointer::BusyPointer(QWidget* window) : window_(window) {
    if (!window_) return;
    had_own_pointer_ = window_->testAttribute(Qt::WA_SetCursor);
    old_ = window_->cursor();
    window_->setCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer() {
    if (!window_) return;
    if (had_own_pointer_) {
        window_->setCursor(old_);
    } else {
        window_->unsetCursor();
    }
}

}  // namespace dot11b::gui
