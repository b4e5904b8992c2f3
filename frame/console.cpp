#include "frame/console.hpp"

#include <iostream>
#include <utility>

namespace dot11b::frame {
namespace {

ConsoleSink& sink() {
    static ConsoleSink current = [](std::string_view line) { std::cerr << line << '\n'; };
    return current;
}

ConsoleWatcher& watcher() {
    static ConsoleWatcher current;
    return current;
}

void print(ConsoleKind kind, std::string_view line, std::string_view message) {
    sink()(line);
    // Copied: a watcher may replace itself while it runs.
    if (const ConsoleWatcher watch = watcher()) watch(kind, message);
}

}  // namespace

ConsoleSink set_console(ConsoleSink replacement) { return std::exchange(sink(), std::move(replacement)); }

ConsoleWatcher set_console_watcher(ConsoleWatcher replacement) {
    return std::exchange(watcher(), std::move(replacement));
}

void print_warning(std::string_view message) {
    print(ConsoleKind::Warning, "Warning: " + std::string(message), message);
}

void print_error(std::string_view message) { print(ConsoleKind::Error, message, message); }

void print_note(std::string_view message) { print(ConsoleKind::Note, message, message); }

ErrorWatch::ErrorWatch() {
    previous_ = set_console_watcher([this](ConsoleKind kind, std::string_view message) {
        if (kind == ConsoleKind::Error) last_error_ = std::string(message);
        if (previous_) previous_(kind, message);
    });
}

ErrorWatch::~ErrorWatch() { set_console_watcher(std::move(previous_)); }

}  // namespace dot11b::frame
