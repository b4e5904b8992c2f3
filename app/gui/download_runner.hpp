#pragma once
// Download and Refresh as the main window's buttons run them: the transfer
// off the GUI thread under the dialog service's progress dialog, then the
// message that reports the outcome. The readiness check comes before and is
// the caller's.

#include <cstdint>
#include <string>
#include <vector>

#include <QWidget>

#include "app/records.hpp"
#include "common/types.hpp"
#include "instrument/download_request.hpp"

namespace dot11b::gui {

// Copies of what goes to the instrument, so the window may go on while the worker reads them.
struct DownloadInput {
    Samples waveform;
    std::vector<std::uint8_t> markers;  // one byte per sample: bit 0 marker row 1, bit 1 row 2
    app::SigGenSettings settings;
    app::ConnectionConfig configuration;
    std::string platform = "b";  // "c" selects the "c" platform's playback
};

// With the watch pointer over `window`: corrections, the waveform into the
// instrument (the RS-232 transfer-time question asked through the dialog
// service), playback; then "Download Completed" or the failed step's error,
// with any correction file that could not be used named below.
// Cancelling the progress dialog ends the download as "Download cancelled".
// An error raised on the way (not a status) is thrown as IoError.
instrument::DownloadOutcome download_to_instrument(QWidget* window, const DownloadInput& input);

// Sends only the playback settings; a failure is shown titled "Error Occured
// During Instrument Setup". An error raised on the way is thrown as IoError.
instrument::StatusPair refresh_instrument(QWidget* window, const app::SigGenSettings& settings,
                                          const app::ConnectionConfig& configuration, const std::string& platform);

}  // namespace dot11b::gui
