// Registry adapters of the signal generator operations. Instrument faults
// come back as status pairs; only malformed inputs raise errors.

#include <cmath>
#include <string>
#include <vector>

#include "app/waveform_files/marker_file.hpp"
#include "app/waveform_files/wfm_file.hpp"
#include "common/errors.hpp"
#include "frame/adapters.hpp"
#include "frame/convert.hpp"
#include "frame/console.hpp"
#include "frame/globals.hpp"
#include "frame/user_question.hpp"
#include "instrument/connection_record.hpp"
#include "instrument/corrections.hpp"
#include "instrument/download.hpp"
#include "instrument/hwio.hpp"
#include "instrument/io_layer.hpp"

namespace dot11b::ops {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;
using instrument::StatusPair;

// The library's one I/O module; its time-outs last as long as the process.
instrument::HwIoModule& module() {
    static instrument::HwIoModule the_module;
    return the_module;
}

Outputs pair(const StatusPair& result) {
    return {Value::scalar(result.status), Value::text(result.description)};
}

StatusPair bad_request(const std::exception& e) { return {static_cast<int>(instrument::Fault::Request), e.what()}; }

// The marker rows (1 x N or 2 x N of 0/1) as one byte per sample: bit 0 row 1, bit 1 row 2.
std::vector<std::uint8_t> marker_bytes(const Inputs& in, std::size_t index, std::string_view name) {
    const auto rows = frame::to_marker_rows(in, index, name);
    return waveform_files::marker_bytes(rows[0], rows[1]);
}

// Reads the record for the module; an unusable record is the module's
// status 4, not an error of the caller.
template <class Call>
Outputs with_connection(const Value& config, Call call) {
    try {
        return pair(call(instrument::connection_from_record(config)));
    } catch (const ConfigError& e) {
        return pair(bad_request(e));
    }
}

instrument::HwIO io() { return instrument::bridge_to(module()); }

double field_number(const Value& record, std::string_view field, std::string_view operation) {
    if (record.kind() != Value::Kind::Struct || !record.has_field(field) ||
        record.field(field).kind() != Value::Kind::Double || record.field(field).numel() != 1) {
        throw ConfigError(std::string(operation) + ": setting." + std::string(field) + " must be a real number");
    }
    return record.field(field).reals()[0];
}

instrument::PlaybackSettings playback(const Value& setting, std::string_view operation, bool c_platform) {
    instrument::PlaybackSettings p;
    p.Frequency = field_number(setting, "Frequency", operation);
    p.Amplitude = field_number(setting, "Amplitude", operation);
    p.SamplingRate = field_number(setting, "SamplingRate", operation);
    if (!c_platform) p.ReconFilter = field_number(setting, "ReconFilter", operation);
    p.RFblanking = field_number(setting, "RFblanking", operation);
    p.MarkerPolarity = field_number(setting, "MarkerPolarity", operation);
    p.ArbRefSource = field_number(setting, "ArbRefSource", operation);
    if (c_platform) {
        p.BBfilter = field_number(setting, "BBfilter", operation);
        p.Scaling = field_number(setting, "Scaling", operation);
        p.ModAtten = field_number(setting, "ModAtten", operation);
        p.ALC = field_number(setting, "ALC", operation);
    }
    return p;
}

Outputs play(const Inputs& in, bool c_platform) {
    const std::string name = frame::to_text(in, 0, "FileName");
    const instrument::PlaybackSettings settings = playback(in.at(1, "setting"), in.operation(), c_platform);
    return with_connection(in.at(2, "config"), [&](const app::ConnectionConfig& config) {
        return c_platform ? instrument::ORBPlay_c(io(), name, settings, config)
                          : instrument::ORBPlay(io(), name, settings, config);
    });
}

// A waveform of the same shape as `like`: a row stays a row, anything else is a column.
Value samples_like(const Value& like, const Samples& samples) {
    if (like.rows() == 1) return Value::complex_matrix(1, samples.size(), samples);
    return Value::complex_matrix(samples.size(), 1, samples);
}

}  // namespace

