// Registry adapters of the application's formatting utilities.

#include <complex>
#include <string>
#include <vector>

#include "app/clock2str.hpp"
#include "app/compare_struct.hpp"
#include "app/num2str.hpp"
#include "common/errors.hpp"
#include "frame/adapters.hpp"
#include "frame/convert.hpp"

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

}  // namespace

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
