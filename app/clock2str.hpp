#pragma once
// Time stamps of the application shell: [year month day hour minute seconds]
// as 07OCT2002 9:05:03.

#include <array>
#include <span>
#include <string>

namespace dot11b::app {

// Day with two digits, upper-case month abbreviation, year, blank, hour
// without a leading zero, minute and whole seconds with two digits. Throws
// ConfigError unless the vector has six elements and a month from 1 to 12.
std::string clock2str(std::span<const double> clock);

// The local date and time now as [year month day hour minute seconds], the
// seconds with their fraction.
std::array<double, 6> clock_now();

}  // namespace dot11b::app
