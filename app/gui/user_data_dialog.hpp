#pragma once
// loadUserDataFile: a file chosen by the user as payload bits.

#include "frame/inputs.hpp"

namespace dot11b::gui {

// loadUserDataFile(maxLengthInBits = 0, bitorder = "right-msb") -> (bits,
// status): status 1 with the file's bits, or -1 with no bits when the dialog
// was cancelled or the file could not be read (after a "File Error" dialog).
// The dialog starts in parameters.LastPath, which becomes the file's folder.
frame::Outputs load_user_data_file(const frame::Inputs& in, int nargout);

}  // namespace dot11b::gui
