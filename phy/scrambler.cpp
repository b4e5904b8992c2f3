#include "phy/scrambler.hpp"

#include <algorithm>
#include <sstream>

#include "common/errors.hpp"

namespace dot11b::phy {

ScramblerMode scrambler_mode_from_value(double value, std::string_view context) {
    if (value == 0) return ScramblerMode::Off;
    if (value == 1) return ScramblerMode::On;
    if (value == 2) return ScramblerMode::PreambleOnly;
    std::ostringstream message;
    message << context << ": scrambleActive " << value << " is not 0 (off), 1 (on) or 2 (preamble only)";
    throw ConfigError(message.str());
}

ScramblerSeed scrambler_seed(PreambleType type) {
    if (type == PreambleType::Long) return {1, 1, 0, 1, 1, 0, 0};
    return {0, 0, 1, 1, 0, 1, 1};
}

Bits scramble_741(BitSpan input, const ScramblerSeed& seed) {
    Bits output(input.size());
    // history[k - 1] is the scrambler output k bits ago.
    ScramblerSeed history = seed;
    for (std::size_t i = 0; i < input.size(); ++i) {
        const std::uint8_t out = (input[i] ^ history[3] ^ history[6]) & 1U;
        std::copy_backward(history.begin(), history.end() - 1, history.end());
        history[0] = out;
        output[i] = out;
    }
    return output;
}

Bits scramble_frame(ScramblerMode mode, PreambleType type, BitSpan frame) {
    switch (mode) {
    case ScramblerMode::Off:
        return Bits(frame.begin(), frame.end());
    case ScramblerMode::On:
        return scramble_741(frame, scrambler_seed(type));
    case ScramblerMode::PreambleOnly: {
        const std::size_t scrambled = std::min(frame.size(), preamble_bit_count(type));
        Bits output = scramble_741(frame.first(scrambled), scrambler_seed(type));
        output.insert(output.end(), frame.begin() + static_cast<std::ptrdiff_t>(scrambled), frame.end());
        return output;
    }
    }
    return {};
}

}  // namespace dot11b::phy
