#pragma once
// dot11b-analyze: reads a recording, finds every burst, decodes and measures
// it, and prints a report per burst.

#include <ostream>

namespace dot11b::cli {

// Exit status: 0 every burst decodes and passes, 1 a burst fails a check (or
// there is none) or the run fails (a file that cannot be read or written), 2
// a usage error (naming the option or the file).
int run_dot11b_analyze(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace dot11b::cli
