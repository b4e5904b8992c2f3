#pragma once
// The options of dot11b-analyze that capture from an SDR through SoapySDR
// instead of reading a file, and keep the capture when asked.

#include <iosfwd>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "sdr/soapy/sdr_session.hpp"

namespace dot11b::cli {

class SdrCaptureOptions {
public:
    // `file` is the FILE option, which --sdr replaces.
    void add_to(CLI::App& app, CLI::Option* file);

    bool requested() const { return args_.has_value(); }
    // "sdr:ARGS", the recording's name in the report.
    std::string source_name() const { return "sdr:" + *args_; }

    // The capture's length when --duration does not give one.
    static constexpr double kDefaultDurationSeconds = 0.1;

    // Captures `duration_s` seconds, prints the setup and its notes on `err`,
    // and writes --save FILE (SigMF or .cf32) before anything is analysed.
    // Throws ConfigError or IoError; the device is closed in every case.
    sdr::Capture capture(double duration_s, std::ostream& err) const;

private:
    std::optional<std::string> args_;
    double frequency_ = 2412e6;
    std::optional<double> rate_;
    std::optional<double> gain_;
    std::optional<std::string> save_;
};

}  // namespace dot11b::cli
