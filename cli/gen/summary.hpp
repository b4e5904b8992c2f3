#pragma once
// What a dot11b-gen run made: as text on standard error, or as JSON.

#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/gen/generated_waveform.hpp"
#include "instrument/download_request.hpp"
#include "sdr/soapy/sdr_device.hpp"

namespace dot11b::cli {

// samples, sample_rate (Hz), duration_s, projected_length (null at 22 and 33
// Mbit/s), psdu_bits, psdu_octets, the files written, and after a download
// its outcome (ok, title, message, warnings), after playing on an SDR what
// was played (periods, samples, underflows).
nlohmann::ordered_json summary_json(const GeneratedWaveform& waveform,
                                    const std::vector<std::filesystem::path>& written,
                                    const std::optional<instrument::DownloadOutcome>& download = std::nullopt,
                                    const std::optional<sdr::PlaySummary>& played = std::nullopt);

void print_summary(std::ostream& out, const GeneratedWaveform& waveform,
                   const std::vector<std::filesystem::path>& written);

}  // namespace dot11b::cli
