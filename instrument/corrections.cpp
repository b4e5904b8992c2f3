#include "instrument/corrections.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "app/num2str.hpp"
#include "common/errors.hpp"
#include "frame/matfile.hpp"
#include "shaping/circular_filter.hpp"
#include "shaping/frequency_fir.hpp"

namespace dot11b::instrument {
namespace {

using frame::Value;

constexpr std::string_view kVariable = "OrbIqCorrectionData";
constexpr std::array<std::string_view, 10> kCommonFields = {"rev", "F",  "H",  "ID", "date",
                                                            "fltr", "modAttn", "cf", "bw", "pwr"};
constexpr std::array<std::string_view, 8> kRevision3Fields = {"t1", "t2", "t3", "fbc", "bc", "cbc", "image",
                                                              "rfChannel"};

// 1-based position of `pattern` in `text`, 0 when absent.
std::size_t strfindpt(const std::string& text, const std::string& pattern) {
    const auto position = text.find(pattern);
    return position == std::string::npos ? 0 : position + 1;
}

// The checks of the loader, in order; false at the first problem.
bool valid_structure(const Value& x) {
    if (x.kind() != Value::Kind::Struct) return false;
    const auto has_all = [&](auto names) {
        return std::all_of(names.begin(), names.end(), [&](std::string_view n) { return x.has_field(n); });
    };
    if (!x.has_field("rev")) return false;
    for (std::size_t k = 0; k < x.numel(); ++k) {
        const Value& rev = x.field("rev", k);
        if (rev.kind() != Value::Kind::Double || rev.numel() != 1) return false;
        const double r = rev.reals()[0];
        if (r == 3 && !has_all(kRevision3Fields)) return false;
        if (r == 2 && !x.has_field("rfChannel")) return false;
        if (r != 1 && r != 2 && r != 3) return false;
    }
    return has_all(kCommonFields);
}

double number_field(const Value& records, std::size_t index, std::string_view field) {
    const Value& value = records.field(field, index);
    if (value.kind() != Value::Kind::Double || value.numel() != 1) {
        throw ConfigError("correction record " + std::to_string(index + 1) + ": " + std::string(field) +
                          " is not a number");
    }
    return value.reals()[0];
}

std::vector<double> frequencies(const Value& records, std::size_t index) {
    const Value& value = records.field("F", index);
    if (value.kind() != Value::Kind::Double || !value.is_vector()) {
        throw ConfigError("correction record " + std::to_string(index + 1) + ": F is not a real vector");
    }
    return {value.reals().begin(), value.reals().end()};
}

Samples response(const Value& records, std::size_t index, std::string_view field) {
    const Value& value = records.field(field, index);
    if (value.kind() == Value::Kind::Double && value.is_vector()) return Samples(value.reals().begin(), value.reals().end());
    if (value.kind() == Value::Kind::Complex && value.is_vector()) {
        return Samples(value.complexes().begin(), value.complexes().end());
    }
    throw ConfigError("correction record " + std::to_string(index + 1) + ": " + std::string(field) +
                      " is not a numeric vector");
}

// A record that is not a structure, or an index beyond it, is reported like any other error.
void check_record(const Value& records, std::size_t index) {
    if (records.kind() != Value::Kind::Struct || index >= records.numel()) {
        throw ConfigError("correction record " + std::to_string(index + 1) + " does not exist");
    }
}

}  // namespace

std::filesystem::path default_corrections_folder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
        return std::filesystem::path(data) / "dot11b" / "corrections";
    }
    const char* home = std::getenv("HOME");
    const std::filesystem::path base = home != nullptr && *home != '\0' ? home : ".";
    return base / ".local" / "share" / "dot11b" / "corrections";
}

std::filesystem::path corrections_folder_of(const app::ConnectionConfig& configuration) {
    if (configuration.corrections_folder.empty()) return default_corrections_folder();
    return configuration.corrections_folder;
}

std::string GetSerialNumber(const std::string& id) {
    const std::size_t i = strfindpt(id, "US");
    if (i == 0) return {};
    const std::string rest = id.substr(i - 1);
    const std::size_t comma = strfindpt(rest, ",");
    if (comma == 0) return {};
    return rest.substr(0, comma - 1);
}

std::string FormatFreq(double f) {
    const double z = f / 1e9;
    const double zz = 10 * (z - std::floor(z));
    return app::num2str(std::floor(z)) + "." + app::num2str(std::round(zz)) + " GHz";
}

std::filesystem::path CreateFileName(const std::filesystem::path& folder, const std::string& id, double f) {
    return folder / (GetSerialNumber(id) + " " + FormatFreq(f) + ".mat");
}

