#pragma once
// How the desktop application's instrument commands reach the I/O module.
// Each command runs on a module of its own, since commands run on worker
// threads and a module is not made to be shared between them. Tests put a
// wrapper around the bridge to shorten time-outs or to stand in for an
// instrument, as they replace the dialog service.

#include <functional>

#include "instrument/hwio.hpp"
#include "instrument/io_layer.hpp"

namespace dot11b::gui {

using IoWrapper = std::function<instrument::HwIO(instrument::HwIO)>;

// Installs a wrapper (an empty one leaves the bridge as it is) and returns
// the one it replaces. Only on the GUI thread.
IoWrapper install_io_wrapper(IoWrapper wrapper);

// The bridge to `module` through the wrapper in use. Only on the GUI thread.
instrument::HwIO instrument_io(instrument::HwIoModule& module);

}  // namespace dot11b::gui
