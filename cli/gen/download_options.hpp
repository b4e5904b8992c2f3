#pragma once
// The command-line options of the signal generator: its settings (carrier,
// level, title, filters, markers, reference), and the download of the
// waveform to an instrument with playback.

#include <iosfwd>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "app/records.hpp"
#include "cli/gen/generated_waveform.hpp"
#include "instrument/download_request.hpp"

namespace dot11b::cli {

class DownloadOptions {
public:
    void add_to(CLI::App& app);

    // Applies the generator settings options as the settings panel would
    // store them (entries outside their ranges were refused by the parser).
    // Throws ConfigError for a --download text that names no connection.
    void apply(app::FormatParameters& parameters, app::SigGenSettings& settings) const;

    bool requested() const { return uri_.has_value(); }

    // Downloads the waveform and sets up playback, printing the outcome with
    // the message box's title and text, a warning line for each correction
    // file that could not be used, and the progress of long transfers, on `err`.
    instrument::DownloadOutcome run(const GeneratedWaveform& generated, std::ostream& err) const;

private:
    std::optional<std::string> uri_;
    std::optional<double> frequency_;
    std::optional<int> channel_;
    std::optional<double> amplitude_;
    std::optional<std::string> title_;
    std::optional<std::string> recon_filter_;
    std::optional<std::string> rf_blanking_;
    std::optional<std::string> marker_polarity_;
    std::optional<std::string> arb_ref_;
    std::optional<std::string> corrections_dir_;
    bool yes_ = false;
};

}  // namespace dot11b::cli
