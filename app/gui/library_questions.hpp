#pragma once
// While the desktop application runs, the questions of operations called
// through the library (a long RS-232 download) are asked through its dialog
// service, on the GUI thread whichever thread asks.

namespace dot11b::gui {

// Installs the asker until the library is terminated.
void answer_library_questions();

}  // namespace dot11b::gui
