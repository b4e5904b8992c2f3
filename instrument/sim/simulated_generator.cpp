#include "instrument/sim/simulated_generator.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <sstream>

#include "common/ascii_case.hpp"
#include "common/number_text.hpp"
#include "instrument/sim/scpi_header.hpp"

namespace dot11b::sim {
namespace {

enum class Kind { Bool, Number, Choice };

struct Unit {
    std::string_view name;  // upper case
    double multiplier;
};
constexpr std::array<Unit, 4> kHertz = {{{"HZ", 1}, {"KHZ", 1e3}, {"MHZ", 1e6}, {"GHZ", 1e9}}};
constexpr std::array<Unit, 1> kDbm = {{{"DBM", 1}}};
constexpr std::array<Unit, 1> kDb = {{{"DB", 1}}};

struct Choice {
    std::string_view keyword;  // a keyword pattern, or empty for a number
    double number = 0;         // the number, in the setting's base unit
    std::string_view reported;
};

std::string trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return std::string(text);
}

// A number with an optional unit from `units` (blanks between them allowed).
std::optional<double> parse_number(const std::string& text, std::span<const Unit> units) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double x = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(x)) return std::nullopt;
    const std::string unit = to_upper_ascii(trim(end));
    if (unit.empty()) return x;
    for (const Unit& u : units) {
        if (unit == u.name) return x * u.multiplier;
    }
    return std::nullopt;
}

std::optional<bool> parse_bool(const std::string& text) {
    const std::string word = to_upper_ascii(text);
    if (word == "ON" || word == "1") return true;
    if (word == "OFF" || word == "0") return false;
    return std::nullopt;
}

// A quoted string at the front of `text`; `rest` receives what follows it.
std::optional<std::string> quoted(std::string_view text, std::string_view* rest = nullptr) {
    if (text.size() < 2 || (text[0] != '"' && text[0] != '\'')) return std::nullopt;
    const auto close = text.find(text[0], 1);
    if (close == std::string_view::npos) return std::nullopt;
    if (rest != nullptr) *rest = text.substr(close + 1);
    return std::string(text.substr(1, close - 1));
}

bool starts_with_nocase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && to_upper_ascii(text.substr(0, prefix.size())) == prefix;
}

}  // namespace

struct SimulatedGenerator::Entry {
    std::string_view label;
    std::string_view pattern;
    Kind kind;
    std::span<const Unit> units;
    double min = 0;
    double max = 0;
    std::vector<Choice> choices;
    std::string initial;
    std::string value;
};

SimulatedGenerator::SimulatedGenerator(std::string identity) : identity_(std::move(identity)) {
    const auto add = [this](Entry entry) {
        entry.value = entry.initial;
        entries_.push_back(std::move(entry));
    };
    // Everything starts switched off, so a test sees each setting arrive.
    add({"ARB state", "[SOURce]:RADio:ARB:[STATe]", Kind::Bool, {}, 0, 0, {}, "0", {}});
    add({"frequency (Hz)", "[SOURce]:FREQuency:[FIXed]", Kind::Number, kHertz, 100e3, 4e9, {}, "1000000000", {}});
    add({"amplitude (dBm)", "[SOURce]:POWer:[LEVel]:[IMMediate]:[AMPLitude]", Kind::Number, kDbm, -136, 20, {}, "-136",
         {}});
    add({"sample clock (Hz)", "[SOURce]:RADio:ARB:CLOCk:SRATe", Kind::Number, kHertz, 1, 100e6, {}, "100000000", {}});
    add({"reconstruction filter", "[SOURce]:RADio:ARB:RFILter", Kind::Choice, kHertz, 0, 0,
         {{"", 250e3, "250000"}, {"", 2.5e6, "2500000"}, {"", 8e6, "8000000"}, {"THRough", 0, "THR"}}, "THR", {}});
    add({"RF blanking", "[SOURce]:RADio:ARB:MARKer:RFBLank", Kind::Bool, {}, 0, 0, {}, "0", {}});
    add({"marker polarity", "[SOURce]:RADio:ARB:MARKer:POLarity", Kind::Choice, {}, 0, 0,
         {{"POSitive", 0, "POS"}, {"NEGative", 0, "NEG"}}, "POS", {}});
    add({"ARB reference", "[SOURce]:RADio:ARB:CLOCk:REFerence", Kind::Choice, {}, 0, 0,
         {{"INTernal", 0, "INT"}, {"EXTernal", 0, "EXT"}}, "INT", {}});
    add({"RF output", "OUTPut:[STATe]", Kind::Bool, {}, 0, 0, {}, "0", {}});
    add({"modulation", "OUTPut:MODulation:[STATe]", Kind::Bool, {}, 0, 0, {}, "0", {}});
    add({"baseband filter", "[SOURce]:DM:BBFilter", Kind::Choice, kHertz, 0, 0,
         {{"", 2.1e6, "2100000"}, {"", 40e6, "40000000"}, {"THRough", 0, "THR"}}, "THR", {}});
    add({"run-time scaling", "[SOURce]:RADio:ARB:RSCaling", Kind::Number, {}, 0, 100, {}, "100", {}});
    add({"I/Q attenuation auto", "[SOURce]:DM:IQATtenuation:AUTO", Kind::Bool, {}, 0, 0, {}, "1", {}});
    add({"I/Q attenuation (dB)", "[SOURce]:DM:IQATtenuation", Kind::Number, kDb, 0, 40, {}, "0", {}});
    add({"ALC", "[SOURce]:POWer:ALC:[STATe]", Kind::Bool, {}, 0, 0, {}, "0", {}});
}

