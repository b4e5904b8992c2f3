#include "app/transmit_pulse.hpp"

#include <cmath>

#include "phy/frame_config.hpp"

namespace dot11b::app {

waveform_files::PulseFilter transmit_pulse(const FormatParameters& p) {
    waveform_files::PulseFilter filter;
    if (p.filter == phy::FilterType::None) return filter;
    filter.type = p.filter == phy::FilterType::Gaussian ? "gaussian" : "root-cosine";
    filter.factor = p.filter_factor;
    const double taps = std::floor(p.filter_taps * p.oversampling - 1) + 1;
    filter.length_symbols = taps / phy::sample_rate_plan(p.oversampling).upsample_factor;
    return filter;
}

}  // namespace dot11b::app
