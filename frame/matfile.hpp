#pragma once
// Level 5 MAT-files (the format of the parameter, configuration and Save Wave
// files) read into and written from Values, over libmatio. The libmatio side
// is a module (matfile_module.hpp) loaded on the first call, so a program
// that touches no MAT-file never loads libmatio and its dependencies; when it
// cannot be loaded, each function throws IoError naming the path and why.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/durable_file.hpp"
#include "frame/value.hpp"

namespace dot11b::frame {

struct MatVariable {
    std::string name;
    Value value;
};

enum class MatCompression {
    Zlib,  // each variable compressed, as MATLAB's default format 7 writes them
    None,  // uncompressed, as format 6
};

// Writes the variables, in order, as a Level 5 MAT-file into the temporary
// file of `file` and reads its directory back; the caller commits. ASCII text
// is written as UTF-8, other text as UTF-16. Throws IoError naming the target.
void write_mat_file(DurableFile& file, std::span<const MatVariable> variables,
                    MatCompression compression = MatCompression::Zlib);

// The same, replacing `path` durably: a failure leaves any earlier file untouched.
void write_mat_file(const std::filesystem::path& path, std::span<const MatVariable> variables,
                    MatCompression compression = MatCompression::Zlib);

// Reads the named variables of a Level 5 MAT-file, treating the file as
// untrusted: the header and the structure of every data element are checked
// first (mat_structure.hpp), only the named variables are read, and each one's class, rank, dimensions and complexity are checked
// before its data is used. Variables the file does not hold are left out; the
// rest come in the order of `names`. Numeric arrays of any class, logical
// arrays included, become double or complex matrices; character arrays become
// text. Throws IoError naming the path and what is wrong: a file that cannot
// be read or is not a Level 5 MAT-file, or a variable that is not a 2-D
// numeric, character, structure or cell array or exceeds the size limits.
std::vector<MatVariable> read_mat_file(const std::filesystem::path& path, std::span<const std::string_view> names);

// Whether the file opens as a MAT-file holding at least one variable.
bool mat_file_holds_variables(const std::filesystem::path& path);

// The most elements (numbers, characters, structure fields and cells counted
// together) that one variable may hold, and the deepest nesting of
// structures and cells, when read.
inline constexpr std::size_t kMaxMatElements = std::size_t{1} << 22;
inline constexpr int kMaxMatNesting = 16;

}  // namespace dot11b::frame
