#include "instrument/download_request.hpp"

#include <system_error>

#include "instrument/corrections.hpp"

namespace dot11b::instrument {
namespace {

// The download goes ahead uncorrected (or partly corrected), but a file that
// is there and could not be used is reported, so that "successfully
// transferred" is never read as "corrected" when it was not.
std::vector<std::string> correction_warnings(const CorrectionData& corrections,
                                             const std::vector<std::string>& failures) {
    std::vector<std::string> warnings;
    const std::string intro = "corrections not applied: " + corrections.file.string() + ": ";
    if (corrections.found()) {
        for (const auto& failure : failures) warnings.push_back(intro + failure);
        return warnings;
    }
    std::error_code ignored;
    const auto* reason = std::get_if<std::string>(&corrections.status);
    if (reason && !corrections.file.empty() && std::filesystem::exists(corrections.file, ignored)) {
        warnings.push_back(intro + *reason);
    }
    return warnings;
}

}  // namespace

DownloadOutcome download_waveform(const HwIO& io, const DownloadRequest& request) {
    DownloadOutcome outcome;
    // Missing or unusable corrections never stop a download: the waveform goes uncorrected.
    const CorrectionData corrections =
        GetCorrectionData(io, request.configuration, request.settings.Frequency, request.corrections_folder);
    const AppliedCorrections applied = apply_corrections(request.waveform, corrections, request.settings.SamplingRate);
    outcome.corrected = corrections.found() && applied.failures.empty();
    outcome.warnings = correction_warnings(corrections, applied.failures);

    outcome.status = ORBDownLoadWrap(io, applied.x, request.markers, request.title, request.configuration, 1, request.ask);
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
