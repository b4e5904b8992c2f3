#include "cli/gen/generation_options.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/calculation.hpp"
#include "app/entry_rules.hpp"
#include "app/user_data_file.hpp"
#include "cli/gen/usage_error.hpp"
#include "common/number_text.hpp"
#include "mac/mac_header.hpp"

namespace dot11b::cli {
namespace {

// The words of an option and what each stands for, in the order shown in the help.
template <typename T>
using Choices = std::vector<std::pair<std::string, T>>;

template <typename T>
std::vector<std::string> names_of(const Choices<T>& choices) {
    std::vector<std::string> names;
    for (const auto& [name, code] : choices) names.push_back(name);
    return names;
}

// The value of a word that the option's check has already accepted.
template <typename T>
T value_of(const Choices<T>& choices, const std::string& name) {
    return std::find_if(choices.begin(), choices.end(), [&](const auto& choice) { return choice.first == name; })
        ->second;
}

// The word of a value, for the defaults shown in the help.
template <typename T>
std::string name_of(const Choices<T>& choices, T value) {
    const auto found =
        std::find_if(choices.begin(), choices.end(), [&](const auto& choice) { return choice.second == value; });
    return found != choices.end() ? found->first : std::string();
}

const Choices<int> kRates = {{"1", 10}, {"2", 20}, {"5.5", 55}, {"11", 110}, {"22", 220}, {"33", 330}};
const Choices<int> kModulations = {{"cck", 0}, {"pbcc", 1}};
const Choices<int> kPreambles = {{"long", 0}, {"short", 1}};
const Choices<int> kScramblers = {{"off", 0}, {"on", 1}, {"preamble-only", 2}};
const Choices<int> kSwitch = {{"off", 0}, {"on", 1}};
const Choices<int> kRamps = {{"none", 0}, {"linear", 1}, {"cosine", 2}};
const Choices<double> kOversampling = {{"2", 2}, {"2.5", 2.5}, {"3", 3}, {"3.5", 3.5}};
const Choices<int> kFilters = {{"none", 0}, {"gaussian", 1}, {"root-cosine", 2}};
const Choices<int> kPayloads = {{"zeros", 1}, {"ones", 2}, {"alt01", 3}, {"alt10", 4}, {"pn9", 5}, {"pn15", 6}};

// The word for a record's code.
template <typename T, typename Code>
std::string word_of(const Choices<T>& choices, Code code) {
    const auto it = std::find_if(choices.begin(), choices.end(),
                                 [&](const auto& choice) { return choice.second == static_cast<T>(code); });
    return it == choices.end() ? std::string() : it->first;
}

std::string on_off(bool on) { return on ? "on" : "off"; }

std::vector<std::string> mac_field_names() {
    std::vector<std::string> names;
    for (const mac::MacField field : mac::kMacFields) names.emplace_back(mac::mac_field_name(field));
    return names;
}

std::string list(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

std::string with_default(const std::string& help, const std::string& value) {
    return help + " (default " + value + ")";
}

// Numbers from min to max (whole numbers only if asked); the message shows the
// value as entered and the range.
CLI::Validator within(double min, double max, const std::string& unit, bool whole = false) {
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            double value = 0;
            if (!CLI::detail::lexical_cast(text, value)) return text + " is not a number";
            if (whole && std::floor(value) != value) {
                return text + " is not a whole number from " + number_text(min) + " to " + number_text(max) +
                       unit;
            }
            if (value >= min && value <= max) return {};
            return text + " is outside " + number_text(min) + " to " + number_text(max) + unit;
        },
        number_text(min) + " to " + number_text(max) + unit);
}

[[noreturn]] void refuse(const std::string& option, const std::string& value, const std::string& problem) {
    throw UsageError(option + " " + value + ": " + problem);
}

// A MAC address as six octets with ':' or '-' between them, as a device label
// writes it, first octet first on air; or as the twelve hexadecimal digits the
// MAC header window takes, a number whose least significant octet goes first.
std::string address_digits(const std::string& entry, const std::string& text) {
    if (text.find_first_of(":-") == std::string::npos) return text;
    const char separator = text[text.find_first_of(":-")];
    std::string digits;
    std::size_t groups = 0;
    for (std::size_t start = 0; start <= text.size(); ++groups) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        const std::string group = text.substr(start, end - start);
        if (group.empty() || group.size() > 2) {
            refuse("--mac", entry, "a MAC address is six octets, such as 00:12:34:56:78:AB or 00-12-34-56-78-AB");
        }
        // Each later octet is more significant in the window's number.
        digits.insert(0, std::string(2 - group.size(), '0') + group);
        start = end + 1;
    }
    if (groups != 6) refuse("--mac", entry, "a MAC address is six octets, such as 00:12:34:56:78:AB or 00-12-34-56-78-AB");
    return digits;
}

