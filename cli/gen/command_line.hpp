#pragma once
// dot11b-gen: builds one period of an IEEE 802.11b waveform from the
// application's start-up defaults, a parameter file and options, and writes
// it in the formats asked for.

#include <ostream>

namespace dot11b::cli {

// Exit status: 0 success; 2 a usage error, an option or value as typed
// (the message names the option, the value and what it allows); 1 a failure
// found while running: a file's contents, the instrument, a configuration the
// frame builder refuses (the message names the file, the connection or the entry).
int run_dot11b_gen(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace dot11b::cli
