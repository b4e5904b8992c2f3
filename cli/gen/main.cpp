// dot11b-gen: the waveform generator on the command line; see command_line.hpp.

#include <iostream>

#include "cli/gen/command_line.hpp"

int main(int argc, char** argv) { return dot11b::cli::run_dot11b_gen(argc, argv, std::cout, std::cerr); }
