#pragma once
// dot11b-plcp: the PLCP preamble and header of a frame, scrambled, and the
// chips they occupy; a quick look at the bit-exact DSSS core.
//   dot11b-plcp [RATE] [OCTETS] [PREAMBLE]

#include <ostream>

namespace dot11b::cli {

// Exit status: 0 success, 2 a usage error naming the argument, its value and
// what it allows.
int run_dot11b_plcp(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace dot11b::cli
