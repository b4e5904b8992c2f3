#pragma once
// Typed, checked reading of the fields of a record held in a Value (a record
// loaded from a file, or passed to an operation). Every error names the
// field by its path (fileParameters.MACheader.Active), what it holds and what
// was expected.

#include <initializer_list>
#include <string>
#include <string_view>

#include "common/types.hpp"
#include "frame/value.hpp"

namespace dot11b::app {

class RecordReader {
public:
    // Throws ConfigError unless `record` is a 1x1 structure. The reader refers
    // to `record`, which must outlive it.
    RecordReader(const frame::Value& record, std::string path);

    bool has(std::string_view name) const;
    // The field's value as it is. Throws ConfigError naming the field when the
    // record has no such field.
    const frame::Value& value(std::string_view name) const;
    // The sub-record in the field, a 1x1 structure.
    RecordReader record(std::string_view name) const;
    // A real 1x1 number.
    double number(std::string_view name) const;
    // A real 1x1 whole number from min to max.
    double whole_number(std::string_view name, double min, double max) const;
    // A real 1x1 number from the allowed set.
    double choice(std::string_view name, std::initializer_list<double> allowed) const;
    // 0 or 1.
    bool flag(std::string_view name) const;
    // A character row; any empty value reads as empty text.
    std::string text(std::string_view name) const;
    // A real row or column of 0s and 1s; any empty value reads as no bits.
    Bits bits(std::string_view name) const;

    const std::string& path() const { return path_; }

private:
    std::string path_of(std::string_view name) const;

    const frame::Value* record_;
    std::string path_;
};

// "a 1x3 char array", "a 2x2 double array", for messages.
std::string describe(const frame::Value& value);

}  // namespace dot11b::app
