#include <matio.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "frame/mat_structure.hpp"
#include "frame/matio_handles.hpp"

namespace dot11b::frame {
namespace {

namespace fs = std::filesystem;
using matio::fail;
using matio::MatPtr;
using matio::VarPtr;

// Parameter and configuration files are a few kilobytes; this leaves room for
// large Save Wave files while refusing to read anything absurd.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{64} << 20;

// Reads the whole file (it is small) and checks its header and the structure
// of every data element before libmatio parses any of it.
void check_file(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        fail(path, error ? error.message() : std::string("not a regular file"));
    }
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) fail(path, error.message());
    if (size > kMaxFileBytes)
        fail(path, "is " + std::to_string(size) + " bytes, more than a MAT-file read here may be");

    std::ifstream in(path, std::ios::binary);
    if (!in) fail(path, std::strerror(errno));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) fail(path, "cannot be read completely");
    if (const auto problem = mat_structure_problem(bytes)) fail(path, *problem);
}

class VariableReader {
public:
    explicit VariableReader(const fs::path& path) : path_(path) {}

    // Walks the variable's headers without its data.
    void check_shape(matvar_t* var, const std::string& where, int depth) {
        const std::size_t count = element_count(var, where, depth);
        switch (var->class_type) {
        case MAT_C_DOUBLE:
        case MAT_C_SINGLE:
        case MAT_C_INT8:
        case MAT_C_UINT8:
        case MAT_C_INT16:
        case MAT_C_UINT16:
        case MAT_C_INT32:
        case MAT_C_UINT32:
        case MAT_C_INT64:
        case MAT_C_UINT64:
            return;
        case MAT_C_CHAR:
            if (var->isComplex) reject(where, "is a complex character array");
            return;
        case MAT_C_STRUCT: {
            const unsigned fields = Mat_VarGetNumberOfFields(var);
            spend(where, count * fields);
            for (std::size_t element = 0; element < count; ++element) {
                for (unsigned field = 0; field < fields; ++field) {
                    matvar_t* child = Mat_VarGetStructFieldByIndex(var, field, element);
                    if (child) check_shape(child, where + "." + field_name(var, field), depth + 1);
                }
            }
            return;
        }
        case MAT_C_CELL:
            for (std::size_t element = 0; element < count; ++element) {
                matvar_t* child = Mat_VarGetCell(var, static_cast<int>(element));
                if (child) check_shape(child, where + "{" + std::to_string(element + 1) + "}", depth + 1);
            }
            return;
        default:
            reject(where,
                   "is of a class that is not read here (only numeric, logical, character, structure and "
                   "cell arrays are)");
        }
    }

    Value convert(matvar_t* var, const std::string& where, int depth) {
        const std::size_t count = element_count(var, where, depth);
        const std::size_t rows = var->dims[0];
        const std::size_t cols = var->dims[1];
        switch (var->class_type) {
        case MAT_C_DOUBLE:
            return numbers<double>(var, where, count);
        case MAT_C_SINGLE:
            return numbers<float>(var, where, count);
        case MAT_C_INT8:
            return numbers<std::int8_t>(var, where, count);
        case MAT_C_UINT8:
            return numbers<std::uint8_t>(var, where, count);
        case MAT_C_INT16:
            return numbers<std::int16_t>(var, where, count);
        case MAT_C_UINT16:
            return numbers<std::uint16_t>(var, where, count);
        case MAT_C_INT32:
            return numbers<std::int32_t>(var, where, count);
        case MAT_C_UINT32:
            return numbers<std::uint32_t>(var, where, count);
        case MAT_C_INT64:
            return numbers<std::int64_t>(var, where, count);
        case MAT_C_UINT64:
            return numbers<std::uint64_t>(var, where, count);
        case MAT_C_CHAR:
            return Value::char_matrix(rows, cols, characters(var, where, count));
        case MAT_C_STRUCT:
            return structure(var, where, depth, count);
        case MAT_C_CELL: {
            Value cells = Value::cell(rows, cols);
            for (std::size_t element = 0; element < count; ++element) {
                const std::string child_where = where + "{" + std::to_string(element + 1) + "}";
                matvar_t* child = Mat_VarGetCell(var, static_cast<int>(element));
                if (!child) reject(child_where, "is missing");
                cells.cell_at(element) = convert(child, child_where, depth + 1);
            }
            return cells;
        }
        default:
            reject(where, "is of a class that is not read here");
        }
    }

    void reset_budget() { spent_ = 0; }

private:
    [[noreturn]] void reject(const std::string& where, const std::string& what) const {
        fail(path_, "variable " + where + " " + what);
    }

    void spend(const std::string& where, std::size_t elements) {
        if (elements > kMaxMatElements - spent_) {
            reject(where, "holds more than " + std::to_string(kMaxMatElements) + " elements");
        }
        spent_ += elements;
    }

    std::size_t element_count(matvar_t* var, const std::string& where, int depth) {
        if (depth > kMaxMatNesting)
            reject(where, "is nested deeper than " + std::to_string(kMaxMatNesting) + " levels");
        if (var->rank != 2 || !var->dims)
            reject(where, "has " + std::to_string(var->rank) + " dimensions; only 2-D arrays are read");
        const std::size_t rows = var->dims[0];
        const std::size_t cols = var->dims[1];
        if (rows != 0 && cols > kMaxMatElements / rows) {
            reject(where, "holds more than " + std::to_string(kMaxMatElements) + " elements");
        }
        spend(where, rows * cols);
        return rows * cols;
    }

