#pragma once
// Playing a waveform period on an SDR and capturing from one, from the
// request to the summary: what every front end calls.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/types.hpp"
#include "sdr/soapy/sdr_device.hpp"

namespace dot11b::sdr {

struct PlayRequest {
    std::string args;       // SoapySDR device arguments, "driver=hackrf"
    SampleSpan period;      // one waveform period
    double waveform_rate = 0;  // Hz
    double frequency = 0;      // Hz
    std::optional<double> gain;          // dB
    std::optional<std::string> antenna;
    std::optional<double> rate;          // Hz; the default rules choose when absent
    PlayOptions options;
};

// What is known once the device is set up, before the first sample plays.
struct PlaySetup {
    std::string device;  // driver and hardware key
    double rate = 0;     // Hz
    std::string format;  // stream format
    std::string loop;    // how the loop is made
    std::vector<std::string> notes;
};

// Opens the device, chooses the rate, resamples and scales the loop, plays
// it and closes the device. `started` hears the setup before playing.
// Throws ConfigError (rate, antenna, loop) or IoError (device); the device is
// closed in every case.
PlaySummary play_waveform(const PlayRequest& request, const std::function<void(const PlaySetup&)>& started);

// "standin (StandIn-1); transmit rates: ..." for a connection check. Throws
// IoError saying why the device named by `args` cannot be opened.
std::string describe_device(const std::string& args);

struct CaptureRequest {
    std::string args;
    double frequency = 0;       // Hz
    std::optional<double> gain;  // dB
    std::optional<double> rate;  // Hz; the default rules choose when absent
    double duration = 0.1;      // s
};

struct Capture {
    Samples samples;
    double rate = 0;       // Hz
    double frequency = 0;  // Hz
    std::string driver;
    std::string hardware;
    std::chrono::system_clock::time_point start;
    std::vector<std::string> notes;
};

// Throws ConfigError for a duration that is not above 0 or a rate refused,
// IoError for the device.
Capture capture_waveform(const CaptureRequest& request);

}  // namespace dot11b::sdr
