#include "cli/gen/summary.hpp"

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <string>

#include "app/entry_rules.hpp"
#include "common/number_text.hpp"

namespace dot11b::cli {
namespace {

const char* ramp_word(phy::RampType ramp) {
    switch (ramp) {
    case phy::RampType::Linear:
        return "linear";
    case phy::RampType::RaisedCosine:
        return "cosine";
    case phy::RampType::None:
        break;
    }
    return "none";
}

const char* filter_word(phy::FilterType filter) {
    switch (filter) {
    case phy::FilterType::Gaussian:
        return "gaussian";
    case phy::FilterType::RootCosine:
        return "root-cosine";
    case phy::FilterType::None:
        break;
    }
    return "none";
}

// The ramps and idle time actually used: an unframed waveform has neither.
bool has_ramps(const app::FormatParameters& p) { return p.framed && p.ramp != phy::RampType::None; }

std::string duration_text(std::size_t samples, double oversampling) {
    return number_text(app::samples_to_microseconds(samples, oversampling)) + " us (" + std::to_string(samples) +
           " samples)";
}

// The impairments that are on, keyed by option name with _ for -, and the
// noise seed when there is noise.
nlohmann::ordered_json impairments_json(const impairments::ImpairmentSettings& settings) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (const impairments::ImpairmentField& field : impairments::kImpairmentFields) {
        std::string key(field.option);
        std::replace(key.begin(), key.end(), '-', '_');
        if (const std::optional<double>& value = settings.*field.member) object[key] = *value;
    }
    if (settings.snr) object["seed"] = settings.seed;
    return object;
}

}  // namespace

nlohmann::ordered_json summary_json(const GeneratedWaveform& waveform,
                                    const std::vector<std::filesystem::path>& written,
                                    const std::optional<instrument::DownloadOutcome>& download,
                                    const std::optional<sdr::PlaySummary>& played) {
    const app::FormatParameters& p = waveform.parameters;
    const auto samples = waveform.samples().size();
    const std::size_t ramp = has_ramps(p) ? p.ramp_length : 0;
    const std::size_t idle = p.framed ? p.idle_samples : 0;
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
        {"data_length_octets", p.data_length},
        {"ramp",
         {{"type", has_ramps(p) ? ramp_word(p.ramp) : "none"},
          {"us", app::samples_to_microseconds(ramp, p.oversampling)},
          {"samples", ramp}}},
        {"idle", {{"us", app::samples_to_microseconds(idle, p.oversampling)}, {"samples", idle}}},
        {"filter",
         {{"type", filter_word(p.filter)},
          {"factor", p.filter_factor},
          {"symbols", p.filter_taps},
          {"samples", p.filter_taps * p.oversampling}}},
        {"frames", p.frames},
        {"impairments", impairments_json(waveform.impairments)},
        {"notes", waveform.notes},
        {"outputs", files},
    };
    if (download) {
        summary["download"] = {{"ok", download->ok},
                               {"title", download->title},
                               {"message", download->message},
                               {"warnings", download->warnings}};
    }
    if (played) {
        summary["sdr"] = {{"periods", played->periods}, {"samples", played->samples}, {"underflows", played->underflows}};
    }
    return summary;
}

// Composed first and handed over whole: standard error is unbuffered, and a
// system call per piece costs more than the rest of a short run's output.
void print_summary(std::ostream& stream, const GeneratedWaveform& waveform,
                   const std::vector<std::filesystem::path>& written) {
    std::ostringstream out;
    const app::FormatParameters& p = waveform.parameters;
    const auto samples = waveform.samples().size();
    const std::size_t bits = waveform.calculation.psdu.size();
    out << "samples:          " << samples << '\n'
        << "sample rate:      " << number_text(waveform.sample_rate() / 1e6) << " MHz\n"
        << "duration:         " << std::fixed << std::setprecision(3)
        << static_cast<double>(samples) / waveform.sample_rate() * 1e6 << " us\n"
        << std::defaultfloat << "projected length: "
        << (waveform.projected_length ? number_text(*waveform.projected_length) + " samples"
                                      : std::string("not estimated at this rate"))
        << '\n'
        << "PSDU:             " << bits / 8 << " octets (" << bits << " bits)\n"
        << "payload:          " << p.data_length << " octets\n"
        << "ramps:            "
        << (has_ramps(p) ? std::string(ramp_word(p.ramp)) + ", " + duration_text(p.ramp_length, p.oversampling) + " each"
                         : std::string(p.framed ? "none" : "none (unframed)"))
        << '\n'
        << "idle:             " << (p.framed ? duration_text(p.idle_samples, p.oversampling) : "none (unframed)")
        << '\n'
        << "filter:           ";
    if (p.filter == phy::FilterType::None) {
        out << "none\n";
    } else {
        out << filter_word(p.filter) << (p.filter == phy::FilterType::Gaussian ? ", BT " : ", roll-off ")
            << number_text(p.filter_factor) << ", " << number_text(p.filter_taps) << " symbols ("
            << number_text(p.filter_taps * p.oversampling) << " samples)\n";
    }
    if (p.frames > 1) {
        out << "frames:           " << p.frames << (p.payload_continue ? ", payload running on" : "") << '\n';
    }
    if (waveform.impairments.any()) {
        out << "impairments:      " << impairments::describe_impairments(waveform.impairments) << '\n';
    }
    for (const auto& note : waveform.notes) out << "note:             " << note << '\n';
    for (const auto& path : written) out << "wrote:            " << path.string() << '\n';
    if (written.empty()) out << "wrote:            nothing (give -o FILE to write the waveform)\n";
    stream << std::move(out).str();
}

}  // namespace dot11b::cli
