#pragma once
// Time stamps of the application shell: [year month day hour minute seconds]
// as 07OCT2002 9:05:03.

#include <span>
#include <string>

namespace dot11b::app {

// Day with two digits, upper-case month abbreviation, year, blank, hour
// without a leading zero, minute and whole seconds with two digits. Throws
// ConfigError unless the vector has six elements and a month from 1 to 12.
std::string clock2str(std::span<const double> clock);

}  // namespace dot11b::app
