#pragma once
// A number as messages show it: up to 15 significant digits, so whole numbers
// up to 15 digits are exact and fractions are short ("5.5", "0.05",
// "281474976710655", "nan").

#include <string>

namespace dot11b {

std::string number_text(double value);

}  // namespace dot11b
