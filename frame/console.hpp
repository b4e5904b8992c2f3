#pragma once
// Where warnings and the errors caught by dispatchers are printed. The
// desktop application redirects it to its log; tests capture it.

#include <functional>
#include <string_view>

namespace dot11b::frame {

using ConsoleSink = std::function<void(std::string_view line)>;

// Replaces the sink (standard error by default); returns the previous one.
ConsoleSink set_console(ConsoleSink sink);

void print_warning(std::string_view message);
void print_error(std::string_view message);

}  // namespace dot11b::frame
