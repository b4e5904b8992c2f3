#pragma once
// The command-line options that play the waveform on an SDR through SoapySDR.

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/gen/generated_waveform.hpp"
#include "sdr/soapy/sdr_device.hpp"

namespace dot11b::cli {

class SdrOptions {
public:
    void add_to(CLI::App& app);

    bool requested() const { return args_.has_value(); }
    bool list_requested() const { return list_; }

    // Prints the devices SoapySDR finds, one a line, on `out`.
    void list(std::ostream& out) const;

    // Plays the waveform at its carrier frequency (--frequency, --channel)
    // until --repeat periods are played or SIGINT or SIGTERM arrives, with the
    // setup and then the summary (periods, samples, underflows) on `err`.
    // Throws ConfigError or IoError; the device is closed in every case.
    sdr::PlaySummary run(const GeneratedWaveform& generated, std::ostream& err) const;

private:
    std::optional<std::string> args_;
    std::optional<double> gain_;
    std::optional<std::string> antenna_;
    std::optional<double> rate_;
    std::optional<std::size_t> repeat_;
    bool list_ = false;
};

}  // namespace dot11b::cli
