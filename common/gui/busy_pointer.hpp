#pragma once
// The watch pointer over a window for the length of a scope; the pointer the
// window had comes back afterwards. Long work on the user-interface thread
// shows itself this way.

#include <QCursor>
#include <QPointer>
#include <QWidget>

namespace dot11b::gui {

class BusyPointer {
public:
    explicit BusyPointer(QWidget* window);
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    QPointer<QWidget> window_;
    bool had_own_pointer_ = false;  // false: the window showed its parent's pointer
    QCursor old_;
};

}  // namespace dot11b::gui
