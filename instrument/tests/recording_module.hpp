#pragma once
// An I/O module for tests that records every call and answers from a script.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "instrument/io_layer.hpp"

namespace dot11b::instrument {

struct RecordedCall {
    std::int32_t code;
    app::ConnectionConfig config;
    HwArgs args;
    Samples iq;                         // copies of a download's data
    std::vector<std::uint8_t> markers;
};

class RecordingModule {
public:
    // Answers each call; by default status 0 and an empty text.
    std::function<StatusPair(const RecordedCall&)> answer = [](const RecordedCall&) { return StatusPair{}; };
    std::vector<RecordedCall> calls;

    HwIO io() {
        return [this](std::int32_t code, const app::ConnectionConfig& config, const HwArgs& args) {
            RecordedCall call{code, config, args, {}, {}};
            if (const auto* waveform = std::get_if<WaveformData>(&args)) {
                call.iq.assign(waveform->iq.begin(), waveform->iq.end());
                call.markers.assign(waveform->markers.begin(), waveform->markers.end());
            }
            calls.push_back(call);
            return answer(calls.back());
        };
    }

    // The command text of each send and query, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const auto& call : calls) {
            if (const auto* text = std::get_if<std::string>(&call.args)) result.push_back(*text);
        }
        return result;
    }
};

}  // namespace dot11b::instrument
