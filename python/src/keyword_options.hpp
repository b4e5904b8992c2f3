#pragma once
// Keyword arguments as a tool's named options: "ramp_time=2" is --ramp-time 2.
// Values become the text the option would be typed as; the tool's own option
// table then checks them, so the messages are the command line's.

#include <span>
#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "cli/named_options/named_options.hpp"

namespace dot11b::python {

// True sets a flag and False leaves it out; other booleans are "on" and
// "off"; numbers are written as the command line shows them; a list gives
// the option once per item and a dict once per "KEY=VALUE"; None leaves the
// option at its default. Raises TypeError naming `function` and the keyword
// for a keyword the table lacks or a value of a type it cannot take.
std::vector<cli::NamedOption> named_options(const pybind11::dict& keywords,
                                            std::span<const cli::OptionDescription> table, const char* function);

// The options of `table` for a docstring: each keyword with what it takes,
// then its help text with the default.
std::string options_docstring(std::span<const cli::OptionDescription> table);

}  // namespace dot11b::python
