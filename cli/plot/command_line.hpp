#pragma once
// dot11b-plot: reads a waveform file (.wfm, .cf32, SigMF, Save Wave .mat) and
// writes the plot views asked for, drawn offscreen by the plot windows' own
// drawing, as PNG, PDF or CSV files. A QApplication must exist.

#include <ostream>

namespace dot11b::cli {

// Exit status: 0 success, 2 usage error (naming the option and what it
// allows), 1 runtime failure (naming the file).
int run_dot11b_plot(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace dot11b::cli
