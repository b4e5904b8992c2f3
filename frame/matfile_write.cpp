#include <matio.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "common/errors.hpp"
#include "frame/matio_handles.hpp"

namespace dot11b::frame {
namespace {

namespace fs = std::filesystem;
using matio::MatPtr;
using matio::VarPtr;

VarPtr create(const std::string& name, const Value& value);

[[noreturn]] void fail_writing(const fs::path& path, const std::string& reason) {
    throw IoError("cannot write " + path.string() + ": " + reason);
}

VarPtr checked(VarPtr var, const std::string& name) {
    if (!var) throw std::runtime_error(matio::with_library_reason("cannot create variable " + name));
    return var;
}

VarPtr create_structure(const std::string& name, const Value& value, std::size_t* dims) {
    const auto& names = value.field_names();
    std::vector<const char*> pointers;
    for (const auto& field : names) pointers.push_back(field.c_str());
    VarPtr var = checked(VarPtr(Mat_VarCreateStruct(name.c_str(), 2, dims, pointers.empty() ? nullptr : pointers.data(),
                                                    static_cast<unsigned>(pointers.size()))),
                         name);
    for (std::size_t element = 0; element < value.numel(); ++element) {
        for (std::size_t field = 0; field < names.size(); ++field) {
            VarPtr child = create(names[field], value.field(names[field], element));
            VarPtr previous(Mat_VarSetStructFieldByIndex(var.get(), field, element, child.get()));
            child.release();
        }
    }
    return var;
}

VarPtr create_cells(const std::string& name, const Value& value, std::size_t* dims) {
    std::vector<VarPtr> owned;
    std::vector<matvar_t*> cells;
    for (std::size_t element = 0; element < value.numel(); ++element) {
        owned.push_back(create(name, value.cell_at(element)));
        cells.push_back(owned.back().get());
    }
    VarPtr var = checked(
        VarPtr(Mat_VarCreate(name.c_str(), MAT_C_CELL, MAT_T_CELL, 2, dims, cells.empty() ? nullptr : cells.data(), 0)),
        name);
    // The cell array now owns its cells.
    for (auto& cell : owned) cell.release();
    return var;
}

VarPtr create(const std::string& name, const Value& value) {
    std::array<std::size_t, 2> dims = {value.rows(), value.cols()};
    switch (value.kind()) {
    case Value::Kind::Double: {
        void* data = value.empty() ? nullptr : const_cast<double*>(value.reals().data());
        return checked(VarPtr(Mat_VarCreate(name.c_str(), MAT_C_DOUBLE, MAT_T_DOUBLE, 2, dims.data(), data, 0)), name);
    }
    case Value::Kind::Complex: {
        std::vector<double> re;
        std::vector<double> im;
        for (const auto& z : value.complexes()) {
            re.push_back(z.real());
            im.push_back(z.imag());
        }
        mat_complex_split_t split{re.data(), im.data()};
        return checked(
            VarPtr(Mat_VarCreate(name.c_str(), MAT_C_DOUBLE, MAT_T_DOUBLE, 2, dims.data(), &split, MAT_F_COMPLEX)),
            name);
    }
    case Value::Kind::Char: {
        // ASCII text as UTF-8, which every reader decodes; other text as 16-bit
        // units, as MATLAB writes it (libmatio 1.5.23 sizes multi-byte UTF-8
        // wrongly inside structures, and 8-bit characters lose the next field
        // under compression).
        const std::u16string_view chars = value.chars();
        if (std::all_of(chars.begin(), chars.end(), [](char16_t c) { return c < 0x80; })) {
            std::string utf8 = value.text();
            void* data = utf8.empty() ? nullptr : utf8.data();
            return checked(VarPtr(Mat_VarCreate(name.c_str(), MAT_C_CHAR, MAT_T_UTF8, 2, dims.data(), data, 0)), name);
        }
        std::vector<std::uint16_t> units(chars.begin(), chars.end());
        return checked(VarPtr(Mat_VarCreate(name.c_str(), MAT_C_CHAR, MAT_T_UINT16, 2, dims.data(), units.data(), 0)),
                       name);
    }
    case Value::Kind::Struct:
        return create_structure(name, value, dims.data());
    case Value::Kind::Cell:
        return create_cells(name, value, dims.data());
    }
    throw std::logic_error("unknown value kind");
}

}  // namespace

void matio::write_file(const fs::path& target, const fs::path& temporary, std::span<const MatVariable> variables,
                       MatCompression compression) {
    matio::start_call();
    try {
        MatPtr mat(Mat_CreateVer(temporary.c_str(), nullptr, MAT_FT_MAT5));
        if (!mat) throw std::runtime_error(matio::with_library_reason("cannot create the MAT-file"));
        const auto mode = compression == MatCompression::Zlib ? MAT_COMPRESSION_ZLIB : MAT_COMPRESSION_NONE;
        for (const auto& variable : variables) {
            VarPtr var = create(variable.name, variable.value);
            if (Mat_VarWrite(mat.get(), var.get(), mode) != 0) {
                throw std::runtime_error(matio::with_library_reason("cannot write variable " + variable.name));
            }
        }
        if (Mat_Close(mat.release()) != 0) {
            throw std::runtime_error(matio::with_library_reason("cannot complete the MAT-file"));
        }

        // Read the directory back, so a short write never replaces a good file.
        MatPtr check(Mat_Open(temporary.c_str(), MAT_ACC_RDONLY));
        for (const auto& variable : variables) {
            if (!check || !VarPtr(Mat_VarReadInfo(check.get(), variable.name.c_str()))) {
                throw std::runtime_error("variable " + variable.name + " did not reach the file");
            }
        }
    } catch (const std::runtime_error& e) {
        fail_writing(target, e.what());
    }
}

}  // namespace dot11b::frame
