#include "app/gui/download_runner.hpp"

#include "app/gui/instrument_job.hpp"
#include "common/errors.hpp"
#include "common/gui/busy_pointer.hpp"
#include "common/gui/dialog_service.hpp"
#include "instrument/corrections.hpp"

namespace dot11b::gui {
namespace {

// The outcome's text, and below it any correction file that was there but
// could not be used, so "successfully transferred" is not read as "corrected".
std::string with_warnings(const instrument::DownloadOutcome& outcome) {
    std::string text = outcome.message;
    if (!outcome.warnings.empty()) text += "\n";
    for (const auto& warning : outcome.warnings) text += "\n" + warning;
    return text;
}

// Runs the job under the progress dialog; an error the work raised ends the command.
void run(QWidget* window, const ProgressRequest& request, InstrumentJob& job) {
    dialogs().progress(window, request, job);
    if (job.error()) throw IoError(*job.error());
}

}  // namespace

instrument::DownloadOutcome download_to_instrument(QWidget* window, const DownloadInput& input) {
    instrument::DownloadOutcome outcome;
    {
        const BusyPointer busy(window);
        InstrumentJob job(window, [&](InstrumentJob& self, const instrument::HwIO& io) {
            instrument::DownloadRequest request;
            request.waveform = input.waveform;
            request.markers = input.markers;
            request.title = input.settings.title;
            request.settings = instrument::playback_settings(input.settings);
            request.configuration = input.configuration;
            request.platform = input.platform;
            request.corrections_folder = instrument::corrections_folder_of(input.configuration);
            request.ask = [&self](const std::string& title, const std::string& text) { return self.confirm(title, text); };
            outcome = instrument::download_waveform(io, request);
        });
        run(window, {"Download", "Sending the waveform to the instrument", true}, job);
    }
    if (outcome.ok) {
        dialogs().message(window, outcome.title, with_warnings(outcome));
    } else {
        dialogs().error(window, outcome.title, with_warnings(outcome));
    }
    return outcome;
}

instrument::StatusPair refresh_instrument(QWidget* window, const app::SigGenSettings& settings,
                                          const app::ConnectionConfig& configuration, const std::string& platform) {
    instrument::StatusPair result;
    InstrumentJob job(window, [&](InstrumentJob&, const instrument::HwIO& io) {
        const instrument::PlaybackSettings playback = instrument::playback_settings(settings);
        result = platform == "c" ? instrument::ORBPlay_c(io, settings.title, playback, configuration)
                                 : instrument::ORBPlay(io, settings.title, playback, configuration);
    });
    run(window, {"Refresh", "Sending the settings to the instrument", false}, job);
    if (!result.ok()) dialogs().error(window, "Error Occured During Instrument Setup", result.description);
    return result;
}

}  // namespace dot11b::gui
