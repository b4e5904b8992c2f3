#pragma once
// The self-synchronising descrambler of the IEEE 802.11 DSSS PHY (clause 16,
// polynomial z^-7 + z^-4 + 1): each bit is the received bit XOR the received
// bits 4 and 7 places earlier, so it needs no seed once seven bits are in.

#include <cstdint>

#include "common/types.hpp"

namespace dot11b::analyzer {

class Descrambler {
public:
    std::uint8_t next(std::uint8_t received) {
        const auto out = static_cast<std::uint8_t>((received ^ (history_ >> 3) ^ (history_ >> 6)) & 1U);
        history_ = static_cast<std::uint8_t>(((history_ << 1) | (received & 1U)) & 0x7FU);
        return out;
    }

    Bits run(BitSpan received) {
        Bits out(received.size());
        for (std::size_t i = 0; i < received.size(); ++i) out[i] = next(received[i]);
        return out;
    }

private:
    std::uint8_t history_ = 0;  // bit k: the received bit k + 1 places back
};

}  // namespace dot11b::analyzer
