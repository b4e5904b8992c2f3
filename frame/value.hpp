#pragma once
// The dynamic value every registered operation takes and returns: a double or
// complex matrix (column-major), a matrix of 16-bit characters, a structure
// array with ordered named fields, or a cell array. Copied on assignment.

#include <complex>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dot11b::frame {

class Value {
public:
    enum class Kind { Double, Complex, Char, Struct, Cell };

    // The empty 0x0 double matrix.
    Value();

    static Value scalar(double x);
    static Value complex_scalar(std::complex<double> z);
    static Value matrix(std::size_t rows, std::size_t cols, std::vector<double> column_major);
    static Value complex_matrix(std::size_t rows, std::size_t cols, std::vector<std::complex<double>> column_major);
    // 1xN rows (1x0 when empty).
    static Value row(std::vector<double> values);
    static Value complex_row(std::vector<std::complex<double>> values);
    // A 1xN character row from UTF-8 text.
    static Value text(std::string_view utf8);
    static Value char_matrix(std::size_t rows, std::size_t cols, std::u16string column_major);
    // A rows x cols structure array whose fields are all empty.
    static Value structure(std::vector<std::string> field_names, std::size_t rows = 1, std::size_t cols = 1);
    // A rows x cols cell array of empty values.
    static Value cell(std::size_t rows, std::size_t cols);

    Kind kind() const;
    std::size_t rows() const { return rows_; }
    std::size_t cols() const { return cols_; }
    std::size_t numel() const { return rows_ * cols_; }
    bool empty() const { return numel() == 0; }
    bool is_vector() const { return rows_ == 1 || cols_ == 1; }
    bool is_numeric() const { return kind() == Kind::Double || kind() == Kind::Complex; }

    // Element access; each throws std::logic_error when the kind does not match.
    std::span<const double> reals() const;
    std::span<double> reals();
    std::span<const std::complex<double>> complexes() const;
    std::u16string_view chars() const;
    std::string text() const;  // the characters as UTF-8

    const std::vector<std::string>& field_names() const;
    bool has_field(std::string_view name) const;
    // Throws std::out_of_range naming the field when it does not exist.
    const Value& field(std::string_view name, std::size_t index = 0) const;
    Value& field(std::string_view name, std::size_t index = 0);
    // Sets a field of element `index`, appending the field to every element when it is new.
    void set_field(std::string_view name, Value value, std::size_t index = 0);

    const Value& cell_at(std::size_t index) const;
    Value& cell_at(std::size_t index);

    // Same kind, size and contents (field order included).
    bool operator==(const Value& other) const;

private:
    struct StructData {
        std::vector<std::string> names;
        std::vector<Value> values;  // element-major: values[element * names.size() + field]
        bool operator==(const StructData&) const = default;
    };
    struct CellData {
        std::vector<Value> values;
        bool operator==(const CellData&) const = default;
    };
    using Storage = std::variant<std::vector<double>, std::vector<std::complex<double>>, std::u16string, StructData,
                                 CellData>;

    Value(std::size_t rows, std::size_t cols, Storage data);
    std::size_t field_index(std::string_view name) const;
    const StructData& structure_data() const;

    std::size_t rows_ = 0;
    std::size_t cols_ = 0;
    Storage data_;
};

}  // namespace dot11b::frame
