#pragma once
// Case folding of ASCII text (SCPI words, connection types, file extensions,
// waveform titles); other bytes are left as they are, whatever the locale.

#include <string>
#include <string_view>

namespace dot11b {

inline char to_upper_ascii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
inline char to_lower_ascii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string to_upper_ascii(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = to_upper_ascii(c);
    return result;
}

inline std::string to_lower_ascii(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = to_lower_ascii(c);
    return result;
}

inline bool equal_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (to_lower_ascii(a[i]) != to_lower_ascii(b[i])) return false;
    }
    return true;
}

}  // namespace dot11b
