#include "frame/value.hpp"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace dot11b::frame {
namespace {

void check_size(std::size_t rows, std::size_t cols, std::size_t count, const char* what) {
    if (rows * cols != count) {
        throw std::invalid_argument(std::string(what) + ": " + std::to_string(count) + " elements do not fill a " +
                                    std::to_string(rows) + "x" + std::to_string(cols) + " matrix");
    }
}

// UTF-8 to UTF-16; malformed bytes become U+FFFD.
std::u16string utf16_from_utf8(std::string_view in) {
    std::u16string out;
    for (std::size_t i = 0; i < in.size();) {
        const auto lead = static_cast<unsigned char>(in[i]);
        char32_t code = 0xFFFD;
        std::size_t length = 1;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead >> 5) == 0x6) {
            length = 2;
        } else if ((lead >> 4) == 0xE) {
            length = 3;
        } else if ((lead >> 3) == 0x1E) {
            length = 4;
        }
        if (length > 1) {
            if (i + length > in.size()) {
                length = 1;
            } else {
                code = lead & (0x7FU >> length);
                for (std::size_t k = 1; k < length; ++k) {
                    const auto next = static_cast<unsigned char>(in[i + k]);
                    if ((next >> 6) != 0x2) {
                        code = 0xFFFD;
                        length = k;
                        break;
                    }
                    code = (code << 6) | (next & 0x3FU);
                }
            }
        }
        if (code >= 0x10000 && code <= 0x10FFFF) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code > 0x10FFFF ? 0xFFFD : code));
        }
        i += length;
    }
    return out;
}

