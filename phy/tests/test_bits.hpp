#pragma once
// Helpers for writing bit vectors in tests as strings of '0' and '1'.

#include <string>
#include <string_view>

#include "common/types.hpp"

namespace dot11b::test {

inline Bits bits_of(std::string_view text) {
    Bits bits;
    for (const char c : text) {
        if (c == '0' || c == '1') bits.push_back(static_cast<std::uint8_t>(c - '0'));
    }
    return bits;
}

inline std::string text_of(BitSpan bits) {
    std::string text;
    for (const auto bit : bits) text.push_back(bit ? '1' : '0');
    return text;
}

}  // namespace dot11b::test
