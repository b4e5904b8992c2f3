#include "cli/gen/download_options.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <ostream>

#include "app/waveform_files/marker_file.hpp"
#include "cli/gen/usage_error.hpp"
#include "common/number_text.hpp"
#include "instrument/connection_uri.hpp"
#include "instrument/corrections.hpp"
#include "instrument/download_request.hpp"
#include "instrument/hwio.hpp"
#include "instrument/sig_gen_entries.hpp"

namespace dot11b::cli {
namespace {

const std::vector<std::string> kReconFilters = {"250khz", "2.5mhz", "8mhz", "through"};  // ReconFilter 1 to 4

// Progress of a transfer on one line, shown once it has taken a second.
class ProgressLine {
public:
    explicit ProgressLine(std::ostream& err) : err_(err), start_(std::chrono::steady_clock::now()) {}

    void operator()(std::size_t done, std::size_t total) {
        if (!shown_ && std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1)) return;
        shown_ = true;
        char line[96];
        std::snprintf(line, sizeof line, "\rdownloading: %3.0f%% (%zu of %zu bytes)",
                      total > 0 ? 100.0 * static_cast<double>(done) / static_cast<double>(total) : 100.0, done, total);
        open_ = done != total;
        err_ << line << (open_ ? "" : "\n") << std::flush;
    }

    // Ends a line left open by a transfer that stopped part-way.
    void finish() {
        if (open_) err_ << '\n';
        open_ = false;
    }

private:
    std::ostream& err_;
    std::chrono::steady_clock::time_point start_;
    bool shown_ = false;
    bool open_ = false;
};

}  // namespace

void DownloadOptions::add_to(CLI::App& app) {
    app.add_option("--download", uri_,
                   "download to an instrument and play: tcpip://HOST[:PORT], "
                   "serial:DEVICE?baud=N&handshake=xon|rtscts|none or gpib://BOARD/PRIMARY[/SECONDARY]");
    const app::SigGenSettings d;
    const auto with_default = [](const std::string& help, const std::string& value) {
        return help + " (default " + value + ")";
    };
    auto* frequency =
        app.add_option("--frequency", frequency_, with_default("carrier frequency in Hz", number_text(d.frequency)))
            ->check(CLI::Range(instrument::kMinFrequency, instrument::kMaxFrequency));
    app.add_option("--channel", channel_, "RF channel 1 to 14 (sets the carrier frequency)")
        ->check(CLI::Range(1, 14))
        ->excludes(frequency);
    app.add_option("--amplitude", amplitude_,
                   with_default("output level in dBm, whole numbers", number_text(d.amplitude)))
        ->check(CLI::Range(instrument::kMinAmplitude, instrument::kMaxAmplitude));
    app.add_option("--title", title_,
                   with_default("waveform name in the instrument: upper-cased, only A-Z 0-9 _ $ & # + - [ ] kept, "
                                "at most 20",
                                d.title + ", sent as it is"));
    app.add_option("--recon-filter", recon_filter_,
                   with_default("ARB reconstruction filter", kReconFilters[static_cast<std::size_t>(d.recon_filter - 1)]))
        ->check(CLI::IsMember(kReconFilters));
    app.add_option("--rf-blanking", rf_blanking_, with_default("RF blanking by marker", d.rf_blanking ? "on" : "off"))
        ->check(CLI::IsMember({"on", "off"}));
    app.add_option("--marker-polarity", marker_polarity_,
                   with_default("marker polarity", d.negative_markers ? "neg" : "pos"))
        ->check(CLI::IsMember({"pos", "neg"}));
    app.add_option("--arb-ref", arb_ref_, with_default("ARB reference source", d.external_reference ? "ext" : "int"))
        ->check(CLI::IsMember({"int", "ext"}));
    app.add_option("--corrections-dir", corrections_dir_,
                   "folder of the instrument's correction files (default " +
                       instrument::default_corrections_folder().string() + ")");
    app.add_flag("--yes", yes_, "go ahead with a long RS-232 transfer without asking");
}

void DownloadOptions::apply(app::FormatParameters& parameters, app::SigGenSettings& settings) const {
    if (uri_) {
        try {
            instrument::parse_connection_uri(*uri_);
        } catch (const ConfigError& e) {
            throw UsageError(e.what());
        }
    }
    if (frequency_) settings.frequency = instrument::frequency_entry(frequency_);
    if (channel_) {
        parameters.channel = *channel_;
        settings.frequency = instrument::channel_frequency(*channel_);
    }
    if (amplitude_) settings.amplitude = instrument::amplitude_entry(amplitude_);
    if (title_) settings.title = instrument::waveform_title_entry(*title_);
    if (recon_filter_) {
        const auto at = std::find(kReconFilters.begin(), kReconFilters.end(), *recon_filter_);
        settings.recon_filter = static_cast<int>(at - kReconFilters.begin()) + 1;
    }
    if (rf_blanking_) settings.rf_blanking = *rf_blanking_ == "on";
    if (marker_polarity_) settings.negative_markers = *marker_polarity_ == "neg";
    if (arb_ref_) settings.external_reference = *arb_ref_ == "ext";
}

instrument::DownloadOutcome DownloadOptions::run(const GeneratedWaveform& generated, std::ostream& err) const {
    const instrument::ConnectionUri connection = instrument::parse_connection_uri(*uri_);
    instrument::HwIoModule module;
    ProgressLine progress(err);
    module.set_progress(std::ref(progress));

    const phy::FrameWaveform& frame = generated.calculation.frame;
    const std::vector<std::uint8_t> markers = waveform_files::marker_bytes(frame.frame_marker, frame.burst_marker);
    instrument::DownloadRequest request;
    request.waveform = frame.samples;
    request.markers = markers;
    request.title = generated.settings.title;
    request.settings = instrument::playback_settings(generated.settings);
    request.configuration = connection.config;
    request.corrections_folder =
        corrections_dir_ ? std::filesystem::path(*corrections_dir_) : instrument::default_corrections_folder();
    request.ask = [&](const std::string& title, const std::string& text) {
        err << title << ": " << text << (yes_ ? " Going ahead (--yes)." : " Not without --yes.") << '\n';
        return yes_;
    };

    const instrument::DownloadOutcome outcome = instrument::download_waveform(instrument::bridge_to(module), request);
    progress.finish();
    err << outcome.title << ": " << outcome.message << '\n';
    for (const auto& warning : outcome.warnings) err << "warning: " << warning << '\n';
    return outcome;
}

}  // namespace dot11b::cli
