#include "app/record_reader.hpp"

#include <algorithm>
#include <cmath>

#include "common/errors.hpp"
#include "common/number_text.hpp"

namespace dot11b::app {
namespace {

using frame::Value;

const char* kind_name(Value::Kind kind) {
    switch (kind) {
    case Value::Kind::Double:
        return "double";
    case Value::Kind::Complex:
        return "complex";
    case Value::Kind::Char:
        return "char";
    case Value::Kind::Struct:
        return "struct";
    case Value::Kind::Cell:
        return "cell";
    }
    return "unknown";
}

}  // namespace

std::string describe(const Value& value) {
    return "a " + std::to_string(value.rows()) + "x" + std::to_string(value.cols()) + " " + kind_name(value.kind()) +
           " array";
}

RecordReader::RecordReader(const Value& record, std::string path) : record_(&record), path_(std::move(path)) {
    if (record.kind() != Value::Kind::Struct || record.numel() != 1) {
        throw ConfigError(path_ + " must be a 1x1 structure; it is " + describe(record));
    }
}

bool RecordReader::has(std::string_view name) const { return record_->has_field(name); }

std::string RecordReader::path_of(std::string_view name) const { return path_ + "." + std::string(name); }

const Value& RecordReader::value(std::string_view name) const {
    if (!record_->has_field(name)) throw ConfigError(path_of(name) + " is missing");
    return record_->field(name);
}

RecordReader RecordReader::record(std::string_view name) const { return {value(name), path_of(name)}; }

double RecordReader::number(std::string_view name) const {
    const Value& field = value(name);
    if (field.kind() != Value::Kind::Double || field.numel() != 1) {
        throw ConfigError(path_of(name) + " must be a real number; it is " + describe(field));
    }
    return field.reals()[0];
}

double RecordReader::whole_number(std::string_view name, double min, double max) const {
    const double x = number(name);
    if (!(x >= min && x <= max && std::floor(x) == x)) {
        throw ConfigError(path_of(name) + " is " + number_text(x) + "; allowed: whole numbers " + number_text(min) +
                          " to " + number_text(max));
    }
    return x;
}

double RecordReader::choice(std::string_view name, std::initializer_list<double> allowed) const {
    const double x = number(name);
    if (std::find(allowed.begin(), allowed.end(), x) == allowed.end()) {
        std::string list;
        for (const double a : allowed) list += (list.empty() ? "" : ", ") + number_text(a);
        throw ConfigError(path_of(name) + " is " + number_text(x) + "; allowed: " + list);
    }
    return x;
}

bool RecordReader::flag(std::string_view name) const { return choice(name, {0, 1}) == 1; }

std::string RecordReader::text(std::string_view name) const {
    const Value& field = value(name);
    if (field.empty() && field.kind() != Value::Kind::Struct && field.kind() != Value::Kind::Cell) return {};
    if (field.kind() != Value::Kind::Char || field.rows() != 1) {
        throw ConfigError(path_of(name) + " must be a character row; it is " + describe(field));
    }
    return field.text();
}

Bits RecordReader::bits(std::string_view name) const {
    const Value& field = value(name);
    if (field.empty() && field.kind() != Value::Kind::Struct && field.kind() != Value::Kind::Cell) return {};
    if (field.kind() != Value::Kind::Double || !field.is_vector()) {
        throw ConfigError(path_of(name) + " must be a row of bits; it is " + describe(field));
    }
    Bits bits;
    bits.reserve(field.numel());
    for (const double x : field.reals()) {
        if (x != 0 && x != 1) {
            throw ConfigError(path_of(name) + " must hold only 0 and 1; element " + std::to_string(bits.size() + 1) +
                              " is " + number_text(x));
        }
        bits.push_back(static_cast<std::uint8_t>(x));
    }
    return bits;
}

}  // namespace dot11b::app
