#include "keyword_options.hpp"

#include <algorithm>
#include <sstream>

#include "common/number_text.hpp"

namespace dot11b::python {
namespace {

namespace py = pybind11;

std::string type_name(const py::handle& value) { return py::str(py::type::handle_of(value).attr("__name__")); }

// The text an option value would be typed as.
std::string value_text(const py::handle& value, const std::string& where) {
    if (py::isinstance<py::bool_>(value)) return value.cast<bool>() ? "on" : "off";
    if (py::isinstance<py::str>(value)) return value.cast<std::string>();
    if (PyIndex_Check(value.ptr()) != 0) return py::str(py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr())));
    if (PyFloat_Check(value.ptr()) != 0 || py::hasattr(value, "__float__")) return number_text(py::float_(py::reinterpret_borrow<py::object>(value)));
    if (py::hasattr(value, "__fspath__")) return py::str(py::module_::import("os").attr("fspath")(value));
    throw py::type_error(where + " takes text or a number, not " + type_name(value));
}

std::string keyword_of(const std::string& option) {
    std::string keyword = option;
    std::replace(keyword.begin(), keyword.end(), '-', '_');
    return keyword;
}

const cli::OptionDescription* find_option(std::span<const cli::OptionDescription> table, const std::string& keyword) {
    if (keyword.find('-') != std::string::npos) return nullptr;
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const cli::OptionDescription& d) { return keyword_of(d.name) == keyword; });
    return found == table.end() ? nullptr : &*found;
}

std::vector<std::string> option_values(const cli::OptionDescription& option, const py::handle& value,
                                       const std::string& where) {
    const bool list = py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value);
    const bool dict = py::isinstance<py::dict>(value);
    if ((list || dict) && !option.repeatable) throw py::type_error(where + " takes one value, not a " + type_name(value));
    std::vector<std::string> values;
    if (dict) {
        // KEY=VALUE entries; the values are text as typed (hexadecimal fields
        // would read a Python int wrongly).
        for (const auto& [key, item] : value.cast<py::dict>()) {
            if (!py::isinstance<py::str>(key) || !py::isinstance<py::str>(item)) {
                throw py::type_error(where + " takes a dict of text keys and text values");
            }
            values.push_back(key.cast<std::string>() + "=" + item.cast<std::string>());
        }
    } else if (list) {
        for (const auto& item : value) values.push_back(value_text(item, where));
    } else {
        values.push_back(value_text(value, where));
    }
    return values;
}

// The value column of the help, in Python's words.
std::string value_type(const cli::OptionDescription& option) {
    if (option.flag) return "bool";
    const std::string& values = option.values;
    const auto colon = values.find(':');
    const std::string word = values.substr(0, colon);
    const std::string rest = colon == std::string::npos ? std::string() : values.substr(colon + 1);
    std::string type = word == "TEXT" ? "str" : word == "FLOAT" ? "float" : word == "INT" || word == "UINT" ? "int" : word;
    if (rest.starts_with("{")) {
        type = rest;
    } else if (!rest.empty()) {
        type += ", " + rest;
    }
    return option.repeatable ? type + ", or a list of them" : type;
}

// Options without a default in their help are off, or not given.
std::string help_with_default(const cli::OptionDescription& option) {
    if (option.help.find("(default") != std::string::npos) return option.help;
    return option.help + (option.flag ? " (default False)" : " (default None: not given)");
}

void wrap(std::ostringstream& out, const std::string& text, const std::string& indent, std::size_t width) {
    std::istringstream words(text);
    std::string word;
    std::size_t column = 0;
    while (words >> word) {
        if (column > 0 && column + 1 + word.size() > width) {
            out << '\n';
            column = 0;
        }
        out << (column == 0 ? indent : " ") << word;
        column += (column == 0 ? indent.size() : 1) + word.size();
    }
    out << '\n';
}

}  // namespace

std::vector<cli::NamedOption> named_options(const py::dict& keywords, std::span<const cli::OptionDescription> table,
                                            const char* function) {
    std::vector<cli::NamedOption> named;
    for (const auto& [key, value] : keywords) {
        const std::string keyword = py::str(key);
        const cli::OptionDescription* option = find_option(table, keyword);
        if (option == nullptr) {
            throw py::type_error(std::string(function) + "() got an unexpected keyword argument '" + keyword + "'");
        }
        if (value.is_none()) continue;
        const std::string where = std::string(function) + "(): " + keyword;
        if (option->flag) {
            if (!py::isinstance<py::bool_>(value)) throw py::type_error(where + " takes True or False, not " + type_name(value));
            if (value.cast<bool>()) named.push_back({option->name, {}});
            continue;
        }
        named.push_back({option->name, option_values(*option, value, where)});
    }
    return named;
}

std::string options_docstring(std::span<const cli::OptionDescription> table) {
    std::ostringstream out;
    for (const cli::OptionDescription& option : table) {
        out << keyword_of(option.name) << " : " << value_type(option) << '\n';
        wrap(out, help_with_default(option), "    ", 76);
    }
    return out.str();
}

}  // namespace dot11b::python
