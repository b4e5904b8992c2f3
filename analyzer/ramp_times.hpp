#pragma once
// Power-on and power-down ramp times (IEEE 802.11-2016 clauses 16 and 17): the
// time the transmit power takes from 10 % to 90 % of its level in the frame,
// and back from 90 % to 10 %.

#include <optional>
#include <span>

namespace dot11b::analyzer {

struct RampTimes {
    std::optional<double> power_on_s;    // absent when the power is above 10 % from the start
    std::optional<double> power_down_s;  // absent when it stays above 10 % to the end
};

// `chip_powers` is the signal power at consecutive chip instants `chip_seconds`
// apart, noise power removed, from before the burst to after it; `frame_power`
// the power of the frame (the 100 % level). The powers are averaged over three
// chips and the crossings interpolated between chip instants.
RampTimes measure_ramps(std::span<const double> chip_powers, double chip_seconds, double frame_power);

}  // namespace dot11b::analyzer
