#include "app/gui/instrument_io.hpp"

namespace dot11b::gui {
namespace {

IoWrapper& current() {
    static IoWrapper wrapper;
    return wrapper;
}

}  // namespace

IoWrapper install_io_wrapper(IoWrapper wrapper) {
    std::swap(current(), wrapper);
    return wrapper;
}

instrument::HwIO instrument_io(instrument::HwIoModule& module) {
    instrument::HwIO io = instrument::bridge_to(module);
    return current() ? current()(std::move(io)) : io;
}

}  // namespace dot11b::gui
