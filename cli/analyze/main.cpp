// dot11b-analyze: the receiver and transmitter measurements on the command line; see command_line.hpp.

#include <iostream>

#include "cli/analyze/command_line.hpp"

int main(int argc, char** argv) { return dot11b::cli::run_dot11b_analyze(argc, argv, std::cout, std::cerr); }
