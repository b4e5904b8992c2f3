#pragma once
// dot11_MACconfig, the modal MAC header window: the seven header fields in
// hexadecimal, each switched on or off.

#include "frame/inputs.hpp"
#include "frame/local_functions.hpp"

namespace dot11b::gui::mac_config {

const frame::LocalTable& table();

// dot11_MACconfig(fig, MACheader): shows the window with the record (the
// defaults without one), waits until it is dismissed and returns the answer
// ("OK" or "Cancel") and the edited record.
frame::Outputs open(const frame::Inputs& in, int nargout);

}  // namespace dot11b::gui::mac_config
