#pragma once
// The SciPy reader used as a second, independent MAT-file implementation, and
// Values in the form it prints; temporary folders and raw file access come
// from the shared test helpers.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "common/testing/file_contents.hpp"
#include "common/testing/temporary_folder.hpp"
#include "frame/value.hpp"

namespace dot11b::app::test {

// The shared helpers, under the names these tests have always used.
using dot11b::test::read_bytes;
using dot11b::test::TemporaryFolder;
using dot11b::test::write_bytes;

// Runs one of the Python helpers beside the tests (mat_to_json.py,
// json_to_mat.py) with the system's Python and SciPy; returns its standard output.
inline std::string run_python(const std::string& script, const std::vector<std::string>& arguments,
                              const std::filesystem::path& folder) {
    const std::filesystem::path output = folder / "python-output.txt";
    std::string command =
        std::string(DOT11B_PYTHON) + " '" + (std::filesystem::path(DOT11B_APP_TEST_DIR) / script).string() + "'";
    for (const auto& argument : arguments) command += " '" + argument + "'";
    command += " > '" + output.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(output);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (status != 0) throw std::runtime_error(script + " failed: " + text);
    return text;
}

// A Value in the form mat_to_json.py prints what SciPy reads: numbers with
// their class, shape and column-major elements, text with its shape, records
// as ordered [name, value] pairs, cells as lists.
inline nlohmann::json value_json(const frame::Value& value) {
    using frame::Value;
    const nlohmann::json shape = {value.rows(), value.cols()};
    switch (value.kind()) {
    case Value::Kind::Double:
        return {{"class", "float64"},
                {"shape", shape},
                {"real", std::vector<double>(value.reals().begin(), value.reals().end())}};
    case Value::Kind::Complex: {
        std::vector<double> re;
        std::vector<double> im;
        for (const auto& z : value.complexes()) {
            re.push_back(z.real());
            im.push_back(z.imag());
        }
        return {{"class", "complex128"}, {"shape", shape}, {"real", re}, {"imag", im}};
    }
    case Value::Kind::Char:
        return {{"class", "char"}, {"shape", shape}, {"text", value.text()}};
    case Value::Kind::Struct: {
        nlohmann::json fields = nlohmann::json::array();
        for (const auto& name : value.field_names()) fields.push_back({name, value_json(value.field(name))});
        return {{"class", "struct"}, {"shape", shape}, {"fields", fields}};
    }
    case Value::Kind::Cell: {
        nlohmann::json cells = nlohmann::json::array();
        for (std::size_t i = 0; i < value.numel(); ++i) cells.push_back(value_json(value.cell_at(i)));
        return {{"class", "cell"}, {"shape", shape}, {"cells", cells}};
    }
    }
    return {};
}

}  // namespace dot11b::app::test

namespace dot11b::frame {

// Shows Values in test failures as their JSON form.
inline void PrintTo(const Value& value, std::ostream* out) { *out << app::test::value_json(value).dump(); }

}  // namespace dot11b::frame
