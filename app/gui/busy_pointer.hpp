#pragma once
// The watch pointer over a window for the length of a scope, through the
// window's Pointer property; the pointer it had comes back afterwards.

#include <QPointer>
#include <QWidget>

#include "frame/value.hpp"

namespace dot11b::gui {

class BusyPointer {
public:
    explicit BusyPointer(QWidget* window);
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    QPointer<QWidget> window_;
    frame::Value old_;
};

}  // namespace dot11b::gui