Outputs formatconfig(const Inputs& in, int) { return {instrument::formatconfig(in.at(0, "config_in"))}; }

// The module: operation code, connection record, then the operation's arguments.
Outputs hwIO(const Inputs& in, int) {
    try {
        const double number = frame::to_scalar(in, 0, "code");
        // Anything but a whole 32-bit number is no operation (0), which the module refuses.
        const bool whole = std::isfinite(number) && std::floor(number) == number && std::abs(number) < 2147483648.0;
        const auto code = whole ? static_cast<std::int32_t>(number) : 0;
        const Value& config = in.at(1, "config");
        instrument::HwArgs args;
        switch (static_cast<instrument::HwOp>(code)) {
            case instrument::HwOp::Send:
            case instrument::HwOp::Query: args = frame::to_text(in, 2, "command"); break;
            case instrument::HwOp::SetTimeout: args = frame::to_scalar(in, 2, "timeOutValue"); break;
            case instrument::HwOp::Download: {
                const Samples data = frame::to_samples(in, 2, "data");
                const std::vector<std::uint8_t> markers = marker_bytes(in, 3, "markers");
                const instrument::WaveformData waveform{data, markers, frame::to_text(in, 4, "mode"),
                                                        frame::to_scalar(in, 5, "scale"), frame::to_text(in, 6, "filename")};
                return with_connection(config, [&](const app::ConnectionConfig& c) {
                    return module()(code, c, waveform);
                });
            }
            case instrument::HwOp::Ping:
            case instrument::HwOp::ReturnLocal: break;
        }
        return with_connection(config, [&](const app::ConnectionConfig& c) {
            return module()(code, c, args);
        });
    } catch (const ConfigError& e) {
        return pair(bad_request(e));
    }
}

Outputs hwPing(const Inputs& in, int) {
    return with_connection(in.at(0, "config"), [](const auto& c) { return instrument::hwPing(io(), c); });
}

Outputs VerifyComm(const Inputs& in, int) {
    return with_connection(in.at(0, "config"), [](const auto& c) { return instrument::VerifyComm(io(), c); });
}

Outputs hwSend(const Inputs& in, int) {
    const std::string command = frame::to_text(in, 1, "command");
    return with_connection(in.at(0, "config"), [&](const auto& c) { return instrument::hwSend(io(), c, command); });
}

Outputs hwQuery(const Inputs& in, int) {
    const std::string query = frame::to_text(in, 1, "query");
    return with_connection(in.at(0, "config"), [&](const auto& c) { return instrument::hwQuery(io(), c, query); });
}

// The fourth and fifth inputs are not read: the module always gets "norm" and 1.
Outputs hwDownload(const Inputs& in, int) {
    const Samples data = frame::to_samples(in, 1, "data");
    const std::vector<std::uint8_t> markers = marker_bytes(in, 2, "markers");
    const std::string filename = frame::to_text(in, 5, "filename");
    return with_connection(in.at(0, "config"),
                           [&](const auto& c) { return instrument::hwDownload(io(), c, data, markers, filename); });
}

Outputs hwSetTimeout(const Inputs& in, int) {
    const double timeout = frame::to_scalar(in, 1, "timeOutValue");
    return with_connection(in.at(0, "config"), [&](const auto& c) { return instrument::hwSetTimeout(io(), c, timeout); });
}

Outputs hwReturnLocal(const Inputs& in, int) {
    return with_connection(in.at(0, "config"), [](const auto& c) { return instrument::hwReturnLocal(io(), c); });
}

namespace {

// A long RS-232 transfer is asked about through the desktop application's
// dialogs; without it nobody can agree, and the download is cancelled.
bool user_agrees(const std::string& title, const std::string& text) {
    if (!frame::can_ask_user()) {
        frame::print_warning("ORBDownLoadWrap: Download cancelled: \"" + text +
                             "\" needs an answer, and no desktop application is running to ask it");
        return false;
    }
    return frame::ask_user({title, text, {"OK", "Cancel"}, "Cancel"}) == "OK";
}

}  // namespace