    static std::string field_name(matvar_t* var, unsigned field) {
        char* const* names = Mat_VarGetStructFieldnames(var);
        return names && names[field] ? names[field] : "?";
    }

    // The data of `count` elements of type T, present and complete.
    template <typename T>
    const T* data_of(const void* data, const matvar_t* var, const std::string& where, std::size_t count) const {
        if (count == 0) return nullptr;
        if (!data || var->data_size != static_cast<int>(sizeof(T)) || var->nbytes < count * sizeof(T)) {
            reject(where, "has data that do not fill its dimensions");
        }
        return static_cast<const T*>(data);
    }

    template <typename T>
    Value numbers(matvar_t* var, const std::string& where, std::size_t count) const {
        const std::size_t rows = var->dims[0];
        const std::size_t cols = var->dims[1];
        if (var->isComplex) {
            const auto* split = static_cast<const mat_complex_split_t*>(var->data);
            if (count > 0 && !split) reject(where, "has no data");
            const T* re = count > 0 ? data_of<T>(split->Re, var, where, count) : nullptr;
            const T* im = count > 0 ? data_of<T>(split->Im, var, where, count) : nullptr;
            std::vector<std::complex<double>> values(count);
            for (std::size_t i = 0; i < count; ++i)
                values[i] = {static_cast<double>(re[i]), static_cast<double>(im[i])};
            return Value::complex_matrix(rows, cols, std::move(values));
        }
        const T* data = data_of<T>(var->data, var, where, count);
        std::vector<double> values(count);
        for (std::size_t i = 0; i < count; ++i) values[i] = static_cast<double>(data[i]);
        return Value::matrix(rows, cols, std::move(values));
    }

    std::u16string characters(matvar_t* var, const std::string& where, std::size_t count) const {
        if (count == 0) return {};
        if (!var->data) reject(where, "has no data");
        std::u16string chars;
        switch (var->data_type) {
        case MAT_T_UINT8:
        case MAT_T_INT8: {
            if (var->nbytes < count) reject(where, "has data that do not fill its dimensions");
            const auto* bytes = static_cast<const unsigned char*>(var->data);
            chars.assign(bytes, bytes + count);
            break;
        }
        case MAT_T_UTF8:
            chars = Value::text(std::string_view(static_cast<const char*>(var->data), var->nbytes)).chars();
            break;
        case MAT_T_UINT16:
        case MAT_T_INT16:
        case MAT_T_UTF16: {
            if (var->nbytes < 2 * count) reject(where, "has data that do not fill its dimensions");
            const auto* units = static_cast<const std::uint16_t*>(var->data);
            chars.assign(units, units + count);
            break;
        }
        default:
            reject(where, "holds characters of an encoding that is not read here");
        }
        // A UTF-8 array may end in padding; what it encodes must fill the dimensions.
        if (chars.size() > count && chars.find_first_not_of(u'\0', count) == std::u16string::npos) chars.resize(count);
        if (chars.size() != count) reject(where, "has characters that do not fill its dimensions");
        return chars;
    }

    Value structure(matvar_t* var, const std::string& where, int depth, std::size_t count) {
        const unsigned fields = Mat_VarGetNumberOfFields(var);
        spend(where, count * fields);
        std::vector<std::string> names;
        for (unsigned field = 0; field < fields; ++field) names.push_back(field_name(var, field));
        Value record;
        try {
            record = Value::structure(names, var->dims[0], var->dims[1]);
        } catch (const std::invalid_argument& e) {
            reject(where, e.what());
        }
        for (std::size_t element = 0; element < count; ++element) {
            for (unsigned field = 0; field < fields; ++field) {
                const std::string child_where = where + "." + names[field];
                matvar_t* child = Mat_VarGetStructFieldByIndex(var, field, element);
                if (!child) reject(child_where, "is missing");
                record.field(names[field], element) = convert(child, child_where, depth + 1);
            }
        }
        return record;
    }

    const fs::path& path_;
    std::size_t spent_ = 0;
};

MatPtr open_for_reading(const fs::path& path) {
    MatPtr mat(Mat_Open(path.c_str(), MAT_ACC_RDONLY));
    if (!mat) fail(path, matio::with_library_reason("cannot be opened as a MAT-file"));
    if (Mat_GetVersion(mat.get()) != MAT_FT_MAT5) fail(path, "is not a Level 5 MAT-file");
    return mat;
}

}  // namespace

std::vector<MatVariable> matio::read_file(const fs::path& path, std::span<const std::string_view> names) {
    matio::start_call();
    check_file(path);
    MatPtr mat = open_for_reading(path);
    std::vector<MatVariable> variables;
    for (const std::string_view name : names) {
        const std::string key(name);
        VariableReader reader(path);
        VarPtr info(Mat_VarReadInfo(mat.get(), key.c_str()));
        if (!info) {
            // Not found, unless the search stopped at damaged data.
            if (!matio::last_message().empty()) fail(path, matio::with_library_reason("cannot be read"));
            continue;
        }
        reader.check_shape(info.get(), key, 0);
        info.reset();
        VarPtr var(Mat_VarRead(mat.get(), key.c_str()));
        if (!var) fail(path, matio::with_library_reason("variable " + key + " cannot be read"));
        reader.reset_budget();
        variables.push_back({key, reader.convert(var.get(), key, 0)});
    }
    return variables;
}

}  // namespace dot11b::frame
