#include "frame/console.hpp"

#include <iostream>
#include <string>
#include <utility>

namespace dot11b::frame {
namespace {

ConsoleSink& sink() {
    static ConsoleSink current = [](std::string_view line) { std::cerr << line << '\n'; };
    return current;
}

}  // namespace

ConsoleSink set_console(ConsoleSink replacement) { return std::exchange(sink(), std::move(replacement)); }

void print_warning(std::string_view message) { sink()("Warning: " + std::string(message)); }

void print_error(std::string_view message) { sink()(message); }

}  // namespace dot11b::frame
