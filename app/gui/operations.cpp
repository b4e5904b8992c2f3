// Registry adapters of the desktop application's windows and dialogs.

#include "app/gui/sig_gen_script.hpp"
#include "frame/adapters.hpp"

namespace dot11b::ops {

frame::Outputs XR_SigGen(const frame::Inputs& in, int nargout) { return gui::sig_gen_script(in, nargout); }

}  // namespace dot11b::ops
