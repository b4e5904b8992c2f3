#pragma once
// Short decimal text of a number for error messages ("24.5", "0.05", "nan").

#include <sstream>
#include <string>

namespace dot11b::shaping {

inline std::string number_text(double value) {
    std::ostringstream text;
    text.precision(10);
    text << value;
    return text.str();
}

}  // namespace dot11b::shaping
