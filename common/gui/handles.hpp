#pragma once
// Numeric handles for windows and controls, as callers of the registry see
// them: a window or control is passed to and returned from operations as a
// number. A handle stays valid while its object lives.

class QObject;

namespace dot11b::gui {

// The object's handle, assigned on first use (1, 2, 3, ...).
double handle_of(QObject* object);

// The object behind a handle; nullptr when the handle is unknown or its object is gone.
QObject* object_of(double handle);

}  // namespace dot11b::gui
