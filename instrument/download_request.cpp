#include "instrument/download_request.hpp"

#include "instrument/corrections.hpp"

namespace dot11b::instrument {

DownloadOutcome download_waveform(const HwIO& io, const DownloadRequest& request) {
    DownloadOutcome outcome;
    // Missing or unusable corrections never stop a download: the waveform goes uncorrected.
    const CorrectionData corrections =
        GetCorrectionData(io, request.configuration, request.settings.Frequency, request.corrections_folder);
    outcome.corrected = corrections.found();
    const Samples waveform = apply_corrections(request.waveform, corrections, request.settings.SamplingRate);

    outcome.status = ORBDownLoadWrap(io, waveform, request.markers, request.title, request.configuration, 1, request.ask);
    if (!outcome.status.ok()) {
        outcome.title = "Error Occured During Waveform Download";
        outcome.message = outcome.status.description;
        return outcome;
    }
    outcome.status = request.platform == "c"
                         ? ORBPlay_c(io, request.title, request.settings, request.configuration)
                         : ORBPlay(io, request.title, request.settings, request.configuration);
    outcome.ok = outcome.status.ok();
    outcome.title = outcome.ok ? "Download Completed" : "Error Occured During Instrument Setup";
    outcome.message = outcome.ok ? "Waveform has been successfully transferred to the instrument"
                                 : outcome.status.description;
    return outcome;
}

}  // namespace dot11b::instrument
