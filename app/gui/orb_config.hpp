#pragma once
// ORBconfig, the generator settings panel of the main window: carrier,
// level, sample clock, reconstruction filter, RF blanking, ARB reference,
// marker polarity and the waveform title, in `SigGenSettings`.

#include "frame/local_functions.hpp"

namespace dot11b::gui::orb_config {

const frame::LocalTable& table();

}  // namespace dot11b::gui::orb_config
