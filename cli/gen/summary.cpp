#include "cli/gen/summary.hpp"

#include <iomanip>

#include "app/record_reader.hpp"

namespace dot11b::cli {

nlohmann::ordered_json summary_json(const GeneratedWaveform& waveform,
                                    const std::vector<std::filesystem::path>& written,
                                    const std::optional<instrument::DownloadOutcome>& download) {
    const auto samples = waveform.samples().size();
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    for (const auto& path : written) files.push_back(path.string());
    nlohmann::ordered_json summary = {
        {"samples", samples},
        {"sample_rate", waveform.sample_rate()},
        {"duration_s", static_cast<double>(samples) / waveform.sample_rate()},
        {"projected_length", waveform.projected_length ? nlohmann::ordered_json(*waveform.projected_length)
                                                       : nlohmann::ordered_json(nullptr)},
        {"psdu_bits", waveform.calculation.psdu.size()},
        {"psdu_octets", waveform.calculation.psdu.size() / 8},
        {"outputs", files},
    };
    if (download) {
        summary["download"] = {{"ok", download->ok},
                               {"title", download->title},
                               {"message", download->message},
                               {"warnings", download->warnings}};
    }
    return summary;
}

void print_summary(std::ostream& out, const GeneratedWaveform& waveform,
                   const std::vector<std::filesystem::path>& written) {
    const auto samples = waveform.samples().size();
    const std::size_t bits = waveform.calculation.psdu.size();
    out << "samples:          " << samples << '\n'
        << "sample rate:      " << app::number_text(waveform.sample_rate() / 1e6) << " MHz\n"
        << "duration:         " << std::fixed << std::setprecision(3)
        << static_cast<double>(samples) / waveform.sample_rate() * 1e6 << " us\n"
        << std::defaultfloat << "projected length: "
        << (waveform.projected_length ? app::number_text(*waveform.projected_length) + " samples"
                                      : std::string("not estimated at this rate"))
        << '\n'
        << "PSDU:             " << bits / 8 << " octets (" << bits << " bits)\n";
    for (const auto& path : written) out << "wrote:            " << path.string() << '\n';
}

}  // namespace dot11b::cli
