#pragma once
// XR_SigGen as the registry calls it. With the calling window's handle, a
// connection record and a text (all optional) it opens the modal connection
// dialog and returns the answer ("OK" or "Cancel") and the record; with a
// text first it runs its local operation of that name (the controls'
// handlers among them), printing an error there on the console.

#include "frame/inputs.hpp"

namespace dot11b::gui {

frame::Outputs sig_gen_script(const frame::Inputs& in, int nargout);

}  // namespace dot11b::gui
