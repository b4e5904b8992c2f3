#pragma once
// The transmitter's pulse-shaping filter as a recording describes it, so that
// an analyser can rebuild the ideal signal ("dot11b:filter" of SigMF).

#include <string>

namespace dot11b::waveform_files {

struct PulseFilter {
    std::string type = "none";  // "none", "gaussian" or "root-cosine"
    double factor = 0;          // BT or roll-off
    double length_symbols = 0;  // the span of the taps, in chips
    bool operator==(const PulseFilter&) const = default;
};

}  // namespace dot11b::waveform_files