void set_mac_field(mac::MacHeader& header, const std::string& entry) {
    const auto equals = entry.find('=');
    if (equals == std::string::npos && mac::mac_field_from_name(entry)) {
        refuse("--mac", entry, "the = is missing; write --mac " + entry + "=HEX");
    }
    const auto field = mac::mac_field_from_name(entry.substr(0, equals));
    if (equals == std::string::npos || !field) {
        refuse("--mac", entry, "expected FIELD=HEX with FIELD one of " + list(mac_field_names()));
    }
    const bool address = mac::mac_field_size(*field) == 6;
    const std::string text = entry.substr(equals + 1);
    const std::string digits = address ? address_digits(entry, text) : text;
    std::uint64_t value = 0;
    try {
        value = mac::parse_hex_field(*field, digits);
    } catch (const ConfigError&) {
        refuse("--mac", entry, "\"" + text + "\" is not a hexadecimal number");
    }
    const std::uint64_t max = mac::mac_field_max(*field);
    if (value > max) {
        refuse("--mac", entry,
               "the field holds " + std::to_string(mac::mac_field_size(*field)) + " octets, 0 to " +
                   mac::hex_string(static_cast<double>(max), 0));
    }
    header[*field].contents = value;
}

// "--a is not used", "--a and --b are not used": of the options in `given`, those typed.
std::string not_used(std::initializer_list<std::pair<bool, const char*>> given) {
    std::vector<std::string> typed;
    for (const auto& [is_given, option] : given) {
        if (is_given) typed.emplace_back(option);
    }
    std::string text;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == typed.size() ? " and " : ", ") + typed[i];
    }
    return text + (typed.size() == 1 ? " is not used" : " are not used");
}

// A note when the stored value is not the value typed.
void note_microseconds(std::vector<std::string>& notes, const char* option, double typed, std::size_t samples,
                       double oversampling) {
    const double stored = app::samples_to_microseconds(samples, oversampling);
    if (std::abs(stored - typed) > 1e-9 * std::max(1.0, typed)) {
        // To the nanosecond, a small part of a sample at any ratio.
        notes.push_back(std::string(option) + " " + number_text(typed) + " is " + std::to_string(samples) +
                        " samples, " + number_text(std::round(stored * 1000) / 1000) + " us at oversampling " +
                        number_text(oversampling));
    }
}

// The carrier phase and the clock's timing restart where the loop begins
// again; that seam lies in the idle interval unless there is none.
void note_loop_seam(const app::FormatParameters& p, const impairments::ImpairmentSettings& impairments,
                    std::vector<std::string>& notes) {
    const bool moves = impairments.cfo.value_or(0.0) != 0.0 || impairments.clock_offset.value_or(0.0) != 0.0;
    if (moves && (!p.framed || p.idle_samples == 0)) {
        notes.emplace_back("the waveform has no idle time: the carrier phase and the clock offset's timing restart "
                           "at the loop seam, inside the burst");
    }
}

}  // namespace

std::vector<std::pair<std::string, std::string>> option_values(const app::FormatParameters& p) {
    const double samples_per_us = app::kChipRate * p.oversampling / 1e6;
    return {
        {"rate", word_of(kRates, p.rate)},
        {"modulation", word_of(kModulations, p.modulation)},
        {"preamble", word_of(kPreambles, p.preamble)},
        {"unframed", on_off(!p.framed)},
        {"locked-clocks", on_off(p.locked_clocks)},
        {"scrambler", word_of(kScramblers, p.scrambler)},
        {"pbcc-encoder", on_off(p.pbcc_encoder)},
        {"ramp", word_of(kRamps, p.ramp)},
        {"ramp-time", number_text(static_cast<double>(p.ramp_length) / samples_per_us)},
        {"idle-time", number_text(static_cast<double>(p.idle_samples) / samples_per_us)},
        {"oversampling", word_of(kOversampling, p.oversampling)},
        {"filter", word_of(kFilters, p.filter)},
        {"filter-factor", number_text(p.filter_factor)},
        {"filter-length", number_text(p.filter_taps)},
        {"mirror", on_off(p.mirror_spectrum)},
        {"mac-header", on_off(p.mac_header.active)},
        {"fcs", on_off(p.fcs.active)},
        {"payload", p.data_source == mac::PayloadSource::UserData ? "file" : word_of(kPayloads, p.data_source)},
        {"length", std::to_string(p.data_length)},
    };
}