SimulatedGenerator::~SimulatedGenerator() = default;

void SimulatedGenerator::push_error(int code, std::string_view text) {
    std::string entry = std::to_string(code) + ",\"" + std::string(text) + "\"";
    if (errors_.size() >= kErrorQueueSize) {
        errors_.back() = "-350,\"Queue overflow\"";
        return;
    }
    errors_.push_back(std::move(entry));
}

std::optional<std::string> SimulatedGenerator::execute(const ReceivedCommand& command) {
    const std::string text = trim(command.text);
    if (text.empty()) return std::nullopt;
    if (command.malformed) {
        push_error(command.block ? -160 : -102, command.block ? "Block data error" : "Syntax error");
        return std::nullopt;
    }
    const auto blank = std::find_if(text.begin(), text.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
    std::string header(text.begin(), blank);
    const std::string parameters = trim(std::string_view(text).substr(header.size()));
    const bool query = header.ends_with('?');
    if (query) header.pop_back();
    if (command.block && !header_matches("MMEMory:DATA", header)) {
        push_error(-168, "Block data not allowed");
        return std::nullopt;
    }
    local_ = false;

    const std::string common = to_upper_ascii(header);
    if (common == "*IDN" && query) return identity_;
    if (common == "*OPC" && query) return "1";
    if (common == "*CLS" && !query) {
        errors_.clear();
        return std::nullopt;
    }
    if (common == "*RST" && !query) {
        for (Entry& entry : entries_) entry.value = entry.initial;
        selected_.clear();
        return std::nullopt;
    }
    if (header_matches("SYSTem:ERRor:[NEXT]", header) && query) {
        if (errors_.empty()) return "+0,\"No error\"";
        std::string next = errors_.front();
        errors_.pop_front();
        return next;
    }
    if (header_matches("SYSTem:COMMunicate:GTLocal", header) && !query) {
        local_ = true;
        return std::nullopt;
    }
    if (header_matches("MMEMory:DATA", header) && !query) {
        store(parameters, command);
        return std::nullopt;
    }
    if (header_matches("[SOURce]:RADio:ARB:WAVeform", header)) {
        if (query) return "\"WFM1:" + selected_ + "\"";
        select(parameters);
        return std::nullopt;
    }
    for (Entry& entry : entries_) {
        if (header_matches(entry.pattern, header)) return apply(entry, query, parameters);
    }
    push_error(-113, "Undefined header");
    return std::nullopt;
}

std::optional<std::string> SimulatedGenerator::apply(Entry& entry, bool query, std::string_view parameters) {
    if (query) {
        if (!parameters.empty()) push_error(-108, "Parameter not allowed");
        return entry.value;
    }
    const std::string p(parameters);
    if (p.empty()) {
        push_error(-109, "Missing parameter");
        return std::nullopt;
    }
    switch (entry.kind) {
        case Kind::Bool:
            if (const auto on = parse_bool(p)) {
                entry.value = *on ? "1" : "0";
                return std::nullopt;
            }
            break;
        case Kind::Number:
            if (const auto x = parse_number(p, entry.units)) {
                if (*x < entry.min || *x > entry.max) {
                    push_error(-222, "Data out of range");
                } else {
                    entry.value = number_text(*x);
                }
                return std::nullopt;
            }
            break;
        case Kind::Choice: {
            const auto x = parse_number(p, entry.units);
            for (const Choice& choice : entry.choices) {
                const bool match = choice.keyword.empty()
                                       ? x && std::abs(*x - choice.number) <= 1e-9 * choice.number
                                       : header_matches(choice.keyword, p);
                if (match) {
                    entry.value = choice.reported;
                    return std::nullopt;
                }
            }
            break;
        }
    }
    push_error(-224, "Illegal parameter value");
    return std::nullopt;
}

void SimulatedGenerator::select(std::string_view parameters) {
    std::string_view rest;
    const auto name = quoted(parameters, &rest);
    if (!name || !trim(rest).empty()) {
        push_error(-104, "Data type error");
        return;
    }
    std::string_view file = *name;
    if (starts_with_nocase(file, "ARBI:") || starts_with_nocase(file, "WFM1:")) file.remove_prefix(5);
    if (!files_.contains("WFM1:" + std::string(file))) {
        push_error(-256, "File name not found");
        return;
    }
    selected_ = std::string(file);
}

void SimulatedGenerator::store(std::string_view parameters, const ReceivedCommand& command) {
    std::string_view rest;
    const auto name = quoted(parameters, &rest);
    if (!name || !command.block || !trim(rest).starts_with(',')) {
        push_error(-104, "Data type error");
        return;
    }
    const bool waveform = starts_with_nocase(*name, "WFM1:");
    const bool markers = starts_with_nocase(*name, "MKR1:");
    const std::string file = name->substr(std::min<std::size_t>(5, name->size()));
    if ((!waveform && !markers) || file.empty() || file.find('/') != std::string::npos || file == "." || file == "..") {
        push_error(-257, "File name error");
        return;
    }
    const std::string& bytes = *command.block;
    // I/Q pairs of 16-bit words; one marker byte for each pair of a stored waveform.
    const auto samples = files_.find("WFM1:" + file);
    if ((waveform && bytes.size() % 4 != 0) ||
        (markers && samples != files_.end() && samples->second.size() / 4 != bytes.size())) {
        push_error(-161, "Invalid block data");
        return;
    }
    files_[(waveform ? "WFM1:" : "MKR1:") + file] = bytes;
}

std::string SimulatedGenerator::summary() const {
    std::ostringstream out;
    for (const auto& [name, bytes] : files_) {
        out << "stored " << name << ": " << bytes.size() << " bytes";
        if (starts_with_nocase(name, "WFM1:")) {
            int peak = 0;
            for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
                const auto word = static_cast<std::int16_t>((static_cast<unsigned char>(bytes[i]) << 8) |
                                                            static_cast<unsigned char>(bytes[i + 1]));
                peak = std::max(peak, std::abs(static_cast<int>(word)));
            }
            out << ", " << bytes.size() / 4 << " I/Q samples, peak word " << peak;
        } else {
            std::size_t row1 = 0, row2 = 0;
            for (const char b : bytes) {
                row1 += (b & 1) != 0;
                row2 += (b & 2) != 0;
            }
            out << ", marker 1 on " << row1 << " samples, marker 2 on " << row2 << " samples";
        }
        out << '\n';
    }
    out << "selected waveform: " << (selected_.empty() ? "(none)" : selected_) << '\n';
    for (const Entry& entry : entries_) out << entry.label << ": " << entry.value << '\n';
    out << "front panel: " << (local_ ? "local" : "remote") << '\n';
    return out.str();
}

}  // namespace dot11b::sim
