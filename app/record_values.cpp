#include "app/record_values.hpp"

#include <array>

#include <string>
#include <vector>

#include "app/record_reader.hpp"
#include "common/errors.hpp"

namespace dot11b::app {
namespace {

using frame::Value;

// Builds a 1x1 structure field by field, in order.
class RecordWriter {
public:
    RecordWriter& add(std::string_view name, Value value) {
        if (record_.kind() != Value::Kind::Struct) record_ = Value::structure({});
        record_.set_field(name, std::move(value));
        return *this;
    }
    RecordWriter& add(std::string_view name, double number) { return add(name, Value::scalar(number)); }
    Value take() { return std::move(record_); }

private:
    Value record_;
};

Value flag(bool on) { return Value::scalar(on ? 1 : 0); }

Value count(std::size_t n) { return Value::scalar(static_cast<double>(n)); }

// Empty text is the empty matrix, as a record created with [] holds it.
Value text(const std::string& s) { return s.empty() ? Value() : Value::text(s); }

Value bits(const Bits& b) {
    if (b.empty()) return Value();
    return Value::row(std::vector<double>(b.begin(), b.end()));
}

template <typename Enum>
Value code(Enum e) {
    return Value::scalar(static_cast<double>(e));
}

// The field records in the order of the record: the two-byte fields first.
constexpr std::array<mac::MacField, 7> kRecordFieldOrder = {
    mac::MacField::FrameCntrl, mac::MacField::DurationID, mac::MacField::SeqCntrl, mac::MacField::Address1,
    mac::MacField::Address2,   mac::MacField::Address3,   mac::MacField::Address4,
};

std::size_t whole(const RecordReader& reader, std::string_view name, double max) {
    return static_cast<std::size_t>(reader.whole_number(name, 0, max));
}

template <typename T>
T validated(T record, std::string_view name) {
    record.validate(name);
    return record;
}

}  // namespace

Value to_value(const mac::MacHeader& header) {
    RecordWriter record;
    record.add("BitStream", bits(header.bit_stream()));
    for (const mac::MacField field : kRecordFieldOrder) {
        const mac::MacFieldValue& value = header[field];
        record.add(mac::mac_field_name(field), RecordWriter()
                                                   .add("Contents", static_cast<double>(value.contents))
                                                   .add("Size", count(mac::mac_field_size(field)))
                                                   .add("Active", flag(value.active))
                                                   .take());
    }
    return record.take();
}

Value to_value(const FormatParameters& p) {
    RecordWriter record;
    record.add("ParameterFileFormat_ID", text(p.format_id))
        .add("generationMode", flag(p.framed))
        .add("dataRate", phy::rate_in_mbps(p.rate))
        .add("highRateMod", code(p.modulation))
        .add("preambleType", code(p.preamble))
        .add("clkLocked", flag(p.locked_clocks))
        .add("scramblerActive", code(p.scrambler))
        .add("encoderActive", flag(p.pbcc_encoder))
        .add("rampType", code(p.ramp))
        .add("rampLength", count(p.ramp_length))
        .add("idleSamples", count(p.idle_samples))
        .add("Channel", p.channel)
        .add("MirrorSpectrum", flag(p.mirror_spectrum))
        .add("MACheader", RecordWriter()
                              .add("Active", flag(p.mac_header.active))
                              .add("Length", count(p.mac_header.length))
                              .add("Contents", to_value(p.mac_header.contents))
                              .take())
        .add("MACfcs", RecordWriter()
                           .add("Active", flag(p.fcs.active))
                           .add("Length", count(p.fcs.length))
                           .add("Contents", bits(p.fcs.contents))
                           .take())
        .add("dataSourceType", code(p.data_source))
        .add("dataLength", count(p.data_length))
        .add("dataSourceName", text(p.data_source_name))
        .add("dataSourceBitstream", bits(p.data_source_bits))
        .add("totalLength", count(p.total_length))
        .add("OverSampling", p.oversampling)
        .add("FilterType", code(p.filter))
        .add("FilterFactor", p.filter_factor)
        .add("FilterTaps", p.filter_taps)
        .add("LastPath", text(p.last_path));
    if (p.projected_length) record.add("ProjectedLength", *p.projected_length);
    // Written only when in use, so single-frame records stay as they always were.
    if (p.frames != 1) record.add("Frames", count(p.frames));
    if (p.payload_continue) record.add("PayloadContinue", flag(p.payload_continue));
    return record.take();
}

Value to_value(const impairments::ImpairmentSettings& impairments) {
    RecordWriter record;
    for (std::size_t k = 0; k < impairments::kImpairmentFields.size(); ++k) {
        const std::optional<double>& value = impairments.*impairments::kImpairmentFields[k].member;
        if (value) record.add(kImpairmentRecordFields[k], *value);
    }
    record.add("Seed", static_cast<double>(impairments.seed));
    return record.take();
}

impairments::ImpairmentSettings impairment_settings_from_value(const Value& value, std::string_view name) {
    const RecordReader r(value, std::string(name));
    impairments::ImpairmentSettings impairments;
    for (std::size_t k = 0; k < impairments::kImpairmentFields.size(); ++k) {
        const impairments::ImpairmentField& field = impairments::kImpairmentFields[k];
        if (r.has(kImpairmentRecordFields[k])) {
            impairments.*field.member = r.number(kImpairmentRecordFields[k]);
        }
    }
    if (r.has("Seed")) impairments.seed = static_cast<std::uint64_t>(r.whole_number("Seed", 0, 4294967295.0));
    try {
        impairments.validate();
    } catch (const ConfigError& e) {
        throw ConfigError(std::string(name) + ": " + e.what());
    }
    return impairments;
}

Value to_value(const SigGenSettings& s) {
    return RecordWriter()
        .add("Title", text(s.title))
        .add("Frequency", s.frequency)
        .add("Amplitude", s.amplitude)
        .add("SamplingRate", s.sampling_rate)
        .add("ReconFilter", s.recon_filter)
        .add("RFblanking", flag(s.rf_blanking))
        .add("ArbRefSource", flag(s.external_reference))
        .add("MarkerPolarity", flag(s.negative_markers))
        .take();
}

Value to_value(const ConnectionConfig& c) {
    RecordWriter rs232;
    rs232.add("port", c.rs232.port).add("baudrate", c.rs232.baudrate).add("handshake", text(c.rs232.handshake));
    if (!c.rs232.device.empty()) rs232.add("device", text(c.rs232.device));
    return RecordWriter()
        .add("type", text(c.type))
        .add("GPIB", RecordWriter()
                         .add("board", c.gpib.board)
                         .add("primary", c.gpib.primary)
                         .add("secondary", c.gpib.secondary)
                         .take())
        .add("RS232", rs232.take())
        .add("TCPIP", RecordWriter().add("address", text(c.tcpip.address)).add("board", c.tcpip.board).take())
        .add("SDR", RecordWriter()
                        .add("args", text(c.sdr.args))
                        .add("gain", c.sdr.gain)
                        .add("antenna", text(c.sdr.antenna))
                        .add("rate", c.sdr.rate)
                        .take())
        .add("BBGtype", text(c.bbg_type))
        .add("LastParameterFilename", text(c.last_parameter_filename))
        .add("CorrectionsFolder", text(c.corrections_folder))
        .take();
}

mac::MacHeader mac_header_from_value(const Value& value, std::string_view name) {
    const RecordReader reader(value, std::string(name));
    mac::MacHeader header;
    for (const mac::MacField field : kRecordFieldOrder) {
        const RecordReader sub = reader.record(mac::mac_field_name(field));
        const auto size = static_cast<double>(mac::mac_field_size(field));
        sub.choice("Size", {size});
        header[field].contents =
            static_cast<std::uint64_t>(sub.whole_number("Contents", 0, static_cast<double>(mac::mac_field_max(field))));
        header[field].active = sub.flag("Active");
    }
    if (reader.bits("BitStream") != header.bit_stream()) {
        throw ConfigError(reader.path() + ".BitStream does not match its fields; expected the " +
                          std::to_string(8 * header.length_bytes()) +
                          " bits of the active fields, each least significant bit first");
    }
    return header;
}

FormatParameters format_parameters_from_value(const Value& value, std::string_view name) {
    const RecordReader r(value, std::string(name));
    FormatParameters p;
    p.format_id = r.text("ParameterFileFormat_ID");
    p.framed = r.flag("generationMode");
    p.rate = phy::data_rate_from_mbps(r.choice("dataRate", {1, 2, 5.5, 11, 22, 33}), name);
    p.modulation = static_cast<phy::Modulation>(r.choice("highRateMod", {0, 1}));
    p.preamble = static_cast<phy::PreambleType>(r.choice("preambleType", {0, 1}));
    p.locked_clocks = r.flag("clkLocked");
    p.scrambler = static_cast<phy::ScramblerMode>(r.choice("scramblerActive", {0, 1, 2}));
    p.pbcc_encoder = r.flag("encoderActive");
    p.ramp = static_cast<phy::RampType>(r.choice("rampType", {0, 1, 2}));
    p.ramp_length = whole(r, "rampLength", 1e9);
    p.idle_samples = whole(r, "idleSamples", 1e9);
    p.channel = static_cast<int>(r.whole_number("Channel", 1, 14));
    p.mirror_spectrum = r.flag("MirrorSpectrum");

    const RecordReader header = r.record("MACheader");
    p.mac_header.active = header.flag("Active");
    p.mac_header.length = whole(header, "Length", 1e9);
    p.mac_header.contents = mac_header_from_value(header.value("Contents"), header.path() + ".Contents");
    const RecordReader fcs = r.record("MACfcs");
    p.fcs.active = fcs.flag("Active");
    p.fcs.length = whole(fcs, "Length", 1e9);
    p.fcs.contents = fcs.bits("Contents");

    p.data_source = static_cast<mac::PayloadSource>(r.whole_number("dataSourceType", 1, 7));
    p.data_length = whole(r, "dataLength", 1e9);
    p.data_source_name = r.text("dataSourceName");
    p.data_source_bits = r.bits("dataSourceBitstream");
    p.total_length = whole(r, "totalLength", 1e9);
    p.oversampling = r.choice("OverSampling", {2, 2.5, 3, 3.5});
    p.filter = static_cast<phy::FilterType>(r.choice("FilterType", {0, 1, 2}));
    p.filter_factor = r.number("FilterFactor");
    p.filter_taps = r.number("FilterTaps");
    p.last_path = r.text("LastPath");
    if (r.has("ProjectedLength")) p.projected_length = r.number("ProjectedLength");
    if (r.has("Frames")) p.frames = static_cast<std::size_t>(r.whole_number("Frames", 1, kMaxFrames));
    if (r.has("PayloadContinue")) p.payload_continue = r.flag("PayloadContinue");
    return validated(std::move(p), name);
}

SigGenSettings sig_gen_settings_from_value(const Value& value, std::string_view name) {
    const RecordReader r(value, std::string(name));
    SigGenSettings s;
    s.title = r.text("Title");
    s.frequency = r.number("Frequency");
    s.amplitude = r.number("Amplitude");
    s.sampling_rate = r.number("SamplingRate");
    s.recon_filter = static_cast<int>(r.whole_number("ReconFilter", 1, 4));
    s.rf_blanking = r.flag("RFblanking");
    s.external_reference = r.flag("ArbRefSource");
    s.negative_markers = r.flag("MarkerPolarity");
    return validated(std::move(s), name);
}

SdrSettings sdr_settings_from(const RecordReader& r) {
    SdrSettings s;
    if (r.has("args")) s.args = r.text("args");
    if (r.has("gain")) s.gain = r.number("gain");
    if (r.has("antenna")) s.antenna = r.text("antenna");
    if (r.has("rate")) s.rate = r.number("rate");
    return s;
}

ConnectionConfig connection_config_from_value(const Value& value, std::string_view name) {
    const RecordReader r(value, std::string(name));
    ConnectionConfig c;
    c.type = r.text("type");
    const RecordReader gpib = r.record("GPIB");
    c.gpib.board = static_cast<int>(gpib.whole_number("board", 0, 15));
    c.gpib.primary = static_cast<int>(gpib.whole_number("primary", 0, 30));
    c.gpib.secondary = static_cast<int>(gpib.whole_number("secondary", -1, 31));
    const RecordReader rs232 = r.record("RS232");
    c.rs232.port = static_cast<int>(rs232.whole_number("port", 1, 9));
    c.rs232.baudrate = static_cast<int>(rs232.whole_number("baudrate", 1, 10000000));
    c.rs232.handshake = rs232.text("handshake");
    if (rs232.has("device")) c.rs232.device = rs232.text("device");
    const RecordReader tcpip = r.record("TCPIP");
    c.tcpip.address = tcpip.text("address");
    c.tcpip.board = static_cast<int>(tcpip.whole_number("board", 0, 15));
    // Records saved before SDRs could be chosen have no SDR sub-record.
    if (r.has("SDR")) c.sdr = sdr_settings_from(r.record("SDR"));
    c.bbg_type = r.text("BBGtype");
    c.last_parameter_filename = r.text("LastParameterFilename");
    // Records saved before the corrections folder could be set have none.
    if (r.has("CorrectionsFolder")) c.corrections_folder = r.text("CorrectionsFolder");
    return validated(std::move(c), name);
}

}  // namespace dot11b::app