void GenerationOptions::add_to(CLI::App& app) {
    const app::FormatParameters d;
    auto one_of = [](const auto& choices) { return CLI::IsMember(names_of(choices)); };
    app.add_option("--rate", rate_,
                   with_default("PSDU data rate in Mbit/s; 22 and 33 only with --unframed --modulation pbcc",
                                number_text(phy::rate_in_mbps(d.rate))))
        ->check(one_of(kRates));
    app.add_option("--modulation", modulation_,
                   with_default("modulation at 5.5 Mbit/s and above", name_of(kModulations, static_cast<int>(d.modulation))))
        ->check(one_of(kModulations));
    app.add_option("--preamble", preamble_,
                   with_default("PLCP preamble and header format", name_of(kPreambles, static_cast<int>(d.preamble))))
        ->check(one_of(kPreambles));
    app.add_flag("--unframed", unframed_, "the modulated PSDU bits alone: no preamble, header, ramps or idle time");
    app.add_flag("--locked-clocks", locked_clocks_, "set the locked-clocks bit of the SERVICE field");
    app.add_option("--scrambler", scrambler_,
                   with_default("scrambling of the frame", name_of(kScramblers, static_cast<int>(d.scrambler))))
        ->check(one_of(kScramblers));
    app.add_option("--pbcc-encoder", pbcc_encoder_,
                   with_default("PBCC convolutional encoder", d.pbcc_encoder ? "on" : "off"))
        ->check(one_of(kSwitch));
    app.add_option("--ramp", ramp_, with_default("power ramp shape", name_of(kRamps, static_cast<int>(d.ramp))))
        ->check(one_of(kRamps));
    app.add_option("--ramp-time", ramp_time_,
                   with_default("length of each power ramp in microseconds, rounded to whole samples",
                                number_text(app::samples_to_microseconds(d.ramp_length, d.oversampling))))
        ->check(within(0, app::kMaxRampTimeUs, " microseconds"));
    app.add_option("--idle-time", idle_time_,
                   with_default("idle interval after the burst in microseconds, rounded to whole samples",
                                number_text(app::samples_to_microseconds(d.idle_samples, d.oversampling))))
        ->check(within(0, app::kMaxIdleTimeUs, " microseconds"));
    app.add_option("--oversampling", oversampling_,
                   with_default("output samples per chip", number_text(d.oversampling)))
        ->check(one_of(kOversampling));
    app.add_option("--filter", filter_,
                   with_default("baseband pulse-shaping filter", name_of(kFilters, static_cast<int>(d.filter))))
        ->check(one_of(kFilters));
    app.add_option("--filter-factor", filter_factor_,
                   with_default("Gaussian BT (0.1 to 1) or root-cosine roll-off (0.05 to 1)",
                                number_text(d.filter_factor)));
    app.add_option("--filter-length", filter_length_,
                   with_default("filter length in symbols, rounded to a multiple of the oversampling ratio",
                                number_text(d.filter_taps)))
        ->check(within(app::kMinFilterTaps, app::kMaxFilterTaps, " symbols"));
    app.add_flag("--mirror", mirror_, "mirror the spectrum (conjugate the waveform)");
    app.add_flag("--mac-header", mac_header_, "prepend the MAC header (framed mode)");
    app.add_option("--mac", mac_fields_,
                   "a MAC header field in hexadecimal, FIELD=HEX; addresses also as on a device label, "
                   "00:12:34:56:78:AB, first octet first on air (default 0)");
    app.add_option("--mac-off", mac_off_, "leave a MAC header field out")->check(CLI::IsMember(mac_field_names()));
    app.add_flag("--fcs", fcs_, "append the frame check sequence (framed mode)");
    auto* payload =
        app.add_option("--payload", payload_,
                       with_default("payload data", name_of(kPayloads, static_cast<int>(d.data_source))))
            ->check(one_of(kPayloads));
    auto* file = app.add_option("--payload-file", payload_file_, "payload from the bytes of a file, at most 2312");
    auto* length = app.add_option("--length", length_, with_default("payload octets", std::to_string(d.data_length)))
                       ->check(within(0, app::kMaxDataLength, " octets", true));
    file->excludes(payload)->excludes(length);

    app.add_option("--frames", frames_,
                   with_default("frames per period, back to back, each with its ramps and idle time", "1"))
        ->check(within(1, static_cast<double>(app::kMaxFrames), "", true));
    app.add_flag("--payload-continue", payload_continue_,
                 "PN9 and PN15 payloads run on from frame to frame instead of restarting");
    const char* impairment_help[] = {
        "transmitter amplifier (Rapp, p = 2): saturation this many dB above the burst's RMS amplitude",
        "IQ gain imbalance in dB",
        "IQ phase imbalance in degrees",
        "carrier leakage under the burst in dB relative to the burst's RMS amplitude",
        "sample and chip clock offset in ppm (the period is resampled)",
        "carrier frequency offset in Hz",
        "complex white Gaussian noise: burst power to noise power in dB",
    };
    for (std::size_t k = 0; k < impairments::kImpairmentFields.size(); ++k) {
        const impairments::ImpairmentField& field = impairments::kImpairmentFields[k];
        app.add_option("--" + std::string(field.option), impairments_[k], impairment_help[k])
            ->check(within(field.min, field.max, " " + std::string(field.unit)));
    }
    app.add_option("--seed", seed_, with_default("seed of the noise (--snr), for a repeatable waveform", "1"))
        ->check(within(0, 4294967295.0, "", true));
}

