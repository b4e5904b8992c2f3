#include "cli/named_options/named_options.hpp"

#include <algorithm>

namespace dot11b::cli {
namespace {

const CLI::Option* long_option(const CLI::App& app, const std::string& name) {
    const CLI::Option* option = app.get_option_no_throw("--" + name);
    // A positional or a short name found by the lookup is no long option.
    if (option == nullptr || name.empty() || name.front() == '-') return nullptr;
    const auto& names = option->get_lnames();
    return std::find(names.begin(), names.end(), name) != names.end() ? option : nullptr;
}

}  // namespace

UnknownOption::UnknownOption(const std::string& name) : ConfigError("--" + name + ": no such option"), name_(name) {}

void parse_named_options(CLI::App& app, std::span<const NamedOption> options) {
    // "--name=value" keeps a value that begins with a dash (a negative
    // offset) a value; CLI11 takes the arguments last first.
    std::vector<std::string> reversed;
    for (const NamedOption& option : options) {
        if (long_option(app, option.name) == nullptr) throw UnknownOption(option.name);
        if (option.values.empty()) reversed.push_back("--" + option.name);
        for (const std::string& value : option.values) reversed.push_back("--" + option.name + "=" + value);
    }
    std::reverse(reversed.begin(), reversed.end());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        throw ConfigError(e.what());
    }
}

std::vector<OptionDescription> describe_options(const CLI::App& app) {
    std::vector<OptionDescription> described;
    for (const CLI::Option* option : app.get_options()) {
        if (option == app.get_help_ptr() || option->get_lnames().empty()) continue;
        const bool flag = option->get_expected_min() == 0;
        described.push_back({option->get_lnames().front(), flag, !flag && option->get_expected_max() > 1,
                             flag ? std::string() : option->get_type_name(), option->get_description()});
    }
    return described;
}

}  // namespace dot11b::cli
