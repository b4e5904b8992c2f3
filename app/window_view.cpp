#include "app/window_view.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>

#include "app/entry_notes.hpp"
#include "app/entry_rules.hpp"
#include "app/num2str.hpp"
#include "common/errors.hpp"
#include "mac/bit_conversion.hpp"

namespace dot11b::app {
namespace {

constexpr std::array kRateChoices = {phy::DataRate::Mbps1, phy::DataRate::Mbps2, phy::DataRate::Mbps5_5,
                                     phy::DataRate::Mbps11};
constexpr std::array kOversamplingChoices = {2.0, 2.5, 3.0, 3.5};

// Collects settings for one redraw.
class View {
public:
    View& enable(const std::string& tag, bool on) { return add(tag, "Enable", on); }
    View& visible(const std::string& tag, bool on) { return add(tag, "Visible", on); }
    View& value(const std::string& tag, double v) { return add(tag, "Value", v); }
    View& flag(const std::string& tag, bool on) { return add(tag, "Value", on ? 1.0 : 0.0); }
    View& text(const std::string& tag, std::string s) { return add(tag, "String", std::move(s)); }
    View& number(const std::string& tag, double x) { return add(tag, "String", num2str(x)); }
    View& choices(const std::string& tag, std::vector<std::string> list) { return add(tag, "String", std::move(list)); }
    View& tooltip(const std::string& tag, std::string s) { return add(tag, "TooltipString", std::move(s)); }
    ControlSettings take() { return std::move(settings_); }

private:
    View& add(const std::string& tag, const char* property, PropertyValue v) {
        settings_.push_back({tag, property, std::move(v)});
        return *this;
    }
    ControlSettings settings_;
};

double code(auto e) { return static_cast<double>(e); }

// The Setup button edits a header that is sent: ticked, in framed mode.
bool mac_header_editable(const FormatParameters& p) { return p.framed && p.mac_header.active; }

// A file's name without its folder, its middle left out when it is long.
std::string shortened_file_name(const std::string& path) {
    constexpr std::size_t kLongest = 32;
    const std::string name = std::filesystem::path(path).filename().string();
    if (name.size() <= kLongest) return name;
    constexpr std::size_t kHead = kLongest / 2 - 2;
    return name.substr(0, kHead) + "..." + name.substr(name.size() - (kLongest - kHead - 3));
}

// Two rates or frequencies are the same when they differ by rounding only.
bool same_frequency(double a, double b) { return std::abs(a - b) <= 1e-9 * std::max(std::abs(a), std::abs(b)); }

}  // namespace

phy::DataRate data_rate_of_choice(int choice) {
    if (choice < 1 || choice > 4) throw ConfigError("pdDataRate: choice " + std::to_string(choice) + "; allowed 1 to 4");
    return kRateChoices[static_cast<std::size_t>(choice - 1)];
}

double oversampling_of_choice(int choice) {
    if (choice < 1 || choice > 4) {
        throw ConfigError("pdOversampleRate: choice " + std::to_string(choice) + "; allowed 1 to 4");
    }
    return kOversamplingChoices[static_cast<std::size_t>(choice - 1)];
}

std::vector<std::string> channel_choices() {
    std::vector<std::string> list;
    for (int n = 1; n <= 13; ++n) {
        list.push_back((n < 10 ? " " : "") + std::to_string(n) + " - " + std::to_string(2407 + 5 * n) + " MHz");
    }
    list.emplace_back("14 - 2484 MHz");
    return list;
}

ControlSettings format_parameters_view(const FormatParameters& p) {
    View v;
    const double mbps = phy::rate_in_mbps(p.rate);
    v.text("tbGenerationMode", p.framed ? "Framed" : "Unframed").flag("tbGenerationMode", p.framed);
    v.enable("pdPreambleFormat", p.framed && mbps > 1);
    for (const char* tag : {"chkClkLocked", "pdPowerRamp", "txtRampTime", "txtIdleInterval", "txtFrames",
                            "chkMACheader", "chkMACfcs"}) {
        v.enable(tag, p.framed);
    }
    v.enable("pbMACheaderSetup", mac_header_editable(p));

    const auto rate = std::find(kRateChoices.begin(), kRateChoices.end(), p.rate);
    if (rate != kRateChoices.end()) {
        v.value("pdDataRate", static_cast<double>(rate - kRateChoices.begin() + 1));
        if (mbps == 1 || mbps == 2) {
            v.choices("pdModulation", {mbps == 1 ? "DBPSK" : "DQPSK"}).value("pdModulation", 1);
            v.enable("pdModulation", false);
        } else {
            v.choices("pdModulation", {"CCK", "PBCC"}).value("pdModulation", code(p.modulation) + 1);
            v.enable("pdModulation", true);
        }
    }
    v.enable("chkEncoderActive", mbps > 2 && p.modulation == phy::Modulation::Pbcc);

    v.value("pdPreambleFormat", code(p.preamble) + 1)
        .flag("chkClkLocked", p.locked_clocks)
        .value("pdScrambler", code(p.scrambler) + 1)
        .flag("chkEncoderActive", p.pbcc_encoder)
        .value("pdPowerRamp", code(p.ramp) + 1);
    v.enable("txtRampTime", p.ramp != phy::RampType::None && p.framed);
    v.number("txtRampTime", samples_to_microseconds(p.ramp_length, p.oversampling))
        .number("txtIdleInterval", samples_to_microseconds(p.idle_samples, p.oversampling))
        .number("txtFrames", static_cast<double>(p.frames))
        .value("pdChannels", p.channel);
    return v.take();
}

ControlSettings generation_parameters_view(const FormatParameters& p) {
    View v;
    const auto ratio = std::find(kOversamplingChoices.begin(), kOversamplingChoices.end(), p.oversampling);
    if (ratio != kOversamplingChoices.end()) {
        v.value("pdOversampleRate", static_cast<double>(ratio - kOversamplingChoices.begin() + 1));
    }
    v.value("pdFilterType", code(p.filter) + 1);
    const bool shaped = p.filter != phy::FilterType::None;
    v.text("lblFilterFactor", p.filter == phy::FilterType::Gaussian     ? "bT:  "
                              : p.filter == phy::FilterType::RootCosine ? "a:  "
                                                                        : "");
    for (const char* tag : {"txtFilterFactor", "txtFilterTaps", "lblFilterTaps", "lblFilterTapsUnit"}) {
        v.visible(tag, shaped);
    }
    v.number("txtFilterFactor", p.filter_factor)
        .number("txtFilterTaps", p.filter_taps)
        .flag("chkMirrorSpectrum", p.mirror_spectrum);
    return v.take();
}

ControlSettings payload_setup_view(const FormatParameters& p) {
    View v;
    v.flag("chkMACheader", p.mac_header.active).enable("pbMACheaderSetup", mac_header_editable(p));
    v.flag("chkMACfcs", p.fcs.active).value("pdDATAsourceType", code(p.data_source));
    const bool from_file = p.data_source == mac::PayloadSource::UserData && !p.data_source_name.empty();
    v.visible("txtDataSourceName", from_file)
        .text("txtDataSourceName", from_file ? shortened_file_name(p.data_source_name) : "")
        .tooltip("txtDataSourceName", from_file ? p.data_source_name : "");
    v.number("txtDataLength", static_cast<double>(p.data_length))
        .enable("txtDataLength", p.data_source != mac::PayloadSource::UserData);
    v.number("txtTotalLength", static_cast<double>(p.total_length));
    return v.take();
}

ControlSettings projected_length_view(const FormatParameters& p) {
    View v;
    v.text("txtNumberOfSamples", p.projected_length ? num2str(*p.projected_length) + " Samples" : "");
    return v.take();
}

FrequencyDisplay frequency_display(double hz) {
    if (hz < 1e3) return {1, hz};
    if (hz < 1e6) return {2, hz / 1e3};
    if (hz < 1e9) return {3, hz / 1e6};
    return {4, hz / 1e9};
}

ControlSettings sig_gen_view(const SigGenSettings& s) {
    View v;
    const FrequencyDisplay carrier = frequency_display(s.frequency);
    v.value("pdFrequencyUnits", carrier.units).number("txtFrequency", carrier.number);
    const FrequencyDisplay clock = frequency_display(s.sampling_rate);
    v.value("pdSamplingRateUnits", clock.units).number("txtSamplingRate", clock.number);
    v.text("txtWaveformTitle", s.title).number("txtAmplitude", s.amplitude);
    v.value("pdReconFilter", s.recon_filter).flag("chkRFblanking", s.rf_blanking);
    v.flag("tbArbRefSource", s.external_reference).text("tbArbRefSource", s.external_reference ? "Ext. Ref" : "Int. Ref");
    v.flag("tbMarkerPolarity", s.negative_markers).text("tbMarkerPolarity", s.negative_markers ? "- Mkrs" : "+ Mkrs");
    return v.take();
}

ControlSettings sig_gen_warnings_view(const FormatParameters& p, const SigGenSettings& s, double channel_carrier) {
    View v;
    const double chip_rate_clock = kChipRate * p.oversampling;
    const bool clock_differs = !same_frequency(s.sampling_rate, chip_rate_clock);
    const std::string ratio = num2str(p.oversampling);
    v.visible("lblSamplingRateWarning", clock_differs)
        .text("lblSamplingRateWarning",
              clock_differs ? "⚠ not 11 MHz × " + ratio + " = " + frequency_text(chip_rate_clock) : "")
        .tooltip("lblSamplingRateWarning",
                 clock_differs ? "The sample rate differs from 11 MHz times the oversampling ratio " + ratio + " (" +
                                     frequency_text(chip_rate_clock) +
                                     ").\nThe generator would play the chips at another rate than 11 Mchip/s.\n"
                                     "Choosing an oversampling ratio sets the sample rate to match."
                               : "");
    const bool carrier_differs = channel_carrier > 0 && !same_frequency(s.frequency, channel_carrier);
    const std::string channel = std::to_string(p.channel);
    v.visible("lblFrequencyWarning", carrier_differs)
        .text("lblFrequencyWarning",
              carrier_differs ? "⚠ not RF channel " + channel + " (" + frequency_text(channel_carrier) + ")" : "")
        .tooltip("lblFrequencyWarning",
                 carrier_differs ? "The carrier differs from the centre of RF channel " + channel + " (" +
                                       frequency_text(channel_carrier) +
                                       ").\nChanging the units rescales the stored frequency.\n"
                                       "Choosing an RF channel sets the carrier to its centre."
                                 : "");
    return v.take();
}

ControlSettings mac_field_view(const mac::MacHeader& header, mac::MacField field) {
    View v;
    const std::string name(mac::mac_field_name(field));
    const mac::MacFieldValue& value = header[field];
    v.flag("chk" + name, value.active).enable("txt" + name, value.active);
    v.text("txt" + name, mac::hex_string(static_cast<double>(value.contents),
                                         static_cast<double>(mac::mac_field_size(field))));
    return v.take();
}

ControlSettings mac_header_view(const mac::MacHeader& header) {
    ControlSettings all;
    for (const mac::MacField field : mac::kMacFields) {
        const ControlSettings one = mac_field_view(header, field);
        all.insert(all.end(), one.begin(), one.end());
    }
    return all;
}

}  // namespace dot11b::app
