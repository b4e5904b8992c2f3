// Registry adapters of the application: the payload of a `parameters` record
// and the formatting utilities.

#include <complex>
#include <string>
#include <vector>

#include "app/clock2str.hpp"
#include "app/compare_struct.hpp"
#include "app/num2str.hpp"
#include "app/record_reader.hpp"
#include "common/errors.hpp"
#include "common/number_text.hpp"
#include "frame/adapters.hpp"
#include "frame/console.hpp"
#include "frame/convert.hpp"
#include "mac/payload.hpp"

namespace dot11b::ops {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

app::NumberFormat number_format(const Inputs& in) {
    if (!in.has(1)) return {};
    const Value& f = in.at(1, "f");
    if (f.kind() == Value::Kind::Char) return f.text();
    const double digits = frame::to_scalar(in, 1, "f");
    if (!(digits >= 0 && digits <= 100 && static_cast<int>(digits) == digits)) {
        throw ConfigError("num2Str: precision f must be a whole number from 0 to 100");
    }
    return static_cast<int>(digits);
}

// Rows of equal width as a character matrix (column-major).
Value char_matrix(const std::vector<std::string>& lines) {
    if (lines.empty() || lines.front().empty()) return Value::text("");
    const std::size_t rows = lines.size();
    const std::size_t cols = lines.front().size();
    std::u16string chars(rows * cols, u' ');
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < cols; ++c) chars[c * rows + r] = static_cast<unsigned char>(lines[r][c]);
    }
    return Value::char_matrix(rows, cols, std::move(chars));
}

// The longest payload read by name: the 2^26 bits of the longest PN sequence
// an operation returns as a Value, in octets.
constexpr double kMaxPayloadOctets = 8388608;

}  // namespace

Outputs dot11_GeneratePayload(const Inputs& in, int) {
    const app::RecordReader parameters(in.at(0, "parameters"), "parameters");
    mac::PayloadConfig config;
    config.framed = parameters.number("generationMode") == 1;
    config.mac_header_active = parameters.record("MACheader").number("Active") == 1;
    config.fcs_active = parameters.record("MACfcs").number("Active") == 1;
    if (config.framed && config.mac_header_active) {
        config.mac_header_bits = parameters.record("MACheader").record("Contents").bits("BitStream");
    }

    const double code = parameters.number("dataSourceType");
    const auto source = mac::payload_source_from_code(code);
    if (!source) {
        frame::print_warning("dot11_GeneratePayload: variable \"data\" is used before it is set: dataSourceType " +
                             number_text(code) + " is not a payload source (1 to 7); it reads as empty");
        config.source = mac::PayloadSource::UserData;
    } else {
        config.source = *source;
        if (config.source == mac::PayloadSource::UserData) {
            config.user_bits = parameters.bits("dataSourceBitstream");
        } else {
            config.data_length = static_cast<std::size_t>(parameters.whole_number("dataLength", 0, kMaxPayloadOctets));
        }
    }
    return {frame::bits_value(mac::generate_payload(config))};
}

Outputs num2Str(const Inputs& in, int) {
    const Value& x = in.at(0, "x");
    if (x.kind() == Value::Kind::Char) return {x};
    if (!x.is_numeric()) throw ConfigError("num2Str: input x must be numeric or text");
    std::vector<std::complex<double>> values;
    if (x.kind() == Value::Kind::Complex) {
        values.assign(x.complexes().begin(), x.complexes().end());
    } else {
        values.assign(x.reals().begin(), x.reals().end());
    }
    const bool complex = x.kind() == Value::Kind::Complex;
    return {char_matrix(app::num2str(x.rows(), x.cols(), values, complex, number_format(in)))};
}

Outputs clock2str(const Inputs& in, int) { return {Value::text(app::clock2str(frame::to_reals(in, 0, "clkVector")))}; }

Outputs compareStruct(const Inputs& in, int) {
    return {Value::scalar(app::compare_struct(in.at(0, "a"), in.at(1, "b")) ? 1 : 0)};
}

}  // namespace dot11b::ops
