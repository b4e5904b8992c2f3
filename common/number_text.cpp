#include "common/number_text.hpp"

#include <cstdio>

namespace dot11b {

std::string number_text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

}  // namespace dot11b