std::string utf8_from_utf16(std::u16string_view in) {
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        char32_t code = in[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

const char* kind_name(Value::Kind kind) {
    switch (kind) {
    case Value::Kind::Double: return "double";
    case Value::Kind::Complex: return "complex";
    case Value::Kind::Char: return "char";
    case Value::Kind::Struct: return "struct";
    case Value::Kind::Cell: return "cell";
    }
    return "?";
}

}  // namespace

Value::Value() : data_(std::vector<double>{}) {}

Value::Value(std::size_t rows, std::size_t cols, Storage data) : rows_(rows), cols_(cols), data_(std::move(data)) {}

Value Value::scalar(double x) { return {1, 1, std::vector<double>{x}}; }

Value Value::complex_scalar(std::complex<double> z) { return {1, 1, std::vector<std::complex<double>>{z}}; }

Value Value::matrix(std::size_t rows, std::size_t cols, std::vector<double> column_major) {
    check_size(rows, cols, column_major.size(), "Value::matrix");
    return {rows, cols, std::move(column_major)};
}

Value Value::complex_matrix(std::size_t rows, std::size_t cols, std::vector<std::complex<double>> column_major) {
    check_size(rows, cols, column_major.size(), "Value::complex_matrix");
    return {rows, cols, std::move(column_major)};
}

Value Value::row(std::vector<double> values) {
    const std::size_t n = values.size();
    return {1, n, std::move(values)};
}

Value Value::complex_row(std::vector<std::complex<double>> values) {
    const std::size_t n = values.size();
    return {1, n, std::move(values)};
}

Value Value::text(std::string_view utf8) {
    std::u16string chars = utf16_from_utf8(utf8);
    const std::size_t n = chars.size();
    return {n == 0 ? 0U : 1U, n, std::move(chars)};
}

Value Value::char_matrix(std::size_t rows, std::size_t cols, std::u16string column_major) {
    check_size(rows, cols, column_major.size(), "Value::char_matrix");
    return {rows, cols, std::move(column_major)};
}

Value Value::structure(std::vector<std::string> field_names, std::size_t rows, std::size_t cols) {
    for (std::size_t i = 0; i < field_names.size(); ++i) {
        if (std::find(field_names.begin(), field_names.begin() + static_cast<long>(i), field_names[i]) !=
            field_names.begin() + static_cast<long>(i)) {
            throw std::invalid_argument("Value::structure: duplicate field name " + field_names[i]);
        }
    }
    StructData data{std::move(field_names), {}};
    data.values.resize(rows * cols * data.names.size());
    return {rows, cols, std::move(data)};
}

Value Value::cell(std::size_t rows, std::size_t cols) { return {rows, cols, CellData{std::vector<Value>(rows * cols)}}; }

Value::Kind Value::kind() const { return static_cast<Kind>(data_.index()); }

std::span<const double> Value::reals() const {
    if (const auto* v = std::get_if<std::vector<double>>(&data_)) return *v;
    throw std::logic_error(std::string("expected a double matrix, got a ") + kind_name(kind()) + " value");
}

std::span<double> Value::reals() {
    if (auto* v = std::get_if<std::vector<double>>(&data_)) return *v;
    throw std::logic_error(std::string("expected a double matrix, got a ") + kind_name(kind()) + " value");
}

std::span<const std::complex<double>> Value::complexes() const {
    if (const auto* v = std::get_if<std::vector<std::complex<double>>>(&data_)) return *v;
    throw std::logic_error(std::string("expected a complex matrix, got a ") + kind_name(kind()) + " value");
}

std::u16string_view Value::chars() const {
    if (const auto* v = std::get_if<std::u16string>(&data_)) return *v;
    throw std::logic_error(std::string("expected characters, got a ") + kind_name(kind()) + " value");
}

std::string Value::text() const { return utf8_from_utf16(chars()); }

const Value::StructData& Value::structure_data() const {
    if (const auto* v = std::get_if<StructData>(&data_)) return *v;
    throw std::logic_error(std::string("expected a structure, got a ") + kind_name(kind()) + " value");
}

const std::vector<std::string>& Value::field_names() const { return structure_data().names; }

bool Value::has_field(std::string_view name) const {
    const auto* data = std::get_if<StructData>(&data_);
    return data && std::find(data->names.begin(), data->names.end(), name) != data->names.end();
}

std::size_t Value::field_index(std::string_view name) const {
    const auto& names = structure_data().names;
    const auto it = std::find(names.begin(), names.end(), name);
    if (it == names.end()) throw std::out_of_range("Reference to non-existent field '" + std::string(name) + "'.");
    return static_cast<std::size_t>(it - names.begin());
}

const Value& Value::field(std::string_view name, std::size_t index) const {
    const std::size_t f = field_index(name);
    if (index >= numel()) throw std::out_of_range("structure index " + std::to_string(index + 1) + " exceeds its size");
    const auto& data = structure_data();
    return data.values[index * data.names.size() + f];
}

Value& Value::field(std::string_view name, std::size_t index) {
    return const_cast<Value&>(std::as_const(*this).field(name, index));
}

void Value::set_field(std::string_view name, Value value, std::size_t index) {
    auto* data = std::get_if<StructData>(&data_);
    if (!data) throw std::logic_error(std::string("expected a structure, got a ") + kind_name(kind()) + " value");
    if (index >= numel()) throw std::out_of_range("structure index " + std::to_string(index + 1) + " exceeds its size");
    if (!has_field(name)) {
        // Widen every element by one empty field at the end.
        const std::size_t old_width = data->names.size();
        std::vector<Value> widened;
        widened.reserve(numel() * (old_width + 1));
        for (std::size_t e = 0; e < numel(); ++e) {
            for (std::size_t f = 0; f < old_width; ++f) widened.push_back(std::move(data->values[e * old_width + f]));
            widened.emplace_back();
        }
        data->values = std::move(widened);
        data->names.emplace_back(name);
    }
    data->values[index * data->names.size() + field_index(name)] = std::move(value);
}

const Value& Value::cell_at(std::size_t index) const {
    const auto* data = std::get_if<CellData>(&data_);
    if (!data) throw std::logic_error(std::string("expected a cell array, got a ") + kind_name(kind()) + " value");
    if (index >= data->values.size()) throw std::out_of_range("cell index " + std::to_string(index + 1) + " exceeds its size");
    return data->values[index];
}

Value& Value::cell_at(std::size_t index) { return const_cast<Value&>(std::as_const(*this).cell_at(index)); }

bool Value::operator==(const Value& other) const {
    return rows_ == other.rows_ && cols_ == other.cols_ && data_ == other.data_;
}

}  // namespace dot11b::frame
