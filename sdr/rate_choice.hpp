#pragma once
// Which sample rate an SDR plays or captures at, from the rates it offers.

#include <optional>
#include <string>
#include <vector>

namespace dot11b::sdr {

// 11 Mchip/s needs at least one sample per chip.
inline constexpr double kMinDeviceRate = 11e6;

// A range of offered rates in Hz: one rate when minimum == maximum; a step of
// 0 means any rate in between.
struct RateRange {
    double minimum = 0;
    double maximum = 0;
    double step = 0;
};

struct RateChoice {
    double rate = 0;           // Hz
    std::optional<std::string> note;  // why the rate differs from the one wanted
};

// True when `rate` is among the offered rates (to 1 Hz).
bool offers(const std::vector<RateRange>& offered, double rate);

// The playing rate: `requested` when given (it must be offered and at least
// kMinDeviceRate; below the waveform's rate it comes with the note); otherwise the waveform's own rate when offered, else the
// lowest offered rate above it, else the highest offered rate of at least
// kMinDeviceRate, with a note that the band is cut. Throws ConfigError when
// no rate fits, naming the offered rates.
RateChoice choose_play_rate(const std::vector<RateRange>& offered, double waveform_rate,
                            std::optional<double> requested);

// The capturing rate: `requested` when given (offered, at least
// kMinDeviceRate); otherwise the lowest offered rate of at least 22 MHz (two
// samples per chip), else the highest offered rate of at least kMinDeviceRate.
RateChoice choose_capture_rate(const std::vector<RateRange>& offered, std::optional<double> requested);

// "1 MHz, 2 MHz to 20 MHz" for messages.
std::string rates_text(const std::vector<RateRange>& offered);

}  // namespace dot11b::sdr
