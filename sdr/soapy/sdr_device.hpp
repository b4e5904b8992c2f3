#pragma once
// An SDR opened through SoapySDR, the only code that includes SoapySDR: one
// channel in one direction, configured, then played or captured. The device
// and its stream are closed whenever the object goes, also after an error.

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/types.hpp"
#include "sdr/loop_plan.hpp"
#include "sdr/rate_choice.hpp"

namespace dot11b::sdr {

enum class Direction { transmit, receive };

// "driver=..., label=..." for each device SoapySDR finds for `args`
// ("" finds all). Throws IoError.
std::vector<std::string> list_devices(const std::string& args = "");

struct ChannelSettings {
    double rate = 0;       // Hz, one the device offers
    double frequency = 0;  // Hz
    std::optional<double> gain;          // dB; clamped to the device's range
    std::optional<std::string> antenna;  // one of the device's
};

struct PlaySummary {
    std::size_t periods = 0;     // whole waveform periods played
    std::size_t samples = 0;     // device samples written
    std::size_t underflows = 0;  // reported by the stream status
};

// A new carrier and gain for a device that is playing.
struct Retune {
    double frequency = 0;        // Hz
    std::optional<double> gain;  // dB; clamped to the device's range
};

struct PlayOptions {
    std::optional<std::size_t> repeat;         // periods to play; none plays until stopped
    const std::atomic<bool>* stop = nullptr;   // set to stop playing between two writes
    // Asked between writes for settings to apply without stopping the stream.
    std::function<std::optional<Retune>()> retune;
    // Hears the running totals after each write, on the playing thread.
    std::function<void(const PlaySummary&)> progress;
};

class SdrDevice {
public:
    // Opens the first device matching `args` ("driver=hackrf"). Throws
    // IoError when none does, listing the devices found.
    SdrDevice(const std::string& args, Direction direction);
    ~SdrDevice();
    SdrDevice(const SdrDevice&) = delete;
    SdrDevice& operator=(const SdrDevice&) = delete;

    std::string driver() const;
    std::string hardware() const;
    std::vector<RateRange> rates() const;
    // The stream format used: CF32 when offered, else the native one.
    std::string stream_format_name() const;

    // Sets the rate, frequency, gain and antenna. Returns notes (a clamped
    // gain). Throws IoError naming a setting the device refuses and
    // ConfigError for an antenna it does not have.
    std::vector<std::string> configure(const ChannelSettings& settings);
    // Sets the frequency and gain alone, as configure does.
    std::vector<std::string> tune(const Retune& settings);

    // Plays the loop (at the configured rate) until `options` says stop.
    // Throws IoError when the device stops streaming.
    PlaySummary play(const LoopPlan& loop, const PlayOptions& options);

    // `count` samples at the configured rate; `overflows` counts the reads
    // that reported samples lost before them. Throws IoError when the device
    // stops streaming or delivers nothing for seconds.
    Samples capture(std::size_t count, std::size_t& overflows);

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace dot11b::sdr