Outputs ORBDownLoadWrap(const Inputs& in, int) {
    const Samples data = frame::to_samples(in, 0, "IQData");
    const std::vector<std::uint8_t> markers = marker_bytes(in, 1, "Marker");
    const std::string name = frame::to_text(in, 2, "Filename");
    const double segments = in.count() > 4 ? frame::to_scalar(in, 4, "num_wfm_segments") : 1;
    return with_connection(in.at(3, "config"), [&](const app::ConnectionConfig& c) {
        return instrument::ORBDownLoadWrap(io(), data, markers, name, c, segments, user_agrees);
    });
}

Outputs ORBPlay(const Inputs& in, int) { return play(in, false); }

Outputs ORBPlay_c(const Inputs& in, int) { return play(in, true); }

Outputs applyDacRes(const Inputs& in, int) {
    const Value& wave = in.at(0, "wave");
    const Samples result = instrument::applyDacRes(frame::to_samples(in, 0, "wave"), frame::to_scalar(in, 1, "numBits"));
    return {samples_like(wave, result)};
}

Outputs GetCorrectionData(const Inputs& in, int) {
    const double f = frame::to_scalar(in, 0, "f");
    const Value& configuration = frame::global(frame::Global::configuration);
    instrument::CorrectionData data;
    try {
        const app::ConnectionConfig connection = instrument::connection_from_record(configuration);
        data = instrument::GetCorrectionData(io(), connection, f, instrument::corrections_folder_of(connection));
    } catch (const ConfigError&) {
        data.status = static_cast<int>(instrument::Fault::Request);
    }
    Value status;
    if (const int* number = std::get_if<int>(&data.status)) status = Value::scalar(*number);
    if (const std::string* text = std::get_if<std::string>(&data.status)) status = Value::text(*text);
    return {status, data.x, Value::scalar(data.noFlatness ? 1 : 0)};
}

Outputs LoadOrbIqCorrectionData(const Inputs& in, int) {
    instrument::LoadedCorrections loaded = instrument::LoadOrbIqCorrectionData(frame::to_text(in, 0, "fileName"));
    return {loaded.x, loaded.status.empty() ? Value() : Value::text(loaded.status)};
}

Outputs ApplyRfChannelCorrection(const Inputs& in, int) {
    const Value& s = in.at(0, "s");
    const auto result = instrument::ApplyRfChannelCorrection(frame::to_samples(in, 0, "s"), in.at(1, "correction"), 0,
                                                             frame::to_scalar(in, 2, "sR"));
    return {samples_like(s, result.x), Value::text(result.status)};
}

Outputs ApplyIqCorrection(const Inputs& in, int) {
    const Value& s = in.at(0, "s");
    const auto result = instrument::ApplyIqCorrection(frame::to_samples(in, 0, "s"), in.at(1, "correction"), 0,
                                                      frame::to_scalar(in, 2, "sR"));
    return {samples_like(s, result.x), Value::text(result.status)};
}

// Returns 1 when the file was written, 0 for a wrong number of inputs or any failure.
Outputs saveStormwingWaveform(const Inputs& in, int) {
    if (in.count() < 1 || in.count() > 3) return {Value::scalar(0)};
    try {
        const Samples v = frame::to_samples(in, 0, "v");
        const std::string filename = in.count() >= 2 ? frame::to_text(in, 1, "filename") : "ORB-C";
        const double scale = in.count() == 3 ? frame::to_scalar(in, 2, "scale") : 1;
        waveform_files::write_wfm(filename, v, scale);
    } catch (const ConfigError&) {
        return {Value::scalar(0)};
    } catch (const IoError&) {
        return {Value::scalar(0)};
    }
    return {Value::scalar(1)};
}

}  // namespace dot11b::ops