void GenerationOptions::apply(app::FormatParameters& p, app::SigGenSettings& settings,
                              impairments::ImpairmentSettings& impairments, std::vector<std::string>& notes) const {
    // The ratio first: it rescales the stored sample counts and converts the
    // microsecond entries below.
    if (oversampling_) app::change_oversampling(p, settings, value_of(kOversampling, *oversampling_));
    if (unframed_) p.framed = false;
    if (rate_) {
        p.rate = static_cast<phy::DataRate>(value_of(kRates, *rate_));
        // The long preamble is the only one at 1 Mbit/s.
        if (p.rate == phy::DataRate::Mbps1) p.preamble = phy::PreambleType::Long;
    }
    if (modulation_) p.modulation = static_cast<phy::Modulation>(value_of(kModulations, *modulation_));
    if (preamble_) p.preamble = static_cast<phy::PreambleType>(value_of(kPreambles, *preamble_));
    if (locked_clocks_) p.locked_clocks = true;
    if (scrambler_) p.scrambler = static_cast<phy::ScramblerMode>(value_of(kScramblers, *scrambler_));
    if (pbcc_encoder_) p.pbcc_encoder = value_of(kSwitch, *pbcc_encoder_) == 1;
    if (ramp_) p.ramp = static_cast<phy::RampType>(value_of(kRamps, *ramp_));
    if (ramp_time_) {
        p.ramp_length = app::ramp_time_entry(ramp_time_, p.oversampling);
        if (p.framed) note_microseconds(notes, "--ramp-time", *ramp_time_, p.ramp_length, p.oversampling);
    }
    if (idle_time_) {
        p.idle_samples = app::idle_time_entry(idle_time_, p.oversampling);
        if (p.framed) note_microseconds(notes, "--idle-time", *idle_time_, p.idle_samples, p.oversampling);
    }
    if (!p.framed && (ramp_ || ramp_time_ || idle_time_)) {
        notes.emplace_back("--unframed: the waveform has no ramps and no idle time, so their settings are not used");
    }
    if (filter_) p.filter = static_cast<phy::FilterType>(value_of(kFilters, *filter_));
    if (filter_factor_) {
        const double min = app::min_filter_factor(p.filter);
        if (!(*filter_factor_ >= min && *filter_factor_ <= app::kMaxFilterFactor)) {
            refuse("--filter-factor", number_text(*filter_factor_),
                   p.filter == phy::FilterType::Gaussian     ? "the Gaussian BT must be 0.1 to 1"
                   : p.filter == phy::FilterType::RootCosine ? "the root-cosine roll-off must be 0.05 to 1"
                                                             : "must be at most 1");
        }
        p.filter_factor = app::filter_factor_entry(filter_factor_, p.filter);
    }
    if (filter_length_) {
        p.filter_taps = app::filter_taps_entry(filter_length_, p.oversampling);
        if (p.filter_taps != *filter_length_) {
            notes.push_back("--filter-length " + number_text(*filter_length_) + " is " +
                            number_text(p.filter_taps) + " symbols, a multiple of the oversampling ratio " +
                            number_text(p.oversampling));
        }
    }
    if (p.filter == phy::FilterType::None && (filter_factor_ || filter_length_)) {
        notes.push_back("--filter none: the waveform is not filtered, so " +
                        not_used({{filter_factor_.has_value(), "--filter-factor"},
                                 {filter_length_.has_value(), "--filter-length"}}));
    }
    if (mirror_) p.mirror_spectrum = true;
    if (mac_header_) p.mac_header.active = true;
    for (const auto& entry : mac_fields_) set_mac_field(p.mac_header.contents, entry);
    for (const auto& name : mac_off_) p.mac_header.contents[*mac::mac_field_from_name(name)].active = false;
    if (fcs_) p.fcs.active = true;
    if (!p.mac_header.active && (!mac_fields_.empty() || !mac_off_.empty())) {
        notes.push_back("the waveform has no MAC header (give --mac-header), so " +
                        not_used({{!mac_fields_.empty(), "--mac"}, {!mac_off_.empty(), "--mac-off"}}));
    }
    if (!p.framed && (mac_header_ || fcs_)) {
        notes.push_back("--unframed: the waveform is the modulated payload alone, so " +
                        not_used({{mac_header_, "--mac-header"}, {fcs_, "--fcs"}}));
    }
    if (payload_) p.data_source = static_cast<mac::PayloadSource>(value_of(kPayloads, *payload_));
    if (length_) p.data_length = static_cast<std::size_t>(*length_);
    if (payload_file_) {
        const std::filesystem::path path(*payload_file_);
        p.data_source_bits = app::read_user_data_file(path, app::kUserDataLimitBits, mac::BitOrder::LsbFirst);
        p.data_length = p.data_source_bits.size() / 8;
        p.data_source = mac::PayloadSource::UserData;
        p.last_path = std::filesystem::absolute(path).parent_path().string();
    }
    if (payload_octets_) {
        if (payload_file_ || length_) {
            refuse("payload", "bytes", "the bytes are the payload and give its length; --payload-file and --length cannot be given with them");
        }
        if (payload_octets_->size() > app::kUserDataLimitBits / 8) {
            refuse("payload", "bytes", std::to_string(payload_octets_->size()) + " octets; the user data holds at most " +
                                           std::to_string(app::kUserDataLimitBits / 8));
        }
        p.data_source_bits = app::bytes_to_bits(*payload_octets_, app::kUserDataLimitBits, mac::BitOrder::LsbFirst);
        p.data_length = payload_octets_->size();
        p.data_source = mac::PayloadSource::UserData;
    }

    const double mbps = phy::rate_in_mbps(p.rate);
    if ((mbps == 22 || mbps == 33) && (p.framed || p.modulation != phy::Modulation::Pbcc)) {
        refuse("--rate", number_text(mbps), "22 and 33 Mbit/s only with --unframed --modulation pbcc");
    }
    if (modulation_ && (mbps == 1 || mbps == 2)) {
        refuse("--modulation", *modulation_,
               "chooses CCK or PBCC at 5.5, 11, 22 and 33 Mbit/s, not at " + number_text(mbps) + " Mbit/s");
    }
    if (preamble_ == "short" && p.rate == phy::DataRate::Mbps1) {
        refuse("--preamble", "short", "1 Mbit/s has the long preamble only");
    }
    apply_sequence(p, notes);
    for (std::size_t k = 0; k < impairments_.size(); ++k) {
        if (impairments_[k]) impairments.*impairments::kImpairmentFields[k].member = impairments_[k];
    }
    if (seed_) impairments.seed = *seed_;
    note_loop_seam(p, impairments, notes);
    app::refresh_derived_fields(p, impairments);
    try {
        app::check_waveform_length(p, impairments);
    } catch (const ConfigError& e) {
        refuse("--frames", std::to_string(p.frames), e.what());
    }
    p.validate();
}

void GenerationOptions::apply_sequence(app::FormatParameters& p, std::vector<std::string>& notes) const {
    if (frames_) p.frames = static_cast<std::size_t>(*frames_);
    if (payload_continue_) p.payload_continue = true;
    if (p.frames > 1 && !p.framed) {
        refuse("--frames", std::to_string(p.frames), "an unframed waveform holds a single frame");
    }
    if (p.frames > 1 && !p.mac_header.active) {
        notes.push_back("--frames " + std::to_string(p.frames) +
                        ": without --mac-header the frames carry no sequence number, so a receiver cannot tell "
                        "them apart");
    }
}

EntryNames GenerationOptions::entry_names(const app::FormatParameters& p) const {
    EntryNames entries;
    if (length_) entries.length = "--length " + std::to_string(*length_);
    if (payload_file_) {
        entries.length = "--payload-file " + *payload_file_ + " (" + std::to_string(p.data_length) + " octets)";
    }
    if (payload_octets_) entries.length = "payload bytes (" + std::to_string(p.data_length) + " octets)";
    if (filter_length_) entries.filter_length = "--filter-length " + number_text(*filter_length_);
    return entries;
}

}  // namespace dot11b::cli
