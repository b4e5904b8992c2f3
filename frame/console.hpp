#pragma once
// Where warnings, notes and the errors caught by dispatchers are printed.
// The sink writes the lines (standard error by default; tests capture them);
// a watcher is also told of each message and its kind, which the desktop
// application uses to show the last one in a status bar.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace dot11b::frame {

using ConsoleSink = std::function<void(std::string_view line)>;

// Replaces the sink (standard error by default); returns the previous one.
ConsoleSink set_console(ConsoleSink sink);

enum class ConsoleKind { Error, Warning, Note };
using ConsoleWatcher = std::function<void(ConsoleKind kind, std::string_view message)>;

// Replaces the watcher (none by default); returns the previous one.
ConsoleWatcher set_console_watcher(ConsoleWatcher watcher);

void print_warning(std::string_view message);
void print_error(std::string_view message);
// What the program did with the user's entry (a value clamped or refused).
void print_note(std::string_view message);

// The last error printed while it lives; every message still reaches the
// sink and the watcher that were there before. For callers of a dispatcher,
// which prints an error instead of passing it on.
class ErrorWatch {
public:
    ErrorWatch();
    ~ErrorWatch();
    ErrorWatch(const ErrorWatch&) = delete;
    ErrorWatch& operator=(const ErrorWatch&) = delete;

    const std::optional<std::string>& last_error() const { return last_error_; }

private:
    ConsoleWatcher previous_;
    std::optional<std::string> last_error_;
};

}  // namespace dot11b::frame
