#pragma once
// Command-line options handed over by a program as names and values rather
// than typed: the Python module's keyword arguments. They are parsed by the
// tool's own option table, so every check, default and message is the
// command line's.

#include <span>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "common/errors.hpp"

namespace dot11b::cli {

struct NamedOption {
    std::string name;                 // the long option without its dashes: "ramp-time"
    std::vector<std::string> values;  // as they would be typed, one per occurrence; none for a set flag
};

// A name that is not one of the table's long options.
class UnknownOption : public ConfigError {
public:
    explicit UnknownOption(const std::string& name);
    const std::string& name() const { return name_; }

private:
    std::string name_;
};

// Parses `options` with `app`'s table as the command line parses
// "--name=value" for each value. Throws UnknownOption for a name the table
// lacks, ConfigError with the parser's message for a value it refuses.
void parse_named_options(CLI::App& app, std::span<const NamedOption> options);

struct OptionDescription {
    std::string name;    // without dashes
    bool flag = false;   // takes no value
    bool repeatable = false;
    std::string values;  // what it takes, as the help shows it: "TEXT:{1,2,5.5,11,22,33}"
    std::string help;    // the help text, with its default
};

// The long options of `app` in the order of its help, --help left out.
std::vector<OptionDescription> describe_options(const CLI::App& app);

}  // namespace dot11b::cli
