// dot11b-plcp: see command_line.hpp.

#include <iostream>

#include "cli/plcp/command_line.hpp"

int main(int argc, char** argv) { return dot11b::cli::run_dot11b_plcp(argc, argv, std::cout, std::cerr); }