LoadedCorrections LoadOrbIqCorrectionData(const std::filesystem::path& fileName) {
    LoadedCorrections result;
    std::vector<frame::MatVariable> loaded;
    try {
        const std::array<std::string_view, 1> names = {kVariable};
        loaded = frame::read_mat_file(fileName, names);
    } catch (const IoError& e) {
        result.status = e.what();
        return result;
    }
    if (loaded.empty()) {
        result.status = frame::mat_file_holds_variables(fileName) ? "Invalid file format." : "File empty or not found.";
        return result;
    }
    result.x = std::move(loaded.front().value);
    if (!valid_structure(result.x)) result.status = "Invalid data structure.";
    return result;
}

CorrectionData GetCorrectionData(const HwIO& io, const app::ConnectionConfig& configuration, double f,
                                 const std::filesystem::path& folder) {
    CorrectionData data;
    const StatusPair id = hwQuery(io, configuration, "*IDN?");
    if (!id.ok()) {
        data.status = id.status;
        return data;
    }
    // The serial becomes part of a path; a reply must not lead outside the folder.
    const std::string serial = GetSerialNumber(id.description);
    if (serial.find('/') != std::string::npos || serial.find('\0') != std::string::npos) {
        data.status = "The serial number \"" + serial + "\" cannot be part of a file name.";
        return data;
    }
    data.file = CreateFileName(folder, id.description, f);
    LoadedCorrections loaded = LoadOrbIqCorrectionData(data.file);
    data.x = std::move(loaded.x);
    if (!loaded.status.empty()) data.status = std::move(loaded.status);
    return data;
}

bool has_response(const frame::Value& records, std::size_t index, std::string_view field) {
    if (records.kind() != Value::Kind::Struct || index >= records.numel() || !records.has_field(field)) return false;
    const Value& value = records.field(field, index);
    if (value.empty()) return false;
    if (value.kind() == Value::Kind::Double) {
        return std::none_of(value.reals().begin(), value.reals().end(), [](double v) { return std::isnan(v); });
    }
    if (value.kind() == Value::Kind::Complex) {
        return std::none_of(value.complexes().begin(), value.complexes().end(),
                            [](Complex v) { return std::isnan(v.real()) || std::isnan(v.imag()); });
    }
    return true;
}

CorrectedWaveform ApplyRfChannelCorrection(SampleSpan s, const frame::Value& records, std::size_t index, double sR) {
    try {
        check_record(records, index);
        if (number_field(records, index, "rev") > 1 && has_response(records, index, "rfChannel")) {
            const Samples h = shaping::create_real_fir(kCorrectionFilterOrder, frequencies(records, index),
                                                       response(records, index, "rfChannel"), sR);
            return {shaping::circfilt(s, h), {}};
        }
        return {Samples(s.begin(), s.end()), {}};
    } catch (const std::exception& e) {
        return {Samples(s.begin(), s.end()), e.what()};
    }
}

CorrectedWaveform ApplyIqCorrection(SampleSpan s, const frame::Value& records, std::size_t index, double sR) {
    try {
        check_record(records, index);
        Samples h = shaping::create_real_fir(kCorrectionFilterOrder, frequencies(records, index),
                                             response(records, index, "H"), sR);
        for (Complex& tap : h) tap = tap.real();
        Samples q(s.size());
        std::transform(s.begin(), s.end(), q.begin(), [](Complex z) { return Complex(z.imag(), 0); });
        const Samples filtered = shaping::circfilt(q, h);
        Samples x(s.size());
        for (std::size_t k = 0; k < s.size(); ++k) x[k] = Complex(s[k].real(), filtered[k].real());
        return {std::move(x), {}};
    } catch (const std::exception& e) {
        return {Samples(s.begin(), s.end()), e.what()};
    }
}

AppliedCorrections apply_corrections(SampleSpan s, const CorrectionData& corrections, double sR) {
    AppliedCorrections result{Samples(s.begin(), s.end()), {}};
    if (!corrections.found()) return result;
    const auto apply = [&](auto correction, std::size_t k) {
        CorrectedWaveform corrected = correction(result.x, corrections.x, k, sR);
        if (!corrected.status.empty()) {
            result.failures.push_back("record " + std::to_string(k + 1) + ": " + corrected.status);
        }
        result.x = std::move(corrected.x);
    };
    const std::size_t count = corrections.x.kind() == Value::Kind::Struct ? corrections.x.numel() : 0;
    if (!corrections.noFlatness) {
        for (std::size_t k = 0; k < count; ++k) {
            if (has_response(corrections.x, k, "rfChannel")) apply(ApplyRfChannelCorrection, k);
        }
    }
    for (std::size_t k = 0; k < count; ++k) {
        if (has_response(corrections.x, k, "H")) apply(ApplyIqCorrection, k);
    }
    return result;
}

}  // namespace dot11b::instrument
